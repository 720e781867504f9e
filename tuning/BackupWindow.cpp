#include "tuning/BackupWindow.h"

#include "platform/AppInfo.h"
#include "tuning/ChangeMessage.h"
#include "tuning/ChangesPreview.h"

namespace corvane {

namespace {

using ui::Control;
using ui::ControlKind;
using namespace backup;

// Positions in pixels; the list and the buttons lie inside the frame.
constexpr Control kControls[] = {
    {kIdFrameBackUp, ControlKind::Frame, "frameBackUp", "Backup", 6, 4, 428, 236, 0},
    {kIdLstBackUpList, ControlKind::ListView, "lstBackUpList", "", 12, 22, 404, 164, kIdFrameBackUp},
    {kIdCmdRestore, ControlKind::Button, "cmdRestore", "Restore", 222, 196, 90, 28, kIdFrameBackUp,
     ui::kDisabled},
    {kIdCmdDelete, ControlKind::Button, "cmdDelete", "Delete", 326, 196, 90, 28, kIdFrameBackUp,
     ui::kDisabled},
    // Left of "Restore", in space no other control uses.
    {kIdCmdChanges, ControlKind::Button, "cmdChanges", kChangesCaption, 118, 196, 90, 28,
     kIdFrameBackUp, ui::kDisabled},
};

constexpr ui::Column kColumns[] = {
    {kIdLstBackUpList, kBackupColumns[0], 120},
    {kIdLstBackUpList, kBackupColumns[1], 136},
    {kIdLstBackUpList, kBackupColumns[2], 124},
};

constexpr ui::Layout kLayout{"frmBackUp", "CorvaneBackUp", "Backup", ui::Unit::Pixels, kFormWidth, kFormHeight,
                             kControls, kColumns};

}  // namespace

const ui::Layout& BackUpLayout() { return kLayout; }

BackupWindowModel::BackupWindowModel(const BackupContext& context, ui::IView& view, ui::ITimers& /*timers*/)
    : view_(view), list_(context.list), context_(context.tuning), format_(context.format), hooks_(context.hooks) {}

void BackupWindowModel::OnLoad() { EnableButtons(false); }

void BackupWindowModel::OnEvent(const ui::Event& event) {
  switch (event.id) {
    case kIdLstBackUpList:
      if (event.kind == ui::Event::Select) SelectionMade();
      if (event.kind == ui::Event::Column) ColumnClick(event.value);
      return;
    case kIdCmdRestore:
      if (event.kind == ui::Event::Click) cmdRestoreClick();
      return;
    case kIdCmdDelete:
      if (event.kind == ui::Event::Click) cmdDeleteClick();
      return;
    case kIdCmdChanges:
      if (event.kind == ui::Event::Click) cmdChangesClick();
      return;
    default:
      return;
  }
}

void BackupWindowModel::EnableButtons(bool enabled) {
  view_.SetEnabled(kIdCmdRestore, enabled);
  view_.SetEnabled(kIdCmdDelete, enabled);
  view_.SetEnabled(kIdCmdChanges, enabled);
}

void BackupWindowModel::cmdChangesClick() {
  const std::string fileName = SelectedFileName();
  if (!fileName.empty() && showChanges_) showChanges_(fileName);
}

void BackupWindowModel::intializeList() {
  EnableButtons(false);
  list_.Clear();
  BackupListing listing = ListBackups(context_.files, format_, context_.programFolder);
  if (!listing.message.empty()) {
    (void)view_.ShowMessage(listing.message, kAppTitle, ui::kMessageOk | ui::kMessageError);
  }
  list_.BeginRebuild(static_cast<int>(listing.entries.size()));
  for (const BackupEntry& entry : listing.entries) addBackupEntry(entry);
  list_.EndRebuild();
}

void BackupWindowModel::addBackupEntry(const BackupEntry& entry) {
  const std::string texts[] = {entry.fileName, entry.creatingDate, entry.creatingTime};
  list_.AddRow(texts, nextParam_++);
}

void BackupWindowModel::SelectionMade() {
  if (list_.Selected() >= 0) EnableButtons(true);
}

void BackupWindowModel::ColumnClick(int column) {
  std::string_view caption;
  if (column >= 0 && column < static_cast<int>(kBackupColumns.size())) {
    caption = kBackupColumns[static_cast<std::size_t>(column)];
  }
  HeaderClick click = ClickBackupHeader(tags_, sort_, static_cast<std::size_t>(column < 0 ? 3 : column),
                                        caption);
  switch (click.sort) {
    case HeaderSort::ByListItself:
      list_.SetOwnSort(true, sort_.order);
      break;
    case HeaderSort::ByCompare:
      list_.SetOwnSort(false, sort_.order);
      list_.SortByCompareListItems(sort_, format_);
      break;
    case HeaderSort::Unknown:
      (void)view_.ShowMessage(click.message, kAppTitle, ui::kMessageOk);
      break;
  }
  if (list_.Selected() >= 0) EnableButtons(true);
}

std::string BackupWindowModel::SelectedFileName() const {
  int selected = list_.Selected();
  if (selected < 0) return std::string();
  // The whole row text, whatever its length.
  return list_.ItemText(selected, 0, 261);
}

void BackupWindowModel::cmdRestoreClick() {
  // The buttons stay enabled when the user clears the selection; with no row
  // there is nothing to restore.
  std::string fileName = SelectedFileName();
  if (fileName.empty()) return;
  if (view_.ShowMessage(kRestoreQuestion, "", ui::kMessageYesNo | ui::kMessageWarning) !=
      ui::kAnswerYes) {
    return;
  }
  lastRestore_ = RestoreSnapshot(context_, fileName);
  switch (lastRestore_.status) {
    case RestoreStatus::OtherFamily:
      // Nothing written, and the movie stays where it is.
      (void)view_.ShowMessage(kOtherFamilyMessage, kAppTitle, ui::kMessageOk | ui::kMessageError);
      return;
    case RestoreStatus::Unreadable:
    case RestoreStatus::Damaged:
      (void)view_.ShowMessage(lastRestore_.message, kAppTitle, ui::kMessageOk);
      break;
    case RestoreStatus::Restored:
      if (lastRestore_.changes.failed > 0) {
        (void)view_.ShowMessage(
            ChangeFailureMessage(lastRestore_.changes, "Some settings could not be restored",
                                 "The values that could be written have been restored."),
            kAppTitle, ui::kMessageOk | ui::kMessageWarning);
      }
      break;
    case RestoreStatus::NothingToDo:
      break;
  }
  if (hooks_.sendMovieHome) hooks_.sendMovieHome();
}

void BackupWindowModel::cmdDeleteClick() {
  std::string fileName = SelectedFileName();
  if (fileName.empty()) return;
  if (view_.ShowMessage(kDeleteQuestion, kAppTitle, ui::kMessageYesNo | ui::kMessageWarning) !=
      ui::kAnswerYes) {
    return;
  }
  DeleteResult deleted = DeleteBackup(context_.files, context_.programFolder, fileName);
  // A file already gone needs no word: the rebuilt list shows it gone.
  if (!deleted.deleted && deleted.code != fs::kFileNotFound) {
    (void)view_.ShowMessage(deleted.message, kAppTitle, ui::kMessageOk | ui::kMessageError);
  }
  intializeList();
  if (hooks_.focusWindow) hooks_.focusWindow();
  if (list_.RowCount() > 0) {
    list_.Select(0);
    EnableButtons(true);
  }
}

}  // namespace corvane
