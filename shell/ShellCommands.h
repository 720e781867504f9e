// The main window's command table (the command texts the movie sends and
// what each one does) and the feature table, one row per feature window.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "platform/ui/Layout.h"
#include "platform/ui/StoredSettings.h"

// The feature windows' layouts and stored values, each declared in its
// feature's header (the declarations there are checked against these in
// ShellCommands.cpp).
namespace corvane {
const ui::Layout& WizardModeLayout();
const ui::Layout& BackUpLayout();
const ui::Layout& NetPingerLayout();
std::span<const ui::Stored> NetPingerStoredSettings();
extern const ui::Layout kNormalModeLayout;
namespace memory {
extern const ui::Layout kSystemStatusLayout;
extern const ui::Layout kRamConfigurationLayout;
std::span<const ui::Stored> RamSettingsStored();
}  // namespace memory
namespace shell {
extern const ui::Layout kMainSettingsLayout;
std::span<const ui::Stored> MainSettingsStored();
}  // namespace shell
}  // namespace corvane

namespace corvane::shell {

// The feature window set, in the order in which the main window handles it
// (the order of kFeatureTable's rows).
enum class Feature {
  WizardMode,         // frmWizardMode
  NormalMode,         // frmNormalMode, the advanced editor
  BackUp,             // frmBackUp
  NetPingerSettings,  // frmNetPingerSettings
  SystemStatus,       // frmSystemStatus
  RamConfiguration,   // frmRamConfiguration
  MainSettings,       // frmMainSettings
};

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

// A layout as the row names it: a layout table defined elsewhere, or the
// function that returns one.
using LayoutSource = const ui::Layout& (*)();
template <const ui::Layout& layout>
constexpr const ui::Layout& LayoutOf() {
  return layout;
}
// The values a window keeps in the registry (platform/ui/StoredSettings.h),
// each named by its control in the layout.
using StoredSource = std::span<const ui::Stored> (*)();

// The one row that declares a feature window, in set order: the command
// that shows it; its layout, which gives the window's name (layout.name),
// caption and the child frame's size for it; its stored values (nullptr:
// none, or kept otherwise than as a table); its places in the start-up
// load (0: made on its first command instead), in the unloads of
// "IDC_FS_close", and in those of the exit sequence and "IDC_FS_restart"
// (the status window last). A feature whose command reloads it is unloaded
// and loaded again by that command, its BeforeShow running in between;
// every other feature's BeforeShow runs before it is shown by its command.
struct FeatureRow {
  Feature feature;
  ShellCommand command;
  LayoutSource layout;
  StoredSource stored;
  int startUpLoad;
  int closeUnload;
  int exitUnload;
  bool reloadedByCommand;
};

inline constexpr auto kFeatureTable = std::to_array<FeatureRow>({
    {Feature::WizardMode, ShellCommand::WizardMode, &WizardModeLayout, nullptr, 1, 1, 1, false},
    {Feature::NormalMode, ShellCommand::NormalMode, &LayoutOf<kNormalModeLayout>, nullptr, 0, 2, 2, true},
    {Feature::BackUp, ShellCommand::BackupManager, &BackUpLayout, nullptr, 2, 3, 3, false},
    {Feature::NetPingerSettings, ShellCommand::PingSetting, &NetPingerLayout,
     &NetPingerStoredSettings, 3, 4, 4, false},
    {Feature::SystemStatus, ShellCommand::SystemStatus, &LayoutOf<memory::kSystemStatusLayout>, nullptr, 4, 5, 7, false},
    {Feature::RamConfiguration, ShellCommand::RamConfig, &LayoutOf<memory::kRamConfigurationLayout>,
     &memory::RamSettingsStored, 5, 6, 5, false},
    {Feature::MainSettings, ShellCommand::Settings, &LayoutOf<kMainSettingsLayout>, &MainSettingsStored, 6, 7, 6, false},
});

// How many feature windows there are: the table's rows.
inline constexpr std::size_t kFeatureCount = kFeatureTable.size();

// Each row stands at its feature's place, so that a feature finds its row
// by its value.
constexpr bool RowsInFeatureOrder() {
  for (std::size_t i = 0; i < kFeatureCount; ++i) {
    if (static_cast<std::size_t>(kFeatureTable[i].feature) != i) return false;
  }
  return true;
}
static_assert(RowsInFeatureOrder(), "kFeatureTable lists the features in the Feature enum's order");

constexpr const FeatureRow& FeatureRowOf(Feature feature) {
  return kFeatureTable[static_cast<std::size_t>(feature)];
}

// The whole set, in set order.
inline constexpr auto kFeatureWindowSet = [] {
  std::array<Feature, kFeatureCount> set{};
  for (std::size_t i = 0; i < kFeatureCount; ++i) set[i] = kFeatureTable[i].feature;
  return set;
}();

// How many rows have a place in that order.
constexpr std::size_t PlacesIn(int FeatureRow::*place) {
  std::size_t count = 0;
  for (const FeatureRow& row : kFeatureTable) count += row.*place > 0 ? 1 : 0;
  return count;
}

// The features in the order of one of the row's places (rows with 0 left
// out).
template <int FeatureRow::*place>
constexpr auto FeatureOrder() {
  std::array<Feature, PlacesIn(place)> order{};
  for (const FeatureRow& row : kFeatureTable) {
    int at = row.*place;
    if (at > 0 && static_cast<std::size_t>(at) <= order.size()) order[static_cast<std::size_t>(at - 1)] = row.feature;
  }
  return order;
}

// The order in which "IDC_FS_close" unloads the set, and the order in which
// the exit sequence and "IDC_FS_restart" do.
inline constexpr auto kCloseUnloadOrder = FeatureOrder<&FeatureRow::closeUnload>();
inline constexpr auto kExitUnloadOrder = FeatureOrder<&FeatureRow::exitUnload>();
// The feature windows that start-up loads hidden, in that order.
inline constexpr auto kStartUpLoadOrder = FeatureOrder<&FeatureRow::startUpLoad>();

// The design's twips per pixel: a layout in twips gives the child frame's
// size in pixels at this scale.
inline constexpr int kDesignTwipsPerPixel = 15;

// The child frame's size in pixels for a feature: its layout's size.
FrameSize FrameSizeOf(Feature feature);
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
