// Stand-ins for the few wide-character and later kernel32 functions that the
// C and C++ runtime libraries call (the thread mutexes, the locale's code
// page lookup, rand_s, mbrtowc). Windows 95, 98 and ME export the wide
// functions only as stubs that fail, and one import the system lacks stops
// corvane.exe from loading at all; these do the same work with the ANSI
// functions and GetCPInfo, which every 32-bit Windows has.
// corvane.exe routes the runtime's imports to them (AnsiImportRoutes.cpp).
#pragma once

#include <windows.h>

namespace corvane::win32 {

// Names must be plain ASCII (the runtime only ever asks for "msvcrt.dll",
// "advapi32.dll" and unnamed semaphores); any other name fails with
// ERROR_INVALID_NAME.
HANDLE WINAPI CreateSemaphoreViaAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initial,
                                     LONG maximum, LPCWSTR name);
HMODULE WINAPI GetModuleHandleViaAnsi(LPCWSTR name);
HMODULE WINAPI LoadLibraryViaAnsi(LPCWSTR name);
// IsDBCSLeadByteEx from the code page's lead-byte ranges.
BOOL WINAPI IsDBCSLeadByteViaCpInfo(UINT codePage, BYTE byte);

}  // namespace corvane::win32
