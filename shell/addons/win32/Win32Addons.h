// The system side of mdlAddons: the system's folders, applet processes
// started with CreateProcessA and the show state given (WinExec's behaviour,
// without its 16-bit heritage and its search for the program), and the token
// and shutdown calls.
#pragma once

#include <windows.h>

#include "platform/win32/Handle.h"
#include "shell/addons/mdlAddons.h"

namespace corvane::shell {

class Win32ProcessStarter final : public IProcessStarter {
 public:
  SystemFolders Folders() override;
  bool FileExists(const std::string& path) override;
  // CreateProcessA with the program as its application name, so that no
  // folder is searched. Returns the new process's identifier; its handles
  // are closed at once, nothing waits for the applet.
  std::uint32_t StartProcess(const std::string& program, const std::string& commandLine,
                             int showState) override;
};

class Win32ShutdownApi final : public IShutdownApi {
 public:
  bool OpenProcessToken(std::uint32_t access) override;
  bool LookupPrivilegeValue(std::string_view privilegeName) override;
  bool AdjustTokenPrivileges(std::uint32_t attributes, std::uint32_t previousStateSize) override;
  void CloseToken() override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;

 private:
  win32::UniqueHandleNull token_;
  LUID luid_{};
};

// The program-wide module, over the two above.
mdlAddons& SystemAddons();

}  // namespace corvane::shell
