// The main window's command table: the command texts the movie sends, what
// each one does, and the size the child frame takes for each feature.
#pragma once

#include <array>
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

// The order in which "IDC_FS_close" unloads the set, and the order in which
// the exit sequence and "IDC_FS_restart" do (the status window last).
inline constexpr std::array<Feature, 7> kCloseUnloadOrder = kFeatureWindowSet;
inline constexpr std::array<Feature, 7> kExitUnloadOrder{
    Feature::WizardMode,   Feature::NormalMode,       Feature::BackUp,
    Feature::NetPingerSettings, Feature::RamConfiguration, Feature::MainSettings,
    Feature::SystemStatus};

// The six feature windows that start-up loads hidden, in that order; the
// advanced editor is created on its first command instead.
inline constexpr std::array<Feature, 6> kStartUpLoadOrder{
    Feature::WizardMode,   Feature::BackUp,           Feature::NetPingerSettings,
    Feature::SystemStatus, Feature::RamConfiguration, Feature::MainSettings};

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
