// The list module of the backup manager: how CompareListItems reaches the
// rows of a report list while the list sorts them. The list control is
// reached through IListControl, whose Win32 twin (tuning/win32/Win32ListView)
// sends the list view's find-item, get-item-text and sort-items messages and
// whose in-memory twin (tests/tuning/support/MemoryListControl) sorts its
// rows the same way, item data in hand, with the rows always a permutation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "tuning/BackupManager.h"

namespace corvane::mListView {

// A row's item data (the list view's lParam).
using ItemParam = std::intptr_t;

// The buffer GetSubItemText reads a column text into, terminator included.
inline constexpr std::size_t kTextBufferSize = kCompareTextLength + 1;

class IListControl {
 public:
  // Rows.
  virtual void Clear() = 0;
  // Adds a row at the end (or, while the list sorts itself, where its text
  // belongs): texts[0] is the row's own text, the others its columns.
  virtual void AddRow(std::span<const std::string> texts, ItemParam param) = 0;
  virtual int RowCount() const = 0;
  // Around adding many rows at once: the list neither repaints nor
  // rearranges itself for each row, and makes room for rowCount rows.
  virtual void BeginRebuild(int rowCount) = 0;
  virtual void EndRebuild() = 0;
  // The selected row, -1 when none.
  virtual int Selected() const = 0;
  // Selects the row, gives it the focus and scrolls it into view.
  virtual void Select(int index) = 0;

  // The find-item message, searching from the start and matching on item
  // data: the row's index, -1 when no row has that item data.
  virtual int FindParam(ItemParam param) const = 0;
  // The get-item-text message into a buffer of bufferSize characters: the
  // text of column `subItem` (0 the row's own text) cut to what fits.
  virtual std::string ItemText(int index, int subItem, std::size_t bufferSize) const = 0;

  // The list's own sorting on its row texts: on sorts the rows now, in
  // `order` (0 ascending, 1 descending), and keeps rows added later in that
  // order; off leaves the rows as they are and adds later rows at the end.
  virtual void SetOwnSort(bool on, std::int32_t order) = 0;
  // The sort-items message with CompareListItems, by that sort and reading
  // dates in that format (a SortPass as the sort parameter).
  virtual void SortByCompareListItems(const ListSort& sort, const IDateTimeFormat& format) = 0;

 protected:
  ~IListControl() = default;
};

// The index of the row with that item data (-1 none).
int FindItemByParam(const IListControl& list, ItemParam param);
// The text of column `column` (1-based: sub-item column - 1) of row index,
// as read into the 32-character buffer: at most 31 characters.
std::string GetSubItemText(const IListControl& list, int index, std::int32_t column);

// One sort of a list by CompareListItems: the list, the sort and the
// regional format it compares with, and the row texts read so far.
//
// A row's text does not change while the list sorts, so each row is found
// and read once per sort and its text kept for the rest of that sort: the
// find-item message reads every row up to the match, and looking both rows
// up again in each of the ten thousand comparisons of a 999-row sort would
// read some ten million rows. The order is the same either way.
class SortPass {
 public:
  SortPass(const IListControl& list, const ListSort& sort, const IDateTimeFormat& format)
      : list_(list), sort_(sort), format_(format) {}
  // Keeps a row's text, so that the pass need not ask the list for it (a
  // list that sorts must not be asked anything).
  void Keep(ItemParam param, std::string text) { texts_[param] = std::move(text); }
  // The compare function's work: -1, 0 or 1.
  int Compare(ItemParam first, ItemParam second);

 private:
  const std::string& TextOf(ItemParam param);

  const IListControl& list_;
  const ListSort sort_;
  const IDateTimeFormat& format_;
  std::unordered_map<ItemParam, std::string> texts_;
};

// The compare function of the sort-items message: finds both rows by their
// item data, reads their texts and compares them by the pass's sort
// (CompareListTexts). -1, 0 or 1.
inline int CompareListItems(ItemParam first, ItemParam second, SortPass& pass) {
  return pass.Compare(first, second);
}

}  // namespace corvane::mListView
