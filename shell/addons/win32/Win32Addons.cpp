#include "shell/addons/win32/Win32Addons.h"

#include <string>

#include "platform/win32/Win32OsVersion.h"

namespace corvane::shell {

namespace {

std::string Folder(UINT (WINAPI* get)(LPSTR, UINT)) {
  char buffer[MAX_PATH + 1] = {};
  UINT length = get(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return std::string(buffer, length);
}

// Windows 95, 98 and ME have no access tokens. Their advapi32.dll is not
// documented to export the token functions at all, so they are looked up at
// run time: where one is missing the call fails with
// ERROR_CALL_NOT_IMPLEMENTED, as the NT-only functions do on those systems,
// and the restart goes on with ExitWindowsEx alone.
template <typename Function>
Function Advapi32Function(const char* name) {
  HMODULE advapi32 = ::GetModuleHandleA("advapi32.dll");
  FARPROC found = advapi32 != nullptr ? ::GetProcAddress(advapi32, name) : nullptr;
  if (found == nullptr) ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  // Through the generic function type, which converts to any other.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using LookupPrivilegeValueFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
using AdjustTokenPrivilegesFunction = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD,
                                                     PTOKEN_PRIVILEGES, PDWORD);

}  // namespace

SystemFolders Win32ProcessStarter::Folders() {
  SystemFolders folders;
  folders.ntPlatform = IsNtPlatform(win32::Win32OsVersion());
  folders.windows = Folder(&::GetWindowsDirectoryA);
  folders.system = Folder(&::GetSystemDirectoryA);
  return folders;
}

bool Win32ProcessStarter::FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint32_t Win32ProcessStarter::StartProcess(const std::string& program,
                                                const std::string& commandLine, int showState) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION process{};
  std::string mutableLine = commandLine;  // CreateProcessA may write into it
  if (!::CreateProcessA(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return 0;
  }
  win32::UniqueHandleNull thread(process.hThread);
  win32::UniqueHandleNull handle(process.hProcess);
  return process.dwProcessId;
}

bool Win32ShutdownApi::OpenProcessToken(std::uint32_t access) {
  HANDLE token = nullptr;
  auto openProcessToken = Advapi32Function<OpenProcessTokenFunction>("OpenProcessToken");
  bool ok = openProcessToken != nullptr &&
            openProcessToken(::GetCurrentProcess(), access, &token) != FALSE;
  token_.reset(ok ? token : nullptr);
  return ok;
}

bool Win32ShutdownApi::LookupPrivilegeValue(std::string_view privilegeName) {
  std::string name(privilegeName);
  auto lookupPrivilegeValue =
      Advapi32Function<LookupPrivilegeValueFunction>("LookupPrivilegeValueA");
  return lookupPrivilegeValue != nullptr &&
         lookupPrivilegeValue("", name.c_str(), &luid_) != FALSE;
}

bool Win32ShutdownApi::AdjustTokenPrivileges(std::uint32_t attributes,
                                             std::uint32_t previousStateSize) {
  TOKEN_PRIVILEGES wanted{};
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Luid = luid_;
  wanted.Privileges[0].Attributes = attributes;
  // One entry of previous state is 16 bytes: count, LUID, attributes.
  alignas(TOKEN_PRIVILEGES) unsigned char previous[sizeof(TOKEN_PRIVILEGES) + 16] = {};
  DWORD size = previousStateSize <= sizeof previous ? previousStateSize : sizeof previous;
  DWORD needed = 0;
  auto adjustTokenPrivileges =
      Advapi32Function<AdjustTokenPrivilegesFunction>("AdjustTokenPrivileges");
  return adjustTokenPrivileges != nullptr &&
         adjustTokenPrivileges(token_.get(), FALSE, &wanted, size,
                               reinterpret_cast<PTOKEN_PRIVILEGES>(previous), &needed) != FALSE;
}

void Win32ShutdownApi::CloseToken() { token_.reset(); }

bool Win32ShutdownApi::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  return ::ExitWindowsEx(flags, reserved) != FALSE;
}

mdlAddons& SystemAddons() {
  static Win32ProcessStarter processes;
  static Win32ShutdownApi shutdown;
  static mdlAddons module(processes, shutdown);
  return module;
}

}  // namespace corvane::shell
