#include "platform/win32/AnsiImports.h"

#include <string>

namespace corvane::win32 {

namespace {

// Windows 9x has no wide file or object names; ASCII is the part that means
// the same in every ANSI code page.
bool AsciiName(LPCWSTR wide, std::string& ascii) {
  ascii.clear();
  for (; *wide != L'\0'; ++wide) {
    if (*wide > 0x7F) return false;
    ascii.push_back(static_cast<char>(*wide));
  }
  return true;
}

}  // namespace

HANDLE WINAPI CreateSemaphoreViaAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initial,
                                     LONG maximum, LPCWSTR name) {
  if (name == nullptr) return ::CreateSemaphoreA(attributes, initial, maximum, nullptr);
  std::string ascii;
  if (!AsciiName(name, ascii)) {
    ::SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  return ::CreateSemaphoreA(attributes, initial, maximum, ascii.c_str());
}

HMODULE WINAPI GetModuleHandleViaAnsi(LPCWSTR name) {
  if (name == nullptr) return ::GetModuleHandleA(nullptr);
  std::string ascii;
  if (!AsciiName(name, ascii)) {
    ::SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  return ::GetModuleHandleA(ascii.c_str());
}

HMODULE WINAPI LoadLibraryViaAnsi(LPCWSTR name) {
  std::string ascii;
  if (name == nullptr || !AsciiName(name, ascii)) {
    ::SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  return ::LoadLibraryA(ascii.c_str());
}

BOOL WINAPI IsDBCSLeadByteViaCpInfo(UINT codePage, BYTE byte) {
  CPINFO info{};
  if (!::GetCPInfo(codePage, &info)) return FALSE;
  // Pairs of inclusive ranges, ended by a pair of zero bytes.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    if (byte >= info.LeadByte[i] && byte <= info.LeadByte[i + 1]) return TRUE;
  }
  return FALSE;
}

}  // namespace corvane::win32
