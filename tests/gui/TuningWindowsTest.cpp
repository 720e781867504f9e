// The wizard and the backup manager in the real corvane.exe, as a user meets
// them: the wizard from the movie, "Automatic-C" chosen and its summary read,
// "Optimize Now" writing that preset and a new snapshot with the movie home;
// the backup manager listing the new snapshot, sorting by date and time,
// restoring it (the registry as before) and deleting it; a snapshot of the
// other Windows family refused.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
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

constexpr char kWizardClass[] = "CorvaneWizardMode";
constexpr char kBackUpClass[] = "CorvaneBackUp";
// Control identifiers of the two forms (tuning/WizardMode.h, tuning/BackupWindow.h).
constexpr int kIdOptMode0 = 10;
constexpr int kIdLblModeDescrip = 20;
constexpr int kIdCmdOptimize = 21;
constexpr int kIdLstBackUpList = 2;
constexpr int kIdCmdRestore = 3;
constexpr int kIdCmdDelete = 4;

constexpr auto kWait = std::chrono::seconds(10);

const char* kSummaryA =
    "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\nNDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
    "BlackHole = False\tRWIN = 4288\t\r\nKeep Alive = 600000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n";
const char* kSummaryC =
    "MSS = -1\tMTU = -1\t\tICMP = False\r\n\r\nNDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
    "BlackHole = False\tRWIN = -1\t\r\nKeep Alive = 600000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n";

// ---- the registry values the test follows -----------------------------------

struct Place {
  HKEY root;
  std::string key;
  const char* name;
};

std::vector<Place> Followed() {
  const bool nt = IsNtFamily();
  const std::string tcp = nt ? "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"
                             : "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
  const std::string ie = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  return {{HKEY_LOCAL_MACHINE, tcp, "DefaultTTL"},
          {HKEY_LOCAL_MACHINE, tcp, "GlobalMaxTcpWindowSize"},
          {HKEY_LOCAL_MACHINE, tcp, "KeepAliveTime"},
          {HKEY_CURRENT_USER, ie, "MaxConnectionsPerServer"}};
}

// A number as the family keeps it (REG_DWORD on NT, text on 95/98/ME); nothing when absent.
std::optional<long long> ReadNumber(const Place& at) {
  auto value = corvane::testing::ReadStoredValue(at.root, at.key, at.name);
  if (!value) return std::nullopt;
  return value->number();
}

void WriteNumber(const Place& at, std::optional<long long> value) {
  ASSERT_TRUE(StoreNumber(at.root, at.key, at.name, value)) << at.name;
}

using Values = std::vector<std::optional<long long>>;
Values ReadFollowed() {
  Values values;
  for (const Place& p : Followed()) values.push_back(ReadNumber(p));
  return values;
}

// ---- files of the Backups folder ----------------------------------------------

std::string Backups() { return ProgramFolder() + "\\Backups"; }

std::set<std::string> SnapshotNames() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE find = ::FindFirstFileA((Backups() + "\\*.BCK").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.insert(found.cFileName);
  while (::FindNextFileA(find, &found));
  ::FindClose(find);
  return names;
}

void WriteFile(const std::string& path, const std::string& data) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  ::CloseHandle(file);
}

// ---- the list view of the other process ----------------------------------------

// Memory in the program's process, for the list view messages that take a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD pid, SIZE_T size) : size_(size) {
    process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) ::CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool ok() const { return address_ != nullptr; }
  char* at(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
  void Write(SIZE_T offset, const void* data, SIZE_T size) {
    (void)::WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) const {
    (void)::ReadProcessMemory(process_, at(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  SIZE_T size_;
};

using Row = std::array<std::string, 3>;

std::vector<Row> ListRows(HWND list, DWORD pid) {
  std::vector<Row> rows;
  RemoteBuffer remote(pid, 4096);
  if (!remote.ok()) return rows;
  int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    Row row;
    for (int column = 0; column < 3; ++column) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = remote.at(1024);
      item.cchTextMax = 260;
      remote.Write(0, &item, sizeof item);
      LRESULT length = ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                                      reinterpret_cast<LPARAM>(remote.at(0)));
      char text[261] = {};
      remote.Read(1024, text, 260);
      row[static_cast<std::size_t>(column)] = std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
    }
    rows.push_back(row);
  }
  return rows;
}

std::optional<RECT> RowRect(HWND list, DWORD pid, int index) {
  RemoteBuffer remote(pid, sizeof(RECT));
  if (!remote.ok()) return std::nullopt;
  RECT r{LVIR_LABEL, 0, 0, 0};
  remote.Write(0, &r, sizeof r);
  if (::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.at(0))) == 0) {
    return std::nullopt;
  }
  remote.Read(0, &r, sizeof r);
  return r;
}

int IndexOf(const std::vector<Row>& rows, const std::string& name) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][0] == name) return static_cast<int>(i);
  }
  return -1;
}

// ---- message boxes ------------------------------------------------------------

using Box = MessageBoxSeen;

std::optional<Box> WaitForBox(DWORD pid) { return WaitForMessageBox(pid, kWait); }

void Answer(const Box& box, int button) {
  ::PostMessageA(box.hwnd, WM_COMMAND, static_cast<WPARAM>(button), 0);
  WaitUntil([&] { return !::IsWindow(box.hwnd) || !::IsWindowVisible(box.hwnd); }, kWait);
  Settle();
}

// The box a click brought up: its text and caption as given, a screenshot
// of it under that name, and then the answer.
void AnswerExpectedBox(DWORD pid, const char* text, const char* caption, const char* screenshot, int button) {
  auto box = WaitForBox(pid);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, text);
  EXPECT_EQ(box->caption, caption);
  SaveScreenshot(screenshot);
  Answer(*box, button);
}

std::string TextOf(HWND window) {
  char text[2048] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

// The list's column headings, at the widths of the layout (120, 136, 124).
void ClickHeading(HWND list, int column) {
  const int centres[] = {60, 188, 318};
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  ClickInWindow(header, centres[column], 8);
  Settle();
}

class TuningWindowsTest : public RunningCorvaneTest {};

TEST_F(TuningWindowsTest, WizardOptimizeThenTheBackupManagerSortsRestoresAndDeletes) {
  const DWORD process = pid();
  const std::vector<Place> places = Followed();
  // A starting state the apply of "Automatic-C" changes in every way.
  const Values before{64, 65535, std::nullopt, 6};
  for (std::size_t i = 0; i < places.size(); ++i) WriteNumber(places[i], before[i]);
  ::CreateDirectoryA(Backups().c_str(), nullptr);
  // Two snapshots whose numbers count as 0: far apart in date, the earlier
  // one later in the day.
  WriteFile(Backups() + "\\F01.BCK", "#2001-02-03#\r\n#10:00:00#\r\n7\r\n");
  WriteFile(Backups() + "\\F02.BCK", "#2030-06-07#\r\n#01:02:03#\r\n7\r\n");
  const std::set<std::string> namesBefore = SnapshotNames();

  // The wizard from the movie.
  ASSERT_TRUE(app().ClickButton("IDC_FS_wizardMode"));
  std::optional<HWND> wizard = app().WaitForFeature(kWizardClass, kWait);
  ASSERT_TRUE(wizard) << DumpTree(app().main());
  HWND label = ::GetDlgItem(*wizard, kIdLblModeDescrip);
  EXPECT_EQ(TextOf(label), kSummaryA);
  EXPECT_EQ(::SendMessageA(::GetDlgItem(*wizard, kIdOptMode0), BM_GETCHECK, 0, 0), BST_CHECKED);
  Settle();
  SaveScreenshot("wizard-automatic-a");

  ClickInWindow(::GetDlgItem(*wizard, kIdOptMode0 + 2), 6, 8);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(label) == kSummaryC; }, kWait)) << TextOf(label);
  EXPECT_EQ(::SendMessageA(::GetDlgItem(*wizard, kIdOptMode0 + 2), BM_GETCHECK, 0, 0), BST_CHECKED);
  Settle();
  SaveScreenshot("wizard-automatic-c");

  ClickCentre(::GetDlgItem(*wizard, kIdCmdOptimize));
  // A complete apply says nothing, except, on a Windows that ignores some of
  // the values written, which ones.
  auto boxShown = [&] {
    for (const auto& w : VisibleTopLevelWindows(process)) {
      if (w.className == "#32770") return true;
    }
    return false;
  };
  ASSERT_TRUE(WaitUntil([&] { return app().MovieInFront() || boxShown(); }, kWait));
  if (boxShown()) {
    auto note = WaitForBox(process);
    ASSERT_TRUE(note);
    EXPECT_NE(note->text.find(" ignores "), std::string::npos) << note->text;
    Settle();
    SaveScreenshot("wizard-ignored-values");
    Answer(*note, IDOK);
  }
  ASSERT_TRUE(WaitUntil([&] { return app().MovieInFront(); }, kWait)) << "the movie comes home";
  EXPECT_TRUE(VisibleTopLevelWindows(process).size() == 1u);
  const Values applied = ReadFollowed();
  EXPECT_EQ(applied, (Values{128, std::nullopt, 600000, 8}));
  std::set<std::string> namesAfter = SnapshotNames();
  std::vector<std::string> added;
  for (const auto& n : namesAfter) {
    if (!namesBefore.contains(n)) added.push_back(n);
  }
  ASSERT_EQ(added.size(), 1u);
  const std::string snapshot = added[0];
  EXPECT_EQ(snapshot.size(), 7u);

  // The backup manager from the movie.
  ASSERT_TRUE(app().ClickButton("IDC_FS_backupManger"));
  std::optional<HWND> manager = app().WaitForFeature(kBackUpClass, kWait);
  ASSERT_TRUE(manager) << DumpTree(app().main());
  HWND list = ::GetDlgItem(*manager, kIdLstBackUpList);
  HWND restore = ::GetDlgItem(*manager, kIdCmdRestore);
  HWND remove = ::GetDlgItem(*manager, kIdCmdDelete);
  EXPECT_FALSE(::IsWindowEnabled(restore));
  EXPECT_FALSE(::IsWindowEnabled(remove));
  std::vector<Row> rows = ListRows(list, process);
  int newRow = IndexOf(rows, snapshot);
  ASSERT_GE(newRow, 0);
  EXPECT_FALSE(rows[static_cast<std::size_t>(newRow)][1].empty()) << "its date";
  EXPECT_FALSE(rows[static_cast<std::size_t>(newRow)][2].empty()) << "its time";

  auto order = [&](std::initializer_list<const char*> names) {
    std::vector<Row> now = ListRows(list, process);
    int last = -1;
    for (const char* name : names) {
      int at = IndexOf(now, name == nullptr ? snapshot : name);
      if (at <= last) return false;
      last = at;
    }
    return true;
  };
  ClickHeading(list, 1);
  EXPECT_TRUE(order({"F01.BCK", nullptr, "F02.BCK"})) << "by date, ascending";
  SaveScreenshot("backup-sorted-by-date");
  ClickHeading(list, 1);
  EXPECT_TRUE(order({"F02.BCK", nullptr, "F01.BCK"})) << "by date, descending";
  ClickHeading(list, 2);
  EXPECT_TRUE(order({"F02.BCK", "F01.BCK"})) << "by time of day";

  // Restore the new snapshot: the registry as before the apply.
  rows = ListRows(list, process);
  newRow = IndexOf(rows, snapshot);
  auto rect = RowRect(list, process, newRow);
  ASSERT_TRUE(rect);
  ClickInWindow(list, rect->left + 8, (rect->top + rect->bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(restore) && ::IsWindowEnabled(remove); }, kWait));
  ClickCentre(restore);
  ASSERT_NO_FATAL_FAILURE(
      AnswerExpectedBox(process, "Do you want to restore this settings?", "", "backup-restore-question", IDYES));
  EXPECT_TRUE(WaitUntil([&] { return ReadFollowed() == before; }, kWait));
  EXPECT_TRUE(::IsWindowVisible(*manager)) << "the manager stays in front";

  // Delete it: the row goes, the first row is selected with both buttons on.
  ClickInWindow(list, rect->left + 8, (rect->top + rect->bottom) / 2);
  ClickCentre(remove);
  ASSERT_NO_FATAL_FAILURE(
      AnswerExpectedBox(process, "Do you want to delete this file?", "Pellavon", "backup-delete-question", IDYES));
  EXPECT_TRUE(WaitUntil([&] { return IndexOf(ListRows(list, process), snapshot) < 0; }, kWait));
  EXPECT_FALSE(SnapshotNames().contains(snapshot));
  EXPECT_TRUE(::IsWindowEnabled(restore));
  EXPECT_TRUE(::IsWindowEnabled(remove));

  // A snapshot of the other family: the message, nothing written.
  WriteFile(Backups() + "\\F03.BCK", std::string("#2008-01-21#\r\n#14:05:09#\r\n") +
                                         (IsNtFamily() ? "3" : "7") + "\r\n");
  ASSERT_TRUE(app().ClickButton("IDC_FS_backupManger", "backups"));
  Settle();
  rows = ListRows(list, process);
  int other = IndexOf(rows, "F03.BCK");
  ASSERT_GE(other, 0);
  rect = RowRect(list, process, other);
  ASSERT_TRUE(rect);
  ClickInWindow(list, rect->left + 8, (rect->top + rect->bottom) / 2);
  ClickCentre(restore);
  auto question = WaitForBox(process);
  ASSERT_TRUE(question);
  Answer(*question, IDYES);
  auto refusal = WaitForBox(process);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->text, "This backup file was taken from another operating system!!");
  SaveScreenshot("backup-other-family");
  Answer(*refusal, IDOK);
  EXPECT_EQ(ReadFollowed(), before);

  for (const char* name : {"F01.BCK", "F02.BCK", "F03.BCK"}) ::DeleteFileA((Backups() + "\\" + name).c_str());
}

// With a file where the Backups folder should be, no snapshot can be
// written: "Optimize Now" says why, writes nothing, and the movie goes home.
TEST_F(TuningWindowsTest, OptimizeWithoutAPlaceForTheSnapshotSaysWhyAndWritesNothing) {
  const DWORD process = pid();
  const std::vector<Place> places = Followed();
  const Values before{64, 65535, std::nullopt, 6};
  for (std::size_t i = 0; i < places.size(); ++i) WriteNumber(places[i], before[i]);
  const std::string aside = ProgramFolder() + "\\Backups.aside";
  const bool moved = ::MoveFileA(Backups().c_str(), aside.c_str()) != FALSE;
  WriteFile(Backups(), "not a folder");

  ASSERT_TRUE(app().ClickButton("IDC_FS_wizardMode"));
  std::optional<HWND> wizard = app().WaitForFeature(kWizardClass, kWait);
  ASSERT_TRUE(wizard);
  ClickCentre(::GetDlgItem(*wizard, kIdCmdOptimize));
  auto why = WaitForBox(process);
  EXPECT_TRUE(why) << "no message";
  if (why) {
    EXPECT_NE(why->text.find("No network setting was changed."), std::string::npos) << why->text;
    EXPECT_EQ(why->caption, "Pellavon");
    Settle();
    SaveScreenshot("wizard-no-snapshot");
    Answer(*why, IDOK);
  }
  EXPECT_TRUE(WaitUntil([&] { return app().MovieInFront(); }, kWait));
  EXPECT_EQ(ReadFollowed(), before);

  ::DeleteFileA(Backups().c_str());
  if (moved) ::MoveFileA(aside.c_str(), Backups().c_str());
}

}  // namespace
}  // namespace corvane::gui
