// The program ends cleanly whatever is in flight when the user exits: a
// window's handler waiting in a message box, a menu open when the taskbar
// comes back. Each test starts a program of its own and ends it through the
// tray's Exit; the process must end by itself with code 0, its icon gone,
// and what it wrote (snapshots, applied values) whole. The tools run the
// first under Windows 10 with Wine's heap checking, where the note after an
// apply always shows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"
#include "tests/gui/components/ComponentTestSupport.h"
#include "tests/support/TestRegistry.h"

namespace corvane::gui {
namespace {

using corvane::testing::IsNtFamily;

using std::chrono::seconds;

constexpr char kWizardClass[] = "CorvaneWizardMode";
constexpr int kIdCmdOptimize = 21;  // tuning/WizardMode.h
constexpr char kMenuClass[] = "#32768";
constexpr char kStatusClass[] = "CorvaneSystemStatus";
constexpr int kIdSldFreeMomoryReq = 414;  // memory/SystemStatus.h
constexpr int kIdCmdOptimaize = 416;
constexpr char kTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr char kMstcp[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr char kBackUpClass[] = "CorvaneBackUp";
constexpr int kIdLstBackUpList = 2;  // tuning/BackupWindow.h
constexpr int kIdCmdRestore = 3;

void WriteTtl(DWORD ttl) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTcpip, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "DefaultTTL", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&ttl), sizeof ttl);
  ::RegCloseKey(key);
}

// A file where the Backups folder should be, for as long as it lives.
class BackupsBlocked {
 public:
  BackupsBlocked() {
    moved_ = ::MoveFileA(backups_.c_str(), aside_.c_str()) != FALSE;
    HANDLE file = ::CreateFileA(backups_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
  ~BackupsBlocked() {
    ::DeleteFileA(backups_.c_str());
    if (moved_) ::MoveFileA(aside_.c_str(), backups_.c_str());
  }

 private:
  const std::string backups_ = ProgramFolder() + "\\Backups";
  const std::string aside_ = ProgramFolder() + "\\Backups.aside";
  bool moved_ = false;
};

class ExitInFlight : public ::testing::Test {
 protected:
  void Start() {
    std::string why;
    app_ = CorvaneApp::Start(CorvaneApp::Options{}, &why);
    ASSERT_TRUE(app_) << why;
    ASSERT_TRUE(WaitForTrayIcon(seconds(10))) << "no icon in the notification area";
  }
  // The tray's Exit as the test path gives it; the program must end by
  // itself, cleanly, and take its icon along.
  void ExitAndExpectACleanEnd(const char* what) {
    (void)app_->ChooseTrayMenu("mnuExit");
    auto code = app_->program().WaitForExit(seconds(15));
    ASSERT_TRUE(code) << what << ": the program did not end";
    EXPECT_EQ(*code, 0u) << what << ": the program ended with a fault";
    EXPECT_TRUE(WaitForNoTrayIcon(seconds(5))) << what << ": the icon stayed";
  }

  // The feature window of that class once it shows in the frame; nothing
  // (and a failure with the window tree) after 10 s.
  std::optional<HWND> ShownInFrame(const char* className) {
    std::optional<HWND> window;
    if (!WaitUntil([&] {
          window = FindChild(app_->frame(), className);
          return window && ::IsWindowVisible(*window);
        }, seconds(10))) {
      ADD_FAILURE() << className << " not shown\n" << DumpTree(app_->main());
      return std::nullopt;
    }
    return window;
  }

  // The wizard's "Optimize Now" pressed; true when the note after the apply
  // is open (later Windows ignore some of the values written).
  bool OptimizeUntilTheNoteShows() {
    if (!app_->ClickButton("IDC_FS_wizardMode")) (void)app_->SendCommand("IDC_FS_wizardMode");
    std::optional<HWND> wizard = ShownInFrame(kWizardClass);
    if (!wizard) return false;
    Settle();
    ::PostMessageA(*wizard, WM_COMMAND, MAKEWPARAM(kIdCmdOptimize, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(*wizard, kIdCmdOptimize)));
    return WaitForMessageBox(app_->program().pid(), seconds(10)).has_value();
  }

  std::unique_ptr<CorvaneApp> app_;
};

// The everyday path: the note after "Optimize Now" is open (the window's
// handler waits in it) when the user exits from the tray.
TEST_F(ExitInFlight, TrayExitWhileTheNoteAfterAnApplyIsOpen) {
  if (!IsNtFamily()) GTEST_SKIP() << "the note shows on later Windows";
  WriteTtl(64);
  const int snapshotsBefore = CountSnapshotFiles();
  ASSERT_NO_FATAL_FAILURE(Start());
  if (!OptimizeUntilTheNoteShows()) GTEST_SKIP() << "this Windows ignores none of the values written: no note";
  ASSERT_NO_FATAL_FAILURE(ExitAndExpectACleanEnd("exit under the note"));
  EXPECT_EQ(CountSnapshotFiles(), snapshotsBefore + 1) << "one whole snapshot of the apply";
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 128u) << "the applied value stays";
}

// Explorer starting again while the tray's menu is open: the icon comes
// back, and the Exit chosen in that menu still ends the program with the
// icon gone.
TEST_F(ExitInFlight, TaskbarCreatedWhileTheTrayMenuIsOpen) {
  ASSERT_NO_FATAL_FAILURE(Start());
  (void)app_->PopupTrayMenu();
  ASSERT_TRUE(app_->program().WaitForWindow(kMenuClass, seconds(5))) << "no menu";
  static const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  ::PostMessageA(app_->main(), taskbarCreated, 0, 0);
  Settle();
  PressKey('E');  // "&Exit"
  auto code = app_->program().WaitForExit(seconds(15));
  ASSERT_TRUE(code) << "the program did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(WaitForNoTrayIcon(seconds(5))) << "the icon stayed";
}

// With a file where the Backups folder should be, "Optimize Now" says why
// in a message box on every Windows; the tray's Exit comes while it is open.
TEST_F(ExitInFlight, TrayExitWhileTheRefusalOfAnApplyIsOpen) {
  BackupsBlocked blocked;
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(OptimizeUntilTheNoteShows()) << "no message";
  ASSERT_NO_FATAL_FAILURE(ExitAndExpectACleanEnd("exit under the refusal"));
  EXPECT_EQ(CountSnapshotFiles(), 0) << "no snapshot, not even part of one";
}

// A second start while the first program's handler waits in a message box:
// the second ends at once, the first is still whole and exits cleanly.
TEST_F(ExitInFlight, ASecondStartWhileAMessageBoxIsOpen) {
  BackupsBlocked blocked;
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(OptimizeUntilTheNoteShows()) << "no message";
  auto second = Program::Start();
  ASSERT_TRUE(second);
  auto code = second->WaitForExit(seconds(15));
  ASSERT_TRUE(code) << "the second start did not end";
  EXPECT_TRUE(app_->program().IsRunning());
  ASSERT_NO_FATAL_FAILURE(ExitAndExpectACleanEnd("exit under the note after a second start"));
}

// A claim of 512 MB still running on its worker when the user exits:
// nothing waits for it, and the program ends at once.
TEST_F(ExitInFlight, AClaimOfFiveHundredTwelveMegabytesStillRunning) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(app_->SendCommand("IDC_FS_systemSatus"));
  std::optional<HWND> status = ShownInFrame(kStatusClass);
  ASSERT_TRUE(status);
  HWND slider = ::GetDlgItem(*status, kIdSldFreeMomoryReq);
  ::SendMessageA(slider, TBM_SETPOS, TRUE, 512);
  ::PostMessageA(*status, WM_COMMAND, MAKEWPARAM(kIdCmdOptimaize, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(*status, kIdCmdOptimaize)));
  ASSERT_NO_FATAL_FAILURE(ExitAndExpectACleanEnd("exit with a claim running"));
}

// The backup manager's restore waits for the user's "Yes" when the tray's
// Exit comes: the program ends cleanly, restores nothing and keeps every
// snapshot.
TEST_F(ExitInFlight, TrayExitWhileTheRestoreQuestionIsOpen) {
  // A snapshot to restore, made by an apply from the command line.
  StartOptions apply;
  apply.arguments = "/apply 1";
  auto applying = Program::Start(apply);
  ASSERT_TRUE(applying);
  ASSERT_TRUE(applying->WaitForExit(seconds(30))) << "the command-line apply did not end";
  const int snapshots = CountSnapshotFiles();
  ASSERT_GE(snapshots, 1) << "the apply made no snapshot";
  const char* tcp = IsNtFamily() ? kTcpip : kMstcp;
  const auto ttl = ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "DefaultTTL");

  ASSERT_NO_FATAL_FAILURE(Start());
  if (!app_->ClickButton("IDC_FS_backupManger")) {
    ASSERT_TRUE(app_->SendCommand("IDC_FS_backupManger"));
  }
  std::optional<HWND> manager = ShownInFrame(kBackUpClass);
  ASSERT_TRUE(manager);
  HWND list = ::GetDlgItem(*manager, kIdLstBackUpList);
  HWND restore = ::GetDlgItem(*manager, kIdCmdRestore);
  // The first row, just under the list's heading.
  RECT heading{};
  ::GetWindowRect(reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0)), &heading);
  Settle();
  ClickInWindow(list, 12, heading.bottom - heading.top + 8);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(restore) != FALSE; }, seconds(10))) << "no row selected";
  RECT button{};
  ::GetClientRect(restore, &button);
  ClickInWindow(restore, button.right / 2, button.bottom / 2);
  auto question = WaitForMessageBox(app_->program().pid(), seconds(10));
  ASSERT_TRUE(question) << "no question before the restore";
  EXPECT_EQ(question->text, "Do you want to restore this settings?");
  SaveScreenshot("exit-under-the-restore-question");
  ASSERT_NO_FATAL_FAILURE(ExitAndExpectACleanEnd("exit under the restore question"));
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "DefaultTTL"), ttl) << "nothing was restored";
  EXPECT_EQ(CountSnapshotFiles(), snapshots) << "every snapshot stays";
}

}  // namespace
}  // namespace corvane::gui
