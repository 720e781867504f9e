// The C and C++ runtime libraries linked into corvane.exe call a few kernel32
// functions that Windows 95, 98 and ME export only as failing stubs
// (CreateSemaphoreW, GetModuleHandleW, LoadLibraryW) or that the import
// review could not place on Windows 95 (IsDBCSLeadByteEx). They reach them
// through import slots (__imp_ pointers); defining those slots here, in an
// object the linker always takes, points the calls at the ANSI stand-ins and
// keeps the functions out of the program's import table. The import review
// (docs/imports.tsv) fails if any of them comes back.
#include "platform/win32/AnsiImports.h"

#if defined(__i386__)
// stdcall import slots carry the argument bytes in their names.
#define CORVANE_IMPORT_SLOT(function, bytes) "__imp__" #function "@" #bytes
#else
#define CORVANE_IMPORT_SLOT(function, bytes) "__imp_" #function
#endif

extern "C" {
decltype(&::CreateSemaphoreW) corvane_slot_CreateSemaphoreW
    asm(CORVANE_IMPORT_SLOT(CreateSemaphoreW, 16)) = &corvane::win32::CreateSemaphoreViaAnsi;
decltype(&::GetModuleHandleW) corvane_slot_GetModuleHandleW
    asm(CORVANE_IMPORT_SLOT(GetModuleHandleW, 4)) = &corvane::win32::GetModuleHandleViaAnsi;
decltype(&::LoadLibraryW) corvane_slot_LoadLibraryW
    asm(CORVANE_IMPORT_SLOT(LoadLibraryW, 4)) = &corvane::win32::LoadLibraryViaAnsi;
decltype(&::IsDBCSLeadByteEx) corvane_slot_IsDBCSLeadByteEx
    asm(CORVANE_IMPORT_SLOT(IsDBCSLeadByteEx, 8)) = &corvane::win32::IsDBCSLeadByteViaCpInfo;
}
