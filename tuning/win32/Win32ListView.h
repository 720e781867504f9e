// The list module over a real list view (report layout): the rows through
// the list view's messages, CompareListItems as the compare function of its
// sort-items message with the list's window handle as the sort parameter.
#pragma once

#include <windows.h>

#include <string>

#include "tuning/mListView.h"

namespace corvane::win32 {

class Win32ListControl final : public mListView::IListControl {
 public:
  explicit Win32ListControl(HWND list) : list_(list) {}

  void Clear() override;
  void AddRow(std::span<const std::string> texts, mListView::ItemParam param) override;
  int RowCount() const override;
  void BeginRebuild(int rowCount) override;
  void EndRebuild() override;
  int Selected() const override;
  void Select(int index) override;
  int FindParam(mListView::ItemParam param) const override;
  std::string ItemText(int index, int subItem, std::size_t bufferSize) const override;
  void SetOwnSort(bool on, std::int32_t order) override;
  void SortByCompareListItems(const ListSort& sort, const IDateTimeFormat& format) override;

  HWND hwnd() const { return list_; }

 private:
  HWND list_;
};

// The list module's three operations on a list given by its window handle.
int FindItemByParam(HWND list, LPARAM param);
std::string GetSubItemText(HWND list, int index, std::int32_t column);
// The compare function of the sort-items message; `pass` is the
// mListView::SortPass of this sort (the list, the sort and the format).
int CALLBACK CompareListItems(LPARAM first, LPARAM second, LPARAM pass);

}  // namespace corvane::win32
