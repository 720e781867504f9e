#include "shell/ShellDispatcher.h"

namespace corvane::shell {

TrayNotification TrayNotificationFor(int screenWidthTwips, int screenHeightTwips,
                                     int twipsPerPixelX, int twipsPerPixelY) {
  TrayNotification n;
  float tppX = twipsPerPixelX > 0 ? static_cast<float>(twipsPerPixelX) : 15.0f;
  float tppY = twipsPerPixelY > 0 ? static_cast<float>(twipsPerPixelY) : 15.0f;
  n.X = static_cast<float>(screenWidthTwips) / tppX - 40.0f;
  n.Y = static_cast<float>(screenHeightTwips) / tppY;
  return n;
}

ShellOpenRequest HelpOpenRequest(std::string_view applicationFolder) {
  ShellOpenRequest request;
  request.file = std::string(applicationFolder) + kHelpFileName;
  request.directory = "C:\\";
  return request;
}

bool ShellDispatcher::OnFsCommand(std::string_view command, std::string_view /*args*/) {
  auto found = LookUpCommand(command);
  if (!found) return false;
  Run(*found);
  return true;
}

void ShellDispatcher::Run(ShellCommand command) {
  switch (command) {
    case ShellCommand::Minimize:
      actions_.MinimizeMainWindow();
      return;
    case ShellCommand::About:
      actions_.BringMovieToFront();
      for (Feature f : kFeatureWindowSet) actions_.SetFeatureVisible(f, false);
      actions_.BringMovieToFront();
      return;
    case ShellCommand::CloseAbout:
      // Back where the About screen was opened: the windows shown in the
      // frame are visible in it again, behind or in front of the movie as
      // the frame is; the others stay hidden.
      for (Feature f : kFeatureWindowSet) {
        if (ShownInFrame(f)) actions_.SetFeatureVisible(f, true);
      }
      return;
    case ShellCommand::Main:
    case ShellCommand::SysSettingClicked:
      hideFeatureWindows();
      actions_.BringMovieToFront();
      return;
    case ShellCommand::Close:
      CloseProgram();
      return;
    case ShellCommand::Tray:
      TrayStep(currentOsFamily);
      return;
    case ShellCommand::Home:
    case ShellCommand::Hide:
      actions_.BringMovieToFront();
      return;
    case ShellCommand::Help:
      OpenHelp();
      return;
    case ShellCommand::Drag:
      actions_.DragWindow();
      return;
    case ShellCommand::Restart:
      RestartProgram();
      return;
    default:
      break;
  }
  if (auto shortcut = ShortcutRunBy(command)) {
    actions_.RunShortcut(*shortcut);
    return;
  }
  if (auto feature = FeatureShownBy(command)) {
    const FeatureRow& row = FeatureRowOf(*feature);
    if (row.reloadedByCommand) {
      // The advanced editor starts again at its first page, its controls
      // made afresh.
      Unload(*feature);
      actions_.BeforeShowFeature(*feature);
      actions_.LoadFeature(*feature);
    } else {
      actions_.BeforeShowFeature(*feature);
    }
    showInChildFrame(*feature);
    actions_.SizeFrame(FrameSizeOf(*feature));
  }
}

void ShellDispatcher::showInChildFrame(Feature feature) {
  hideFeatureWindows();
  // A window of the set exists once, created on its first use.
  actions_.LoadFeature(feature);
  actions_.MakeFeatureChildOfFrame(feature);
  ShownInFrame(feature) = true;
  actions_.SetFeatureVisible(feature, true);
  actions_.BringFrameToFront();
}

void ShellDispatcher::hideFeatureWindows() {
  for (Feature f : kFeatureWindowSet) actions_.SetFeatureVisible(f, false);
}

void ShellDispatcher::TrayStep(OsFamily family) {
  actions_.HideMainWindow();
  if (family >= 5) {
    actions_.ShowBalloonTip();
  } else {
    actions_.ShowTrayNotification(actions_.TrayNotificationHere());
  }
}

void ShellDispatcher::Unload(Feature feature) {
  actions_.UnloadFeature(feature);
  // Loaded again, it is a new hidden pop-up until it is shown in the frame.
  ShownInFrame(feature) = false;
}

void ShellDispatcher::RemoveTrayIcon() { actions_.ShowTrayIcon(false); }

void ShellDispatcher::CloseProgram() {
  actions_.BeginEnding();
  for (Feature f : kCloseUnloadOrder) Unload(f);
  RemoveTrayIcon();
  actions_.EndProgram();
}

void ShellDispatcher::ExitSequence() {
  actions_.BeginEnding();
  for (Feature f : kExitUnloadOrder) Unload(f);
  RemoveTrayIcon();
  actions_.EndProgram();
}

void ShellDispatcher::EndSession() {
  for (Feature f : kExitUnloadOrder) Unload(f);
  RemoveTrayIcon();
}

void ShellDispatcher::RestartProgram() {
  // Asked first: Windows may refuse the restart, or another program may
  // cancel it, and the program must then still be reachable. The unloads
  // and the tray removal come with the session's end (EndSession); the
  // program does not end itself.
  if (!actions_.RestartWindows()) actions_.ShowPlainMessage(kRestartRefusedMessage);
}

void ShellDispatcher::OpenHelp() { actions_.OpenWithShell(HelpOpenRequest(actions_.ApplicationFolder())); }

namespace {

// What the sub-buttons of the entry buttons open, index 1 first.
constexpr Feature kSorbekFeatures[] = {Feature::WizardMode, Feature::NormalMode, Feature::BackUp};
constexpr Feature kNetPingerFeatures[] = {Feature::NetPingerSettings};
constexpr Feature kRamBoosterFeatures[] = {Feature::SystemStatus, Feature::RamConfiguration};
constexpr SystemShortcut kSystemShortcuts[] = {
    SystemShortcut::InternetProperties, SystemShortcut::SystemProperties,
    SystemShortcut::ModemSettings, SystemShortcut::NetworkSettings};

// The entry at index (from 1) of list; null for any other index.
template <typename T, std::size_t N>
const T* AtIndex(const T (&list)[N], int index) {
  return index >= 1 && static_cast<std::size_t>(index) <= N ? &list[index - 1] : nullptr;
}

}  // namespace

void ShellDispatcher::OnEntryButton(EntryButton button, int index) {
  // A feature of the list at index, or the message for an index it has not.
  auto open = [&](const auto& features, const char* unhandled) {
    const Feature* feature = AtIndex(features, index);
    if (feature == nullptr) {
      actions_.ShowPlainMessage(unhandled);
      return;
    }
    if (*feature == Feature::BackUp) actions_.BeforeShowFeature(Feature::BackUp);
    showInChildFrame(*feature);
  };
  switch (button) {
    case EntryButton::cmdSorbek:
      open(kSorbekFeatures, "Nothandeled");
      return;
    case EntryButton::cmdNetPinger:
      open(kNetPingerFeatures, "Nothandeled");
      return;
    case EntryButton::cmdRamBooster:
      open(kRamBoosterFeatures, "Not handeled yet");
      return;
    case EntryButton::cmdSystemSettings:
      if (const SystemShortcut* shortcut = AtIndex(kSystemShortcuts, index)) {
        actions_.RunShortcut(*shortcut);
      } else {
        actions_.ShowPlainMessage("Not handeled");
      }
      return;
    case EntryButton::cmdMainSettings:
      showInChildFrame(Feature::MainSettings);
      return;
    case EntryButton::cmdHomePage:
      return;
  }
}

void ShellDispatcher::OnTrayMenu(TrayMenuItem item) {
  switch (item) {
    case TrayMenuItem::mnuMainWindow:
      actions_.ShowMainWindow();
      return;
    case TrayMenuItem::mnuHelp:
      OpenHelp();
      return;
    case TrayMenuItem::mnuExit:
      ExitSequence();
      return;
  }
}

}  // namespace corvane::shell
