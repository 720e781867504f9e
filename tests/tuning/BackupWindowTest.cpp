// frmBackUp's model on the in-memory view and list: the rebuild, the
// selection, the header tags and the sort orders, restore and delete with
// their confirmations answered yes and no.
#include <gtest/gtest.h>

#include <random>

#include "platform/OsVersion.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryView.h"
#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/MemoryListControl.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RoundTrip.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tuning/Apply.h"
#include "tuning/BackupWindow.h"
#include "tuning/Presets.h"

namespace corvane {
namespace {

using testing::MemoryFileSystem;
using testing::MemoryListControl;
using testing::MemoryView;
using testing::RecordingRegistry;
using testing::RegistryFlavor;
using namespace backup;

std::string In(std::string_view name) { return JoinPath(testing::kBackups, name); }

const PictureDateTimeFormat kUs("M/d/yyyy", "h:mm:ss tt");

std::string Stamp(std::string_view date, std::string_view time, int family = 7) {
  return "#" + std::string(date) + "#\r\n#" + std::string(time) + "#\r\n" + std::to_string(family) + "\r\n";
}

using Texts = std::vector<std::string>;

class BackupWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    currentOsFamily = 7;
    files.AddFolder(testing::kFolder);
    view.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
    model.OnLoad();
  }

  // The user picks a row with the mouse or the keyboard.
  void UserSelects(int index) {
    list.Select(index);
    model.OnEvent(ui::Event{kIdLstBackUpList, ui::Event::Select, index});
  }
  // Clicks a button whose question the user answers "Yes"; the one
  // question asked is the given one, a warning.
  void ClickAnsweringYes(int button, const char* question, const char* title) {
    view.answers = {ui::kAnswerYes};
    ASSERT_TRUE(view.Click(button));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, question);
    EXPECT_EQ(view.messages[0].title, title);
    EXPECT_EQ(view.messages[0].flags, ui::kMessageYesNo | ui::kMessageWarning);
  }
  bool ButtonsEnabled() {
    EXPECT_EQ(view.Enabled(kIdCmdRestore), view.Enabled(kIdCmdDelete));
    return view.Enabled(kIdCmdRestore);
  }
  // Five snapshots, two of the same day, one unreadable, in this directory order.
  void AddFiveFiles() {
    files.AddFile(In("003.BCK"), Stamp("2008-01-21", "14:05:09"));
    files.AddFile(In("001.BCK"), Stamp("2007-12-03", "09:00:00"));
    files.AddFile(In("004.BCK"), "not a snapshot\r\n");
    files.AddFile(In("002.BCK"), Stamp("2008-01-21", "08:30:00"));
    files.AddFile(In("12.bck"), Stamp("2006-07-04", "23:59:59"));
  }

  RecordingRegistry registry{RegistryFlavor::Nt};
  MemoryFileSystem files;
  testing::FixedClock clock{{{2008, 1, 21}, {14, 5, 9}}};
  MemoryView view{BackUpLayout()};
  MemoryListControl list;
  int homes = 0;
  int focused = 0;
  testing::FakeTimers timers;
  BackupWindowModel model{
      BackupContext{{registry, files, clock, testing::kFolder}, list, kUs, {[this] { ++homes; }, [this] { ++focused; }}}, view,
      timers};

 private:
  testing::TuningGlobalsGuard globals_;
};

TEST(BackupLayout, FrameListAndButtonsInTheFrameOfTheBackupManager) {
  const ui::Layout& layout = BackUpLayout();
  EXPECT_TRUE(ui::CheckLayout(layout, 440, 246).empty());
  ASSERT_EQ(layout.columns.size(), 3u);
  EXPECT_EQ(layout.columns[0].heading, "File Name");
  EXPECT_EQ(layout.columns[1].heading, "Creating Date");
  EXPECT_EQ(layout.columns[2].heading, "Creating Time");
  EXPECT_EQ(ui::FindControl(layout, "frameBackUp")->caption, "Backup");
  EXPECT_EQ(ui::FindControl(layout, "cmdRestore")->caption, "Restore");
  EXPECT_EQ(ui::FindControl(layout, "cmdDelete")->caption, "Delete");
  EXPECT_NE(ui::FindControl(layout, "cmdDelete")->flags & ui::kDisabled, 0u);
}

TEST_F(BackupWindowTest, AMissingFolderIsCreatedAndTheListStaysEmpty) {
  EXPECT_FALSE(ButtonsEnabled());
  model.BeforeShow();
  EXPECT_TRUE(files.FolderExists(testing::kBackups));
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(BackupWindowTest, TheRebuildListsEveryFileInDirectoryOrderWithButtonsDisabled) {
  AddFiveFiles();
  model.intializeList();
  EXPECT_EQ(list.Column(0), (Texts{"003.BCK", "001.BCK", "004.BCK", "002.BCK", "12.BCK"}));
  EXPECT_EQ(list.Column(1), (Texts{"1/21/2008", "12/3/2007", "", "1/21/2008", "7/4/2006"}));
  EXPECT_EQ(list.Column(2), (Texts{"2:05:09 PM", "9:00:00 AM", "", "8:30:00 AM", "11:59:59 PM"}));
  EXPECT_EQ(list.rebuilding, 0);
  UserSelects(1);
  EXPECT_TRUE(ButtonsEnabled());
  // A snapshot taken in the meantime shows at the next opening.
  files.AddFile(In("005.BCK"), Stamp("2008-02-01", "10:00:00"));
  model.BeforeShow();
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.Column(0).back(), "005.BCK");
}

TEST_F(BackupWindowTest, ASelectionMadeAnyWayEnablesBothButtonsAndClearingItKeepsThem) {
  AddFiveFiles();
  model.intializeList();
  model.OnEvent(ui::Event{kIdLstBackUpList, ui::Event::Select, -1});  // nothing selected
  EXPECT_FALSE(ButtonsEnabled());
  UserSelects(3);
  EXPECT_TRUE(ButtonsEnabled());
  list.ClearSelection();
  model.OnEvent(ui::Event{kIdLstBackUpList, ui::Event::Select, -1});
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(BackupWindowTest, HeaderTagsAlternateAndANewColumnStartsAscending) {
  AddFiveFiles();
  model.intializeList();
  using Tags = std::array<std::string, 3>;
  struct Step {
    int column;
    Tags tags;
    std::int32_t order;
  };
  const Step steps[] = {
      {1, {"", "ASC", ""}, 0},  {1, {"", "DESC", ""}, 1}, {1, {"", "ASC", ""}, 0},
      {2, {"", "", "ASC"}, 0},  {2, {"", "", "DESC"}, 1}, {0, {"ASC", "", ""}, 0},
      {0, {"DESC", "", ""}, 1}, {1, {"", "ASC", ""}, 0},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(view.ClickColumn(kIdLstBackUpList, step.column));
    EXPECT_EQ(model.headerTags(), step.tags) << "column " << step.column;
    EXPECT_EQ(model.sort().order, step.order);
  }
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(ButtonsEnabled());  // no row was selected
}

TEST_F(BackupWindowTest, DatesSortAscendingThenDescendingUnreadableFirstEqualDaysTogether) {
  AddFiveFiles();
  model.intializeList();
  view.ClickColumn(kIdLstBackUpList, 1);
  EXPECT_EQ(model.sort().column, 2);
  EXPECT_EQ(model.sort().kind, mListView::kKindDate);
  EXPECT_FALSE(list.ownSort());
  Texts names = list.Column(0);
  EXPECT_EQ(Texts(names.begin(), names.begin() + 3), (Texts{"004.BCK", "12.BCK", "001.BCK"}));
  // 002 and 003 share a day: both last, in no defined order.
  EXPECT_EQ(list.Column(1)[3], "1/21/2008");
  EXPECT_EQ(list.Column(1)[4], "1/21/2008");

  view.ClickColumn(kIdLstBackUpList, 1);
  names = list.Column(0);
  EXPECT_EQ(Texts(names.begin() + 2, names.end()), (Texts{"001.BCK", "12.BCK", "004.BCK"}));

  // By time of day, whatever the dates.
  view.ClickColumn(kIdLstBackUpList, 2);
  EXPECT_EQ(model.sort().column, 3);
  EXPECT_EQ(list.Column(0), (Texts{"004.BCK", "002.BCK", "001.BCK", "003.BCK", "12.BCK"}));
  view.ClickColumn(kIdLstBackUpList, 2);
  EXPECT_EQ(list.Column(0), (Texts{"12.BCK", "003.BCK", "001.BCK", "002.BCK", "004.BCK"}));
}

TEST_F(BackupWindowTest, FileNameUsesTheListsOwnSortWhichRebuildsKeep) {
  AddFiveFiles();
  model.intializeList();
  view.ClickColumn(kIdLstBackUpList, 0);
  EXPECT_TRUE(list.ownSort());
  EXPECT_EQ(list.Column(0), (Texts{"001.BCK", "002.BCK", "003.BCK", "004.BCK", "12.BCK"}));
  view.ClickColumn(kIdLstBackUpList, 0);
  EXPECT_EQ(list.Column(0), (Texts{"12.BCK", "004.BCK", "003.BCK", "002.BCK", "001.BCK"}));
  model.intializeList();  // the list sorts itself as the rows come
  EXPECT_EQ(list.Column(0), (Texts{"12.BCK", "004.BCK", "003.BCK", "002.BCK", "001.BCK"}));
  EXPECT_EQ(model.headerTags()[0], "DESC");
  // A date sort switches it off; a rebuild is in directory order again.
  view.ClickColumn(kIdLstBackUpList, 1);
  model.intializeList();
  EXPECT_EQ(list.Column(0), (Texts{"003.BCK", "001.BCK", "004.BCK", "002.BCK", "12.BCK"}));
  EXPECT_EQ(model.headerTags()[1], "ASC");
  view.ClickColumn(kIdLstBackUpList, 1);
  EXPECT_EQ(model.sort().order, 1);
}

// Each model keeps its own sort: a second window's model (the manager
// loaded again) starts from the design sort and sorts by its own clicks,
// whatever the first one did.
TEST_F(BackupWindowTest, TheSortStateIsTheModelsOwn) {
  AddFiveFiles();
  model.intializeList();
  view.ClickColumn(kIdLstBackUpList, 2);
  view.ClickColumn(kIdLstBackUpList, 2);
  EXPECT_EQ(model.sort(), (ListSort{3, 1, mListView::kKindDate}));

  MemoryView otherView{BackUpLayout()};
  MemoryListControl otherList;
  BackupWindowModel other{BackupContext{{registry, files, clock, testing::kFolder}, otherList, kUs, {}}, otherView, timers};
  otherView.onEvent = [&](const ui::Event& e) { other.OnEvent(e); };
  other.OnLoad();
  EXPECT_EQ(other.sort(), ListSort{});
  other.intializeList();
  otherView.ClickColumn(kIdLstBackUpList, 1);
  EXPECT_EQ(other.sort(), (ListSort{2, 0, mListView::kKindDate}));
  EXPECT_EQ(otherList.Column(0), (Texts{"004.BCK", "12.BCK", "001.BCK", "003.BCK", "002.BCK"}));
  EXPECT_EQ(model.sort(), (ListSort{3, 1, mListView::kKindDate})) << "the first model's sort stays";
  EXPECT_EQ(list.Column(0), (Texts{"12.BCK", "003.BCK", "001.BCK", "002.BCK", "004.BCK"}));
}

TEST_F(BackupWindowTest, SortingWithARowSelectedEnablesTheButtonsAndKeepsTheRow) {
  AddFiveFiles();
  model.intializeList();
  list.Select(1);  // 001.BCK, chosen without an event reaching the window
  view.ClickColumn(kIdLstBackUpList, 1);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(list.ItemText(list.Selected(), 0, 32), "001.BCK");
}

TEST_F(BackupWindowTest, AnUnknownHeaderSaysSo) {
  model.ColumnClick(5);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, "Error no such header named ");
  EXPECT_EQ(view.messages[0].title, "Pellavon");
}

// Applies a preset from a generated starting state and lists the snapshot.
class BackupRestoreTest : public BackupWindowTest {
 protected:
  void ApplyFrom(OsFamily family) {
    std::mt19937 random(20080121);
    start = testing::GenerateStart(family, random);
    testing::PrepareStart(registry, start);
    currentOsFamily = family;
    workingProfile = presetProfiles[2];
    ApplyResult applied = ApplyTuningProfile(TuningContext{registry, files, clock, testing::kFolder});
    ASSERT_EQ(applied.status, ApplyStatus::Applied) << applied.message;
    model.intializeList();
    ASSERT_EQ(list.RowCount(), 1);
    UserSelects(0);
  }
  testing::RoundTripStart start;
};

TEST_F(BackupRestoreTest, RestoreAnsweredYesPutsTheRegistryBackAndSendsTheMovieHome) {
  ApplyFrom(7);
  ASSERT_FALSE(testing::CompareWithStart(registry, start).empty());
  ASSERT_NO_FATAL_FAILURE(ClickAnsweringYes(kIdCmdRestore, "Do you want to restore this settings?", ""));
  EXPECT_EQ(model.lastRestore().status, RestoreStatus::Restored);
  std::vector<std::string> differences = testing::CompareWithStart(registry, start);
  EXPECT_TRUE(differences.empty()) << differences.front();
  EXPECT_EQ(homes, 1);
  EXPECT_EQ(list.RowCount(), 1);  // not rebuilt
}

TEST_F(BackupRestoreTest, RestoreAnsweredNoChangesNothing) {
  ApplyFrom(3);
  registry.log.clear();
  view.answers = {ui::kAnswerNo};
  view.Click(kIdCmdRestore);
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_TRUE(registry.log.empty());
  EXPECT_EQ(homes, 0);
}

TEST_F(BackupRestoreTest, ASnapshotOfAnotherWindowsVersionSaysSoAndWritesNothing) {
  ApplyFrom(3);
  currentOsFamily = 7;
  registry.log.clear();
  view.answers = {ui::kAnswerYes};
  view.Click(kIdCmdRestore);
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(view.messages[1].text, "This backup file was taken from another operating system!!");
  EXPECT_EQ(view.messages[1].flags, ui::kMessageOk | ui::kMessageError);
  EXPECT_TRUE(registry.log.empty());
  EXPECT_EQ(homes, 0);
}

TEST_F(BackupRestoreTest, ADamagedOrVanishedFileGivesTheEnginesMessageAndNothingWritten) {
  ApplyFrom(7);
  for (const char* data : {"#2008-01-21#\r\n#14:05:09#\r\n7\r\n\"SYSTEM\\x\"\r\n\"Name\"\r\nnot a number\r\n",
                           static_cast<const char*>(nullptr)}) {
    if (data != nullptr) files.AddFile(In("001.BCK"), data);
    else (void)files.RemoveFile(In("001.BCK"));
    registry.log.clear();
    view.messages.clear();
    homes = 0;
    view.answers = {ui::kAnswerYes};
    view.Click(kIdCmdRestore);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_NE(view.messages[1].text.find("No setting was changed."), std::string::npos)
        << view.messages[1].text;
    EXPECT_TRUE(registry.log.empty());
    EXPECT_EQ(homes, 1);
  }
}

TEST_F(BackupRestoreTest, ARestoreThatCouldNotWriteSomeValuesSaysHowManyAndWhich) {
  ApplyFrom(7);
  registry.refuse = [](const std::string&, std::string_view name) -> RegStatus {
    return name == "DefaultTTL" ? reg::kAccessDenied : 0;
  };
  view.answers = {ui::kAnswerYes};
  view.Click(kIdCmdRestore);
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_NE(view.messages[1].text.find("Some settings could not be restored: 1 of "), std::string::npos)
      << view.messages[1].text;
  EXPECT_NE(view.messages[1].text.find("DefaultTTL ("), std::string::npos) << view.messages[1].text;
  EXPECT_NE(view.messages[1].text.find("error 5, access denied)"), std::string::npos);
  EXPECT_EQ(homes, 1);
}

TEST_F(BackupWindowTest, DeleteAnsweredYesRemovesTheFileAndSelectsTheFirstRow) {
  AddFiveFiles();
  model.intializeList();
  UserSelects(2);  // 004.BCK
  ASSERT_NO_FATAL_FAILURE(ClickAnsweringYes(kIdCmdDelete, "Do you want to delete this file?", "Pellavon"));
  EXPECT_FALSE(files.FileExists(In("004.BCK")));
  EXPECT_EQ(list.Column(0), (Texts{"003.BCK", "001.BCK", "002.BCK", "12.BCK"}));
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(focused, 1);
  // 12.bck is deleted by the row's text 12.BCK.
  UserSelects(3);
  view.answers = {ui::kAnswerYes};
  view.Click(kIdCmdDelete);
  EXPECT_FALSE(files.FileExists(In("12.bck")));
}

TEST_F(BackupWindowTest, DeleteAnsweredNoKeepsEverything) {
  AddFiveFiles();
  model.intializeList();
  UserSelects(0);
  view.answers = {ui::kAnswerNo};
  view.Click(kIdCmdDelete);
  EXPECT_TRUE(files.FileExists(In("003.BCK")));
  EXPECT_EQ(list.RowCount(), 5);
  EXPECT_EQ(list.Selected(), 0);
}

TEST_F(BackupWindowTest, DeletingTheLastSnapshotLeavesBothButtonsDisabled) {
  files.AddFile(In("001.BCK"), Stamp("2007-12-03", "09:00:00"));
  model.intializeList();
  UserSelects(0);
  view.answers = {ui::kAnswerYes};
  view.Click(kIdCmdDelete);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_FALSE(ButtonsEnabled());
}

TEST_F(BackupWindowTest, AFileThatCannotBeDeletedGivesAMessageAndTheWindowGoesOn) {
  AddFiveFiles();
  files.SetReadOnly(In("001.BCK"), true);
  model.intializeList();
  UserSelects(1);
  view.answers = {ui::kAnswerYes};
  view.Click(kIdCmdDelete);
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_NE(view.messages[1].text.find("001.BCK could not be deleted"), std::string::npos);
  EXPECT_EQ(list.RowCount(), 5);
  EXPECT_TRUE(ButtonsEnabled());
  // One already gone needs no word.
  (void)files.RemoveFile(In("003.BCK"));
  UserSelects(0);
  view.messages.clear();
  view.answers = {ui::kAnswerYes};
  view.Click(kIdCmdDelete);
  EXPECT_EQ(view.messages.size(), 1u);  // the question only
  EXPECT_EQ(list.RowCount(), 4);
}

}  // namespace
}  // namespace corvane
