// The preview of an apply and the drift watch in the real corvane.exe: the
// wizard's "Changes…" opened and left with "Back" (nothing written, not even
// a snapshot), "Optimize Now" from the preview giving what the wizard's own
// button gives, the same for the editor's last page and its Finish, and a value changed between two starts told at the second
// start, mended by re-applying, and not told with the watch switched off.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/TestRegistry.h"

namespace corvane::gui {
namespace {

using corvane::testing::IsNtFamily;
using corvane::testing::StoreNumber;
using corvane::testing::StoreText;

constexpr char kWizardClass[] = "CorvaneWizardMode";
constexpr char kChangesClass[] = "CorvaneChanges";
constexpr int kIdOptMode0 = 10;
constexpr int kIdCmdOptimize = 21;
constexpr int kIdCmdChanges = 22;
constexpr int kIdLstChanges = 2;
constexpr int kIdCmdApply = 3;
constexpr int kIdCmdBack = 4;
constexpr auto kWait = std::chrono::seconds(10);
constexpr char kEditorClass[] = "CorvaneNormalMode";
constexpr int kIdEditorNext = 102;
constexpr int kIdEditorChanges = 294;

std::string TcpKey() {
  return IsNtFamily() ? "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"
                      : "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
}

// The followed values: TTL, window size, keep-alive time.
const char* const kNames[] = {"DefaultTTL", "GlobalMaxTcpWindowSize", "KeepAliveTime"};
using Values = std::vector<std::optional<long long>>;

void Write(const char* name, std::optional<long long> value) {
  ASSERT_TRUE(StoreNumber(HKEY_LOCAL_MACHINE, TcpKey(), name, value)) << name;
}

Values Read() {
  Values values;
  for (const char* name : kNames) {
    auto v = ReadRegistryNumber(HKEY_LOCAL_MACHINE, TcpKey().c_str(), name);
    values.push_back(v ? std::optional<long long>(*v) : std::nullopt);
  }
  return values;
}

void Prepare() {
  Write(kNames[0], 64);
  Write(kNames[1], 65535);
  Write(kNames[2], std::nullopt);
}

std::string RecordPath() { return ProgramFolder() + "\\Backups\\Applied.rec"; }

void SetWatch(const char* value) {
  ASSERT_TRUE(StoreText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvik\\Pellavon\\Settings\\MainSettings", "chkDriftWatch",
                        value));
}

std::optional<HWND> VisibleWindowOfClass(DWORD pid, const char* className) {
  for (const auto& w : VisibleTopLevelWindows(pid)) {
    if (w.className == className) return w.hwnd;
  }
  return std::nullopt;
}

// Answers the note on ignored values that some Windows versions give after an apply.
void AnswerAnyNote(CorvaneApp& app) {
  const DWORD pid = app.program().pid();
  ASSERT_TRUE(WaitUntil([&] { return app.MovieInFront() || VisibleWindowOfClass(pid, "#32770"); }, kWait));
  if (auto box = VisibleWindowOfClass(pid, "#32770")) {
    ::PostMessageA(*box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !::IsWindowVisible(*box); }, kWait);
  }
  ASSERT_TRUE(WaitUntil([&] { return app.MovieInFront(); }, kWait));
}

std::set<std::string> Snapshots() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE find = ::FindFirstFileA((ProgramFolder() + "\\Backups\\*.BCK").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.insert(found.cFileName);
  while (::FindNextFileA(find, &found));
  ::FindClose(find);
  return names;
}

void RemoveSnapshotsMadeSince(const std::set<std::string>& before) {
  for (const std::string& name : Snapshots()) {
    if (!before.contains(name)) ::DeleteFileA((ProgramFolder() + "\\Backups\\" + name).c_str());
  }
}

class ChangesPreviewTest : public RunningCorvaneTest {
 protected:
  HWND OpenWizard() {
    EXPECT_TRUE(app().ClickButton("IDC_FS_wizardMode"));
    std::optional<HWND> wizard = app().WaitForFeature(kWizardClass, kWait);
    EXPECT_TRUE(wizard);
    return wizard.value_or(nullptr);
  }
  HWND OpenPreview(HWND wizard) {
    ClickCentre(::GetDlgItem(wizard, kIdCmdChanges));
    std::optional<HWND> preview;
    EXPECT_TRUE(WaitUntil([&] { return (preview = VisibleWindowOfClass(pid(), kChangesClass)).has_value(); },
                          kWait));
    Settle();
    return preview.value_or(nullptr);
  }
  // The editor on "Step 8 of 8", its values as recommended for dial-up.
  HWND OpenEditorOnItsLastPage() {
    EXPECT_TRUE(app().ClickButton("IDC_FS_normalMode"));
    std::optional<HWND> editor = app().WaitForFeature(kEditorClass, kWait);
    EXPECT_TRUE(editor);
    if (!editor) return nullptr;
    HWND next = ::GetDlgItem(*editor, kIdEditorNext);
    for (int page = 0; page < 7; ++page) {
      ::SendMessageA(*editor, WM_COMMAND, MAKEWPARAM(kIdEditorNext, BN_CLICKED), reinterpret_cast<LPARAM>(next));
    }
    Settle();
    return *editor;
  }
  void SetUp() override {
    RunningCorvaneTest::SetUp();
    before_ = Snapshots();
  }
  // The record and the snapshots the test made go, so that the backup list
  // of later tests is as it was.
  void TearDown() override {
    ::DeleteFileA(RecordPath().c_str());
    RemoveSnapshotsMadeSince(before_);
  }
  std::set<std::string> before_;
};

TEST_F(ChangesPreviewTest, BackWritesNothingNotEvenASnapshot) {
  Prepare();
  ::DeleteFileA(RecordPath().c_str());
  const Values before = Read();
  const int snapshots = CountSnapshotFiles();
  HWND wizard = OpenWizard();
  ASSERT_NE(wizard, nullptr);
  SaveScreenshot("wizard-changes-button");
  HWND preview = OpenPreview(wizard);
  ASSERT_NE(preview, nullptr);
  HWND list = ::GetDlgItem(preview, kIdLstChanges);
  EXPECT_GT(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_FALSE(::IsWindowEnabled(app().main())) << "the main window waits for the preview";
  SaveScreenshot("changes-preview");

  ClickCentre(::GetDlgItem(preview, kIdCmdBack));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(preview); }, kWait));
  EXPECT_TRUE(::IsWindowEnabled(app().main()));
  EXPECT_EQ(Read(), before);
  EXPECT_EQ(CountSnapshotFiles(), snapshots);
  EXPECT_EQ(ReadTextFile(RecordPath()), "");
}

TEST_F(ChangesPreviewTest, TheEditorsPreviewGoesBackWritingNothingAndItsApplyIsFinish) {
  Prepare();
  ::DeleteFileA(RecordPath().c_str());
  const Values before = Read();
  const int snapshots = CountSnapshotFiles();
  HWND editor = OpenEditorOnItsLastPage();
  ASSERT_NE(editor, nullptr);
  HWND changes = ::GetDlgItem(editor, kIdEditorChanges);
  ASSERT_TRUE(::IsWindowVisible(changes));
  SaveScreenshot("editor-changes-button");
  ClickCentre(changes);
  std::optional<HWND> preview;
  ASSERT_TRUE(WaitUntil([&] { return (preview = VisibleWindowOfClass(pid(), kChangesClass)).has_value(); },
                        kWait));
  Settle();
  SaveScreenshot("editor-changes-preview");
  EXPECT_GT(::SendMessageA(::GetDlgItem(*preview, kIdLstChanges), LVM_GETITEMCOUNT, 0, 0), 1);
  ClickCentre(::GetDlgItem(*preview, kIdCmdBack));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(*preview); }, kWait));
  EXPECT_EQ(Read(), before);
  EXPECT_EQ(CountSnapshotFiles(), snapshots) << "not even a snapshot";
  EXPECT_EQ(ReadTextFile(RecordPath()), "");

  // Apply from the preview.
  ClickCentre(changes);
  ASSERT_TRUE(WaitUntil([&] { return (preview = VisibleWindowOfClass(pid(), kChangesClass)).has_value(); },
                        kWait));
  Settle();
  ClickCentre(::GetDlgItem(*preview, kIdCmdApply));
  AnswerAnyNote(app());
  const Values byPreview = Read();
  EXPECT_NE(byPreview, before);
  EXPECT_EQ(CountSnapshotFiles(), snapshots + 1);
  EXPECT_NE(ReadTextFile(RecordPath()).find("Pellavon applied values 1"), std::string::npos)
      << "the editor's apply is recorded for the drift watch";

  // Finish by its own button gives the same.
  ::DeleteFileA(RecordPath().c_str());
  Prepare();
  editor = OpenEditorOnItsLastPage();
  ASSERT_NE(editor, nullptr);
  ClickCentre(::GetDlgItem(editor, kIdEditorNext));
  AnswerAnyNote(app());
  EXPECT_EQ(Read(), byPreview);
  EXPECT_EQ(CountSnapshotFiles(), snapshots + 2);
  EXPECT_NE(ReadTextFile(RecordPath()).find("Pellavon applied values 1"), std::string::npos);

  // The editor's record is watched, and showing the backup manager or the
  // editor checks it, as showing the wizard does. Cancel dismisses.
  SetWatch("1");
  const struct {
    const char* button;
    const char* windowClass;
    long long ttl;
  } shows[] = {{"IDC_FS_backupManger", "CorvaneBackUp", 77}, {"IDC_FS_normalMode", kEditorClass, 78}};
  for (const auto& show : shows) {
    Write(kNames[0], show.ttl);
    ASSERT_TRUE(app().ClickButton(show.button));
    auto box = WaitForMessageBox(pid(), kWait);
    ASSERT_TRUE(box) << "the drift notification when " << show.windowClass << " is shown";
    EXPECT_NE(box->text.find("1 of the values you applied on "), std::string::npos) << box->text;
    ::PostMessageA(box->hwnd, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box->hwnd) || !::IsWindowVisible(box->hwnd); }, kWait));
    app().BackHome();
  }
}

TEST_F(ChangesPreviewTest, ApplyFromThePreviewIsTheOptimizePath) {
  Prepare();
  HWND wizard = OpenWizard();
  ASSERT_NE(wizard, nullptr);
  ClickInWindow(::GetDlgItem(wizard, kIdOptMode0 + 2), 6, 8);  // Automatic-C
  Settle();
  const int snapshots = CountSnapshotFiles();
  ClickCentre(::GetDlgItem(wizard, kIdCmdOptimize));
  AnswerAnyNote(app());
  const Values byOptimize = Read();
  EXPECT_EQ(CountSnapshotFiles(), snapshots + 1);
  // Without its record the drift watch does not ask about the values put back below.
  ::DeleteFileA(RecordPath().c_str());

  Prepare();
  wizard = OpenWizard();
  HWND preview = OpenPreview(wizard);
  ASSERT_NE(preview, nullptr);
  ClickCentre(::GetDlgItem(preview, kIdCmdApply));
  AnswerAnyNote(app());
  EXPECT_EQ(Read(), byOptimize);
  EXPECT_EQ(CountSnapshotFiles(), snapshots + 2);
  EXPECT_NE(ReadTextFile(RecordPath()).find("Pellavon applied values 1"), std::string::npos);
}

TEST_F(ChangesPreviewTest, TheBackupManagerPreviewsARestoreAndBackWritesNothing) {
  Prepare();
  HWND wizard = OpenWizard();
  ASSERT_NE(wizard, nullptr);
  ClickCentre(::GetDlgItem(wizard, kIdCmdOptimize));  // a snapshot of the prepared values
  AnswerAnyNote(app());
  const Values applied = Read();
  const int snapshots = CountSnapshotFiles();

  ASSERT_TRUE(app().ClickButton("IDC_FS_backupManger"));
  std::optional<HWND> manager = app().WaitForFeature("CorvaneBackUp", kWait);
  ASSERT_TRUE(manager);
  HWND changes = ::GetDlgItem(*manager, 5);
  EXPECT_FALSE(::IsWindowEnabled(changes));
  ClickInWindow(::GetDlgItem(*manager, 2), 30, 30);  // the first row
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(changes) != FALSE; }, kWait));
  Settle();
  SaveScreenshot("backup-changes-button");
  ClickCentre(changes);
  std::optional<HWND> preview;
  ASSERT_TRUE(WaitUntil([&] { return (preview = VisibleWindowOfClass(pid(), kChangesClass)).has_value(); },
                        kWait));
  Settle();
  SaveScreenshot("restore-preview");
  ClickCentre(::GetDlgItem(*preview, kIdCmdBack));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(*preview); }, kWait));
  EXPECT_EQ(Read(), applied);
  EXPECT_EQ(CountSnapshotFiles(), snapshots);
}

// Two starts of its own, so that the start-up check is what is tested.
TEST(DriftWatchGui, AValueChangedBetweenTwoStartsIsToldAndReapplyMendsIt) {
  ::DeleteFileA(RecordPath().c_str());
  const std::set<std::string> before = Snapshots();
  SetWatch("1");
  Prepare();
  {
    auto app = CorvaneApp::Start();
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->ClickButton("IDC_FS_wizardMode"));
    std::optional<HWND> wizard;
    ASSERT_TRUE(WaitUntil([&] {
      wizard = FindChild(app->frame(), kWizardClass);
      return wizard && ::IsWindowVisible(*wizard);
    }, kWait));
    ClickCentre(::GetDlgItem(*wizard, kIdCmdOptimize));
    AnswerAnyNote(*app);
  }
  const Values applied = Read();
  ASSERT_NE(ReadTextFile(RecordPath()), "");
  Write(kNames[0], 77);  // another program, between the two starts

  {
    auto app = CorvaneApp::Start();
    ASSERT_NE(app, nullptr);
    auto box = WaitForMessageBox(app->program().pid(), kWait);
    ASSERT_TRUE(box) << "the drift notification";
    EXPECT_NE(box->text.find("1 of the values you applied on "), std::string::npos) << box->text;
    EXPECT_NE(box->text.find(" has been changed"), std::string::npos) << box->text;
    Settle();
    SaveScreenshot("drift-notification");
    ::PostMessageA(box->hwnd, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return Read() == applied; }, kWait)) << "re-applied";
  }

  SetWatch("0");
  Write(kNames[0], 78);
  {
    auto app = CorvaneApp::Start();
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->ClickButton("IDC_FS_wizardMode"));
    ASSERT_TRUE(WaitUntil([&] {
      auto wizard = FindChild(app->frame(), kWizardClass);
      return wizard && ::IsWindowVisible(*wizard);
    }, kWait));
    Settle();
    EXPECT_FALSE(VisibleWindowOfClass(app->program().pid(), "#32770")) << "the watch is off";
  }
  SetWatch("1");
  ::DeleteFileA(RecordPath().c_str());
  RemoveSnapshotsMadeSince(before);
}

}  // namespace
}  // namespace corvane::gui
