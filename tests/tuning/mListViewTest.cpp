// The list module: finding rows by item data and comparing them in the
// middle of the list's own sort, and the list's own sorting on its texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tuning/support/MemoryListControl.h"
#include "tuning/mListView.h"

namespace corvane {
namespace {

using testing::MemoryListControl;

const PictureDateTimeFormat kUs("M/d/yyyy", "h:mm:ss tt");

// The sort by dates of column `column`, in that order.
ListSort ByDates(std::int32_t column, std::int32_t order = 0) { return {column, order, mListView::kKindDate}; }

class ListModule : public ::testing::Test {
 protected:
  void Add(std::string name, std::string date, std::string time, mListView::ItemParam param) {
    std::vector<std::string> texts{std::move(name), std::move(date), std::move(time)};
    list.AddRow(texts, param);
  }
  MemoryListControl list;
};

TEST_F(ListModule, FindsRowsByItemDataAndReadsTheSortColumnIntoThirtyTwoCharacters) {
  Add("001.BCK", "1/21/2008", "2:05:09 PM", 40);
  Add("002.BCK", std::string(40, 'x'), "", 7);
  EXPECT_EQ(mListView::FindItemByParam(list, 7), 1);
  EXPECT_EQ(mListView::FindItemByParam(list, 40), 0);
  EXPECT_EQ(mListView::FindItemByParam(list, 3), -1);
  EXPECT_EQ(mListView::GetSubItemText(list, 0, 2), "1/21/2008");
  EXPECT_EQ(mListView::GetSubItemText(list, 1, 2), std::string(31, 'x'));
  EXPECT_EQ(mListView::GetSubItemText(list, -1, 2), "");
  EXPECT_EQ(mListView::GetSubItemText(list, 0, 3), "2:05:09 PM");
  EXPECT_EQ(mListView::GetSubItemText(list, 1, 1), "002.BCK");
}

TEST_F(ListModule, CompareListItemsLooksBothRowsUpAndComparesTheirDates) {
  Add("001.BCK", "1/21/2008", "2:05:09 PM", 1);
  Add("002.BCK", "12/3/2007", "9:00:00 AM", 2);
  Add("003.BCK", "", "", 3);
  Add("004.BCK", "1/21/2008", "8:00:00 AM", 4);
  struct Case {
    mListView::ItemParam a, b;
    std::int32_t order;
    int expected;
  };
  const Case cases[] = {
      {1, 2, 0, 1},  {2, 1, 0, -1}, {1, 4, 0, 0},  {3, 2, 0, -1}, {3, 3, 0, 0},
      {1, 2, 1, -1}, {3, 2, 1, 1},  {1, 4, 1, 0},  {9, 2, 0, -1},  // a vanished row is empty
  };
  for (const Case& c : cases) {
    mListView::SortPass pass(list, ByDates(2, c.order), kUs);
    EXPECT_EQ(mListView::CompareListItems(c.a, c.b, pass), c.expected)
        << c.a << " vs " << c.b << " order " << c.order;
  }
}

// Finnish regional settings write times with the date separator: 14.05.09
// would read as a date (14 May of year 9). The time column is read as times.
TEST_F(ListModule, TheTimeColumnIsReadAsTimesWhereTimesLookLikeDates) {
  const PictureDateTimeFormat finnish("d.M.yyyy", "H.mm.ss");
  MemoryListControl rows;
  const std::vector<std::string> first{"001.BCK", "14.5.2009", "14.05.09"};
  const std::vector<std::string> second{"002.BCK", "1.6.2009", "9.04.10"};
  rows.AddRow(first, 1);
  rows.AddRow(second, 2);
  mListView::SortPass ascending(rows, ByDates(3), finnish);
  EXPECT_EQ(mListView::CompareListItems(1, 2, ascending), 1) << "14:05:09 comes after 9:04:10, though as dates 9 April of year 10 would come later";
  mListView::SortPass descending(rows, ByDates(3, 1), finnish);
  EXPECT_EQ(mListView::CompareListItems(1, 2, descending), -1);
}

TEST_F(ListModule, SortingThroughCompareListItemsOrdersEveryRowWhateverTheItemData) {
  // Item data that says nothing about the order: the compare function must
  // find each row again while the rows move.
  const char* dates[] = {"3/1/2008", "1/5/2008", "", "12/31/2007", "1/5/2008", "2/29/2008",
                         "7/4/2006", "bad",      "1/1/2009", "6/15/2008", "6/14/2008"};
  mListView::ItemParam param = 1000;
  int n = 0;
  for (const char* date : dates) {
    Add("R" + std::to_string(n++) + ".BCK", date, "", param);
    param = (param * 7919) % 10007;
  }
  list.SortByCompareListItems(ByDates(2), kUs);
  EXPECT_GT(list.comparisons, 0);
  std::vector<std::string> column = list.Column(1);
  ASSERT_EQ(column.size(), std::size(dates));
  // The two that do not convert come first (in either order), then by date.
  EXPECT_EQ(std::vector<std::string>(column.begin() + 2, column.end()),
            (std::vector<std::string>{"7/4/2006", "12/31/2007", "1/5/2008", "1/5/2008", "2/29/2008",
                                      "3/1/2008", "6/14/2008", "6/15/2008", "1/1/2009"}));
  EXPECT_TRUE((column[0] == "" && column[1] == "bad") || (column[0] == "bad" && column[1] == ""));

  list.SortByCompareListItems(ByDates(2, 1), kUs);
  column = list.Column(1);
  EXPECT_EQ(std::vector<std::string>(column.begin(), column.begin() + 3),
            (std::vector<std::string>{"1/1/2009", "6/15/2008", "6/14/2008"}));
  EXPECT_TRUE(column[9].empty() || column[9] == "bad");
  EXPECT_TRUE(column[10].empty() || column[10] == "bad");
}

TEST_F(ListModule, ASortOfManyRowsFindsAndReadsEachRowOncePerSort) {
  const int rows = 999;
  for (int n = 0; n < rows; ++n) {
    int k = (n * 7919) % rows;
    Add(std::to_string(n), std::to_string(1 + k % 12) + "/" + std::to_string(1 + k % 28) + "/" +
                               std::to_string(2000 + k % 9),
        "", 1000 + n);
  }
  for (std::int32_t order : {0, 1}) {
    list.SortByCompareListItems(ByDates(2, order), kUs);
    std::vector<std::string> column = list.Column(1);
    for (std::size_t i = 1; i < column.size(); ++i) {
      int c = CompareListTexts(column[i - 1], column[i], order, mListView::kKindDate, kUs);
      ASSERT_LE(c, 0) << "row " << i << " order " << order;
    }
    // One search from the start per row: at most n(n+1)/2 rows read, where
    // searching for both rows of every comparison reads about a thousand
    // rows per comparison.
    EXPECT_GT(list.comparisons, 5000);
    EXPECT_LE(list.rowReads, 1LL * rows * (rows + 1) / 2);
  }
}

TEST_F(ListModule, TheListsOwnSortOrdersTheRowTextsAndPlacesLaterRows) {
  Add("003.BCK", "", "", 1);
  Add("001.BCK", "", "", 2);
  Add("002.BCK", "", "", 3);
  list.Select(2);  // 002.BCK
  list.SetOwnSort(true, 1);
  EXPECT_EQ(list.Column(0), (std::vector<std::string>{"003.BCK", "002.BCK", "001.BCK"}));
  EXPECT_EQ(list.Selected(), 1);
  Add("004.BCK", "", "", 4);
  EXPECT_EQ(list.Column(0), (std::vector<std::string>{"004.BCK", "003.BCK", "002.BCK", "001.BCK"}));
  list.SetOwnSort(false, 0);
  Add("000.BCK", "", "", 5);
  EXPECT_EQ(list.Column(0).back(), "000.BCK");
}

}  // namespace
}  // namespace corvane
