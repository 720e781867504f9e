#include "shell/addons/mdlAddons.h"

namespace corvane::shell {

std::optional<std::string> NetworkSettingsCommandLine(OsFamily family) {
  if (Is9xFamily(family)) return std::string(addons::kNetworkSettings9x);
  if (IsNtFamily(family)) return std::string(addons::kNetworkSettingsNt);
  return std::nullopt;
}

std::uint32_t mdlAddons::OpenInternetProperties() {
  return processes_.StartProcess(addons::kInternetProperties, kShowStateShow);
}

std::uint32_t mdlAddons::OpenSystemProperties() {
  return processes_.StartProcess(addons::kSystemProperties, kShowStateShow);
}

std::uint32_t mdlAddons::OpenModemSettings() {
  return processes_.StartProcess(addons::kModemSettings, kShowStateShow);
}

std::uint32_t mdlAddons::OpenNetworkSettings(OsFamily family) {
  auto commandLine = NetworkSettingsCommandLine(family);
  if (!commandLine) return 0;
  return processes_.StartProcess(*commandLine, kShowStateShow);
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
