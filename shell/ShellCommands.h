// The main window's command table: the command texts the movie sends, what
// each one does, and the size the child frame takes for each feature.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace corvane::shell {

// The feature window set, in the order in which the main window handles it.
enum class Feature {
  WizardMode,         // frmWizardMode
  NormalMode,         // frmNormalMode, the advanced editor
  BackUp,             // frmBackUp
  NetPingerSettings,  // frmNetPingerSettings
  SystemStatus,       // frmSystemStatus
  RamConfiguration,   // frmRamConfiguration
  MainSettings,       // frmMainSettings
};

inline constexpr std::array<Feature, 7> kFeatureWindowSet{
    Feature::WizardMode,   Feature::NormalMode,       Feature::BackUp,
    Feature::NetPingerSettings, Feature::SystemStatus, Feature::RamConfiguration,
    Feature::MainSettings};

// The window's name, as the program knows it ("frmWizardMode", ...).
std::string_view FeatureName(Feature feature);

enum class SystemShortcut { InternetProperties, SystemProperties, ModemSettings, NetworkSettings };

enum class ShellCommand {
  Minimize,
  About,
  CloseAbout,
  Main,
  Close,
  Tray,
  Home,
  Settings,
  Help,
  Drag,
  Hide,
  WizardMode,
  NormalMode,
  BackupManager,
  PingSetting,
  SystemStatus,
  RamConfig,
  InternetProperties,
  SystemSetting,
  ModemSetting,
  NetworkSetting,
  Restart,
  SysSettingClicked,
};

struct CommandEntry {
  std::string_view text;  // as the movie sends it, spelling included
  ShellCommand command;
};

// The table in its order; the first entry whose text equals the command
// runs.
extern const std::array<CommandEntry, 23> kCommandTable;

// Compares case-sensitively and as a whole; any other text (including
// "idc_fs_home" and the empty text) is no command.
std::optional<ShellCommand> LookUpCommand(std::string_view text);
std::string_view CommandText(ShellCommand command);

struct FrameSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// The facts of each feature window, one row each, in set order: its name,
// the command that shows it, the child frame's size in pixels for it, and
// its places in the start-up load (0: made on its first command instead),
// in the unloads of "IDC_FS_close", and in those of the exit sequence and
// "IDC_FS_restart" (the status window last). A feature whose command
// reloads it is unloaded and loaded again by that command, its BeforeShow
// running in between; every other feature's BeforeShow runs before it is
// shown by its command.
struct FeatureRow {
  Feature feature;
  std::string_view windowName;
  ShellCommand command;
  FrameSize frame;
  int startUpLoad;
  int closeUnload;
  int exitUnload;
  bool reloadedByCommand;
};

inline constexpr std::array<FeatureRow, 7> kFeatureTable{{
    {Feature::WizardMode, "frmWizardMode", ShellCommand::WizardMode, {440, 250}, 1, 1, 1, false},
    {Feature::NormalMode, "frmNormalMode", ShellCommand::NormalMode, {440, 252}, 0, 2, 2, true},
    {Feature::BackUp, "frmBackUp", ShellCommand::BackupManager, {440, 246}, 2, 3, 3, false},
    {Feature::NetPingerSettings, "frmNetPingerSettings", ShellCommand::PingSetting, {440, 244}, 3, 4, 4, false},
    {Feature::SystemStatus, "frmSystemStatus", ShellCommand::SystemStatus, {440, 255}, 4, 5, 7, false},
    {Feature::RamConfiguration, "frmRamConfiguration", ShellCommand::RamConfig, {440, 240}, 5, 6, 5, false},
    {Feature::MainSettings, "frmMainSettings", ShellCommand::Settings, {460, 245}, 6, 7, 6, false},
}};

constexpr const FeatureRow& FeatureRowOf(Feature feature) {
  return kFeatureTable[static_cast<std::size_t>(feature)];
}

// The features in the order of one of the row's places (rows with 0 left
// out).
template <std::size_t N>
constexpr std::array<Feature, N> FeatureOrder(int FeatureRow::*place) {
  std::array<Feature, N> order{};
  for (const FeatureRow& row : kFeatureTable) {
    int at = row.*place;
    if (at > 0 && static_cast<std::size_t>(at) <= N) order[static_cast<std::size_t>(at - 1)] = row.feature;
  }
  return order;
}

// The order in which "IDC_FS_close" unloads the set, and the order in which
// the exit sequence and "IDC_FS_restart" do.
inline constexpr auto kCloseUnloadOrder = FeatureOrder<7>(&FeatureRow::closeUnload);
inline constexpr auto kExitUnloadOrder = FeatureOrder<7>(&FeatureRow::exitUnload);
// The six feature windows that start-up loads hidden, in that order.
inline constexpr auto kStartUpLoadOrder = FeatureOrder<6>(&FeatureRow::startUpLoad);

// The child frame's size in pixels for the command that shows a feature in
// it; nothing for every other command.
std::optional<FrameSize> FrameSizeFor(ShellCommand command);
// The feature a command shows in the child frame, if any.
std::optional<Feature> FeatureShownBy(ShellCommand command);
std::optional<SystemShortcut> ShortcutRunBy(ShellCommand command);

// The child frame's place in the main window: left 2715, top 1560 twips.
inline constexpr int kFrameLeftTwips = 2715;
inline constexpr int kFrameTopTwips = 1560;

}  // namespace corvane::shell
