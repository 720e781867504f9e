// The list module on a real list view: rows found by item data while the
// list view sorts them with CompareListItems, 32-character texts, and the
// list's own sorting by style, for rows there and rows added later.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tuning/win32/Win32ListView.h"

namespace corvane::testing {
namespace {

using Texts = std::vector<std::string>;

const PictureDateTimeFormat kUs("M/d/yyyy", "h:mm:ss tt");
// The date column, as a click on its header sorts it.
constexpr ListSort kByDate{2, 0, mListView::kKindDate};
constexpr ListSort kByDateDescending{2, 1, mListView::kKindDate};

class ListViewOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&init));
    parent_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 420, 300, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                              0, 0, 400, 280, parent_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list_, nullptr);
    control_ = win32::Win32ListControl(list_);
    const char* headings[] = {"File Name", "Creating Date", "Creating Time"};
    for (int i = 0; i < 3; ++i) {
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      column.pszText = const_cast<char*>(headings[i]);
      column.cx = 120;
      column.iSubItem = i;
      ASSERT_EQ(::SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                               reinterpret_cast<LPARAM>(&column)),
                i);
    }
  }
  void TearDown() override {
    if (parent_ != nullptr) ::DestroyWindow(parent_);
  }
  void Add(const std::string& name, const std::string& date, mListView::ItemParam param) {
    const std::string texts[] = {name, date, ""};
    list().AddRow(texts, param);
  }
  Texts Column(int subItem) {
    Texts texts;
    for (int i = 0; i < list().RowCount(); ++i) texts.push_back(list().ItemText(i, subItem, 260));
    return texts;
  }
  win32::Win32ListControl& list() { return control_; }

  HWND parent_ = nullptr;
  HWND list_ = nullptr;
  win32::Win32ListControl control_{nullptr};
};

TEST_F(ListViewOnWindows, RowsItemDataAndThirtyOneCharacterTexts) {
  Add("001.BCK", "1/21/2008", 4711);
  Add("002.BCK", std::string(40, '7'), -3);
  EXPECT_EQ(list().RowCount(), 2);
  EXPECT_EQ(win32::FindItemByParam(list_, 4711), 0);
  EXPECT_EQ(win32::FindItemByParam(list_, -3), 1);
  EXPECT_EQ(win32::FindItemByParam(list_, 5), -1);
  EXPECT_EQ(win32::GetSubItemText(list_, 0, 2), "1/21/2008");
  EXPECT_EQ(win32::GetSubItemText(list_, 1, 2), std::string(31, '7'));
  EXPECT_EQ(list().Selected(), -1);
  list().Select(1);
  EXPECT_EQ(list().Selected(), 1);
  list().Clear();
  EXPECT_EQ(list().RowCount(), 0);
}

TEST_F(ListViewOnWindows, TheSortItemsMessageWithCompareListItemsOrdersByDate) {
  const char* dates[] = {"3/1/2008", "1/5/2008", "", "12/31/2007", "2/29/2008", "7/4/2006",
                         "1/1/2009", "6/15/2008", "6/14/2008", "bad"};
  mListView::ItemParam param = 91;
  int n = 0;
  for (const char* date : dates) {
    Add("R" + std::to_string(n++), date, param);
    param = (param * 37) % 1009;  // item data in no order at all
  }
  list().Select(3);  // 12/31/2007
  list().SetOwnSort(false, 0);
  list().SortByCompareListItems(kByDate, kUs);
  Texts column = Column(1);
  EXPECT_EQ(Texts(column.begin() + 2, column.end()),
            (Texts{"7/4/2006", "12/31/2007", "1/5/2008", "2/29/2008", "3/1/2008", "6/14/2008",
                   "6/15/2008", "1/1/2009"}));
  EXPECT_EQ(list().ItemText(list().Selected(), 1, 32), "12/31/2007");  // the selection moved with its row
  list().SortByCompareListItems(kByDateDescending, kUs);
  column = Column(1);
  EXPECT_EQ(Texts(column.begin(), column.begin() + 3), (Texts{"1/1/2009", "6/15/2008", "6/14/2008"}));
}

// The list view's compare function must not send the list messages; both
// sorts read the rows before the list sorts.
TEST_F(ListViewOnWindows, NeitherSortAsksTheListAnythingWhileItSorts) {
  for (int i = 0; i < 12; ++i) Add(std::to_string((i * 7) % 12) + ".BCK", std::to_string(1 + i % 12) + "/3/2008", i);
  static WNDPROC original = nullptr;
  static int sorting = 0;
  static int asked = 0;
  original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == LVM_SORTITEMS) {
          ++sorting;
          LRESULT r = ::CallWindowProcA(original, w, m, wp, lp);
          --sorting;
          return r;
        }
        if (sorting > 0) ++asked;
        return ::CallWindowProcA(original, w, m, wp, lp);
      })));
  asked = 0;
  list().SetOwnSort(false, 0);
  list().SortByCompareListItems(kByDate, kUs);
  EXPECT_EQ(asked, 0) << "messages to the list from its compare function";
  EXPECT_EQ(Column(1).front(), "1/3/2008");
  list().SetOwnSort(true, 1);
  EXPECT_EQ(asked, 0) << "messages to the list from its compare function";
  EXPECT_EQ(Column(0).front(), "9.BCK");
  ::SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

TEST_F(ListViewOnWindows, TheListsOwnSortHoldsForRowsThereAndRowsAddedLater) {
  Add("003.BCK", "", 1);
  Add("001.BCK", "", 2);
  Add("002.BCK", "", 3);
  list().SetOwnSort(true, 0);
  EXPECT_EQ(Column(0), (Texts{"001.BCK", "002.BCK", "003.BCK"}));
  Add("000.BCK", "", 4);
  EXPECT_EQ(Column(0), (Texts{"000.BCK", "001.BCK", "002.BCK", "003.BCK"}));
  list().SetOwnSort(true, 1);
  EXPECT_EQ(Column(0), (Texts{"003.BCK", "002.BCK", "001.BCK", "000.BCK"}));
  Add("004.BCK", "", 5);
  EXPECT_EQ(Column(0).front(), "004.BCK");
  list().SetOwnSort(false, 0);
  Add("005.BCK", "", 6);
  EXPECT_EQ(Column(0).back(), "005.BCK");
}

}  // namespace
}  // namespace corvane::testing
