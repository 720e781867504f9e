// The system shortcuts: four control-panel pages started as applet
// processes, and the Windows restart. The command lines and the order of the
// privilege and shutdown calls are fixed here; the Win32 side
// (win32/Win32Addons.h) starts processes and calls advapi32 / user32.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/OsVersion.h"

namespace corvane::shell {

inline constexpr int kShowStateShow = 5;  // SW_SHOW

// Where the running Windows keeps its own programs.
struct SystemFolders {
  bool ntPlatform = false;  // the NT family (VER_PLATFORM_WIN32_NT)
  std::string windows;      // GetWindowsDirectoryA
  std::string system;       // GetSystemDirectoryA
};

// Starts a program as a new process, as WinExec does: returns at once with
// the new task's identifier, 0 when nothing was started.
class IProcessStarter {
 public:
  virtual ~IProcessStarter() = default;
  virtual SystemFolders Folders() = 0;
  // Whether a file exists at that full path.
  virtual bool FileExists(const std::string& path) = 0;
  // `program` is the full path of the program file, which is started as it
  // is (no folder is searched for it); `commandLine` is what it is given.
  virtual std::uint32_t StartProcess(const std::string& program, const std::string& commandLine,
                                     int showState) = 0;
};

// The system's own rundll32.exe: on 95/98/ME in the Windows folder, where
// those versions keep it (or in the system folder when it is not there), on
// the NT family in the system folder; empty when no such folder is known.
// Only this file is ever started for a shortcut, never a rundll32.exe that
// lies in the program's folder or the current one.
std::string Rundll32Path(const SystemFolders& folders,
                         const std::function<bool(const std::string&)>& fileExists);

// The calls that the restart makes, in their Windows shape.
class IShutdownApi {
 public:
  virtual ~IShutdownApi() = default;
  // OpenProcessToken of the current process with the access mask.
  virtual bool OpenProcessToken(std::uint32_t access) = 0;
  // LookupPrivilegeValueA on the local system (empty system name).
  virtual bool LookupPrivilegeValue(std::string_view privilegeName) = 0;
  // AdjustTokenPrivileges with one entry (the looked-up identifier) and the
  // attributes; disableAll FALSE; a previous-state buffer of that size.
  virtual bool AdjustTokenPrivileges(std::uint32_t attributes, std::uint32_t previousStateSize) = 0;
  // Closes the token if one was opened.
  virtual void CloseToken() = 0;
  virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
};

namespace addons {
inline constexpr char kInternetProperties[] = "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0";
inline constexpr char kSystemProperties[] = "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0";
inline constexpr char kModemSettings[] = "rundll32.exe shell32.dll,Control_RunDLL modem.cpl";
inline constexpr char kNetworkSettings9x[] = "rundll32.exe shell32.dll,Control_RunDLL netcpl.cpl";
inline constexpr char kNetworkSettingsNt[] = "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl";

inline constexpr std::uint32_t kTokenAdjustPrivilegesQuery = 0x28;  // ADJUST_PRIVILEGES | QUERY
inline constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";
inline constexpr std::uint32_t kPrivilegeEnabled = 2;  // SE_PRIVILEGE_ENABLED
inline constexpr std::uint32_t kPreviousStateSize = 16;
inline constexpr std::uint32_t kExitReboot = 2;  // EWX_REBOOT
inline constexpr std::uint32_t kExitReserved = 0xFFFFFFFFu;
}  // namespace addons

// The network page of the running family: netcpl on 95/98/ME, ncpa on the
// NT family, none while the family is unknown.
std::optional<std::string> NetworkSettingsCommandLine(OsFamily family);

// The module mdlAddons. Each shortcut returns the started task's identifier
// (0 when nothing was started); no caller needs it.
class mdlAddons {
 public:
  mdlAddons(IProcessStarter& processes, IShutdownApi& shutdown)
      : processes_(processes), shutdown_(shutdown) {}

  std::uint32_t OpenInternetProperties();
  std::uint32_t OpenSystemProperties();
  std::uint32_t OpenModemSettings();
  std::uint32_t OpenNetworkSettings(OsFamily family = currentOsFamily);

  // Enables the shutdown privilege of the process token. The results are
  // not examined: on 95/98/ME these calls do nothing and the restart works
  // without them.
  void EnableShutdownPrivilege();
  // Asks Windows to restart; non-zero on success.
  bool RestartWindows();

 private:
  std::uint32_t StartApplet(const std::string& commandLine);

  IProcessStarter& processes_;
  IShutdownApi& shutdown_;
};

}  // namespace corvane::shell
