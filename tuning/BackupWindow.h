// frmBackUp, apart from its window: the list of snapshot files (rebuilt by
// intializeList), the header-click sort through the list module, and
// Restore and Delete with their confirmations.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/ui/Layout.h"
#include "platform/ui/View.h"
#include "tuning/BackupManager.h"
#include "tuning/TuningContext.h"
#include "tuning/mListView.h"

namespace corvane {

namespace backup {
enum : int {
  kIdFrameBackUp = 1,
  kIdLstBackUpList = 2,
  kIdCmdRestore = 3,
  kIdCmdDelete = 4,
  kIdCmdChanges = 5,  // "Changes…": what restoring the selected snapshot would change
};
inline constexpr int kFormWidth = 440;
inline constexpr int kFormHeight = 246;
}  // namespace backup

// The window as data, in pixels, with the list's three columns.
const ui::Layout& BackUpLayout();

inline constexpr std::string_view kRestoreQuestion = "Do you want to restore this settings?";
inline constexpr std::string_view kDeleteQuestion = "Do you want to delete this file?";

struct BackupHooks {
  // Sets the movie's "_root.home" to "true", the window staying in front.
  std::function<void()> sendMovieHome;
  // Gives the window the keyboard focus.
  std::function<void()> focusWindow;
};

// What the backup manager uses: the tuning's registry, files, clock and
// folder, its list of snapshots, the user's regional formats and the hooks.
struct BackupContext {
  TuningContext tuning;
  mListView::IListControl& list;
  const IDateTimeFormat& format;
  BackupHooks hooks;
};

class BackupWindowModel final : public ui::FormModel {
 public:
  using Hooks = BackupHooks;

  // The feature windows' one constructor shape; the manager runs no timers.
  BackupWindowModel(const BackupContext& context, ui::IView& view, ui::ITimers& timers);

  // Both buttons disabled.
  void OnLoad() override;
  // The list is rebuilt before every showing.
  void BeforeShow() override { intializeList(); }
  void OnEvent(const ui::Event& event) override;

  // Rebuilds the rows from the Backups folder in directory order (creating a
  // missing folder); both buttons disabled; the sort state stays.
  void intializeList();
  // One row for a snapshot file of Backups (its name, without the folder).
  void addBackupEntry(const BackupEntry& entry);

  // A row was selected (by mouse or keyboard): both buttons enabled.
  void SelectionMade();
  // A click on the column header `column` (0-based).
  void ColumnClick(int column);
  void cmdRestoreClick();
  void cmdDeleteClick();
  void cmdChangesClick();
  // What "Changes…" runs: shows what restoring that snapshot would change.
  void SetShowChanges(std::function<void(const std::string& fileName)> showChanges) {
    showChanges_ = std::move(showChanges);
  }

  // The header tags "ASC" / "DESC" / "".
  const std::array<std::string, 3>& headerTags() const { return tags_; }
  // How the list was last sorted by a header click.
  const ListSort& sort() const { return sort_; }
  const RestoreResult& lastRestore() const { return lastRestore_; }

 private:
  void EnableButtons(bool enabled);
  // The text of the selected row; empty when none is selected.
  std::string SelectedFileName() const;

  ui::IView& view_;
  mListView::IListControl& list_;
  TuningContext context_;
  const IDateTimeFormat& format_;
  Hooks hooks_;
  std::array<std::string, 3> tags_;
  ListSort sort_;
  mListView::ItemParam nextParam_ = 1;
  RestoreResult lastRestore_;
  std::function<void(const std::string& fileName)> showChanges_;
};

}  // namespace corvane
