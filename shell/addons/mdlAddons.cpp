#include "shell/addons/mdlAddons.h"

namespace corvane::shell {

std::optional<std::string> NetworkSettingsCommandLine(OsFamily family) {
  if (Is9xFamily(family)) return std::string(addons::kNetworkSettings9x);
  if (IsNtFamily(family)) return std::string(addons::kNetworkSettingsNt);
  return std::nullopt;
}

std::string Rundll32Path(const SystemFolders& folders,
                         const std::function<bool(const std::string&)>& fileExists) {
  auto in = [](std::string folder) {
    if (folder.empty()) return folder;
    if (folder.back() != '\\') folder += '\\';
    return folder + "rundll32.exe";
  };
  std::string system = in(folders.system);
  if (folders.ntPlatform) return system;
  std::string windows = in(folders.windows);
  if (windows.empty() || (!system.empty() && !fileExists(windows) && fileExists(system))) {
    return system;
  }
  return windows;
}

std::uint32_t mdlAddons::StartApplet(const std::string& commandLine) {
  // The command line names rundll32.exe bare; the file started is the
  // system's own, by its full path.
  std::string program = Rundll32Path(
      processes_.Folders(), [this](const std::string& path) { return processes_.FileExists(path); });
  if (program.empty()) return 0;
  return processes_.StartProcess(program, commandLine, kShowStateShow);
}

std::uint32_t mdlAddons::OpenInternetProperties() {
  return StartApplet(addons::kInternetProperties);
}

std::uint32_t mdlAddons::OpenSystemProperties() { return StartApplet(addons::kSystemProperties); }

std::uint32_t mdlAddons::OpenModemSettings() { return StartApplet(addons::kModemSettings); }

std::uint32_t mdlAddons::OpenNetworkSettings(OsFamily family) {
  auto commandLine = NetworkSettingsCommandLine(family);
  if (!commandLine) return 0;
  return StartApplet(*commandLine);
}

void mdlAddons::EnableShutdownPrivilege() {
  // Each step goes on whatever the previous one answered, as the restart
  // must also be asked for where there is no token to adjust.
  (void)shutdown_.OpenProcessToken(addons::kTokenAdjustPrivilegesQuery);
  (void)shutdown_.LookupPrivilegeValue(addons::kShutdownPrivilege);
  (void)shutdown_.AdjustTokenPrivileges(addons::kPrivilegeEnabled, addons::kPreviousStateSize);
  shutdown_.CloseToken();
}

bool mdlAddons::RestartWindows() {
  EnableShutdownPrivilege();
  return shutdown_.ExitWindowsEx(addons::kExitReboot, addons::kExitReserved);
}

}  // namespace corvane::shell
