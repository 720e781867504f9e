// The backup manager on 999 snapshot files, on a real list view:
//  1. opening it (intializeList: every file's first two lines into a row),
//     against finding the same files and reading their first lines raw;
//  2. sorting it by "Creating Date" (ascending, then descending) and by
//     "Creating Time" through the list view's sort-items message, where
//     every comparison finds both rows by their item data and reads their
//     texts again.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "tests/support/BenchClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/tuning/support/ScatteredSnapshots.h"
#include "tuning/BackupWindow.h"
#include "tuning/Snapshot.h"
#include "tuning/SnapshotFile.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32DateTimeFormat.h"
#include "tuning/win32/Win32FileSystem.h"
#include "tuning/win32/Win32ListView.h"

namespace corvane {
namespace {

using testing::Now;

template <typename F>
double BestOf(int runs, F&& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    double start = Now();
    work();
    best = std::min(best, (Now() - start) * 1000.0);
  }
  return best;
}

// The buttons and message boxes of the form, which the benchmark does not show.
class QuietView final : public ui::IView {
 public:
  void SetText(int, std::string_view) override {}
  std::string Text(int) const override { return {}; }
  void SetValue(int, int) override {}
  int Value(int) const override { return 0; }
  void SetRange(int, int, int) override {}
  void SetEnabled(int, bool) override {}
  bool Enabled(int) const override { return true; }
  void SetVisible(int, bool) override {}
  bool Visible(int) const override { return true; }
  void SetItems(int, std::span<const std::string>) override {}
  int ItemCount(int) const override { return 0; }
  void SetRows(int, std::span<const std::vector<std::string>>) override {}
  std::vector<std::vector<std::string>> Rows(int) const override { return {}; }
  void SetSamples(int, std::span<const int>, int, std::size_t) override {}
  void SetToolTip(int, std::string_view) override {}
  int ShowMessage(std::string_view text, std::string_view, std::uint32_t) override {
    std::printf("message: %.*s\n", static_cast<int>(text.size()), text.data());
    return ui::kAnswerNo;
  }
};

}  // namespace
}  // namespace corvane

int main() {
  using namespace corvane;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  (void)::InitCommonControlsEx(&init);
  HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 440, 246, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
  HWND listWindow = ::CreateWindowExA(
      WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 12, 22, 404, 164,
      parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(kBackupColumns[static_cast<std::size_t>(i)].data());
    column.cx = 120;
    column.iSubItem = i;
    (void)::SendMessageA(listWindow, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
  }

  std::string folder = testing::BenchTempFolder("corvane-backup-window-bench");
  win32::Win32FileSystem files;
  win32::Win32DateTimeFormat format;
  win32::Win32Clock clock;
  win32::Win32Registry registry;
  std::string backups = BackupsFolder(folder);
  testing::WriteScatteredSnapshots(files, backups, 999);

  QuietView view;
  win32::Win32ListControl list(listWindow);
  testing::FakeTimers timers;
  BackupWindowModel model(BackupContext{{registry, files, clock, folder}, list, format, {}}, view, timers);
  model.OnLoad();
  std::size_t lines = 0;
  double open = BestOf(5, [&] { model.intializeList(); });
  double raw = BestOf(5, [&] { lines = testing::ReadSnapshotHeadsRaw(backups); });
  double listing = BestOf(5, [&] { (void)ListBackups(files, format, folder); });
  std::printf("of which listing the files and reading their dates: %8.2f ms\n", listing);
  std::printf("backup manager opened on %d files: %8.2f ms; finding them and reading their first"
              " two lines (%zu lines) raw: %8.2f ms; ratio %.2f (goal <= 2)\n",
              list.RowCount(), open, lines, raw, open / raw);

  // Each sort starts from a fresh list in name order; the clicks before it
  // set the header tags (a first click on a column sorts ascending).
  auto sortFromFresh = [&](std::initializer_list<int> clicksBefore, int timedColumn) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
      model.intializeList();
      for (int column : clicksBefore) model.ColumnClick(column);
      double start = Now();
      model.ColumnClick(timedColumn);
      best = std::min(best, (Now() - start) * 1000.0);
    }
    return best;
  };
  double dateAscending = sortFromFresh({0}, 1);
  double dateDescending = sortFromFresh({0, 1}, 1);
  double timeAscending = sortFromFresh({0}, 2);
  std::printf("sort of %d rows by \"Creating Date\" ascending: %8.2f ms, descending: %8.2f ms;"
              " by \"Creating Time\": %8.2f ms (goal < 250 each)\n",
              list.RowCount(), dateAscending, dateDescending, timeAscending);

  // Where a comparison's time goes: the two look-ups, the two texts, the
  // two conversions.
  {
    const int calls = 2000;
    int found = 0;
    // Item data no row has: the whole list is searched, as for the last row.
    double find = BestOf(3, [&] {
      for (int i = 0; i < calls; ++i) found += list.FindParam(-1 - i);
    });
    std::string text;
    double read = BestOf(3, [&] {
      for (int i = 0; i < calls; ++i) text = list.ItemText(i % list.RowCount(), 1, 32);
    });
    long long sum = 0;
    double parse = BestOf(3, [&] {
      for (int i = 0; i < calls; ++i) sum += format.ParseDateValue(text).value_or(0);
    });
    std::printf("per call: find by item data (all %d rows searched) %.4f ms, column text %.4f ms, date conversion %.4f ms"
                " (%d, %lld)\n", list.RowCount(), find / calls, read / calls, parse / calls, found, sum);
  }

  testing::RemoveBenchFiles(backups, "*.BCK");
  (void)::RemoveDirectoryA(folder.c_str());
  ::DestroyWindow(parent);
  return 0;
}
