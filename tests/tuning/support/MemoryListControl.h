// An in-memory report list for the backup manager's native tests. It sorts
// as the common controls do: an in-place merge over the rows, calling the
// compare function with two rows' item data while the rows are always a
// permutation of themselves, so that CompareListItems can find rows by their
// item data in the middle of a sort.
#pragma once

#include <string>
#include <vector>

#include "tuning/mListView.h"

namespace corvane::testing {

class MemoryListControl final : public mListView::IListControl {
 public:
  MemoryListControl() = default;

  void Clear() override;
  void AddRow(std::span<const std::string> texts, mListView::ItemParam param) override;
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  void BeginRebuild(int rowCount) override {
    rows_.reserve(static_cast<std::size_t>(rowCount > 0 ? rowCount : 0));
    ++rebuilding;
  }
  void EndRebuild() override { --rebuilding; }
  int rebuilding = 0;  // BeginRebuild without its EndRebuild
  int Selected() const override { return selected_; }
  void Select(int index) override;
  int FindParam(mListView::ItemParam param) const override;
  std::string ItemText(int index, int subItem, std::size_t bufferSize) const override;
  void SetOwnSort(bool on, std::int32_t order) override;
  void SortByCompareListItems(const ListSort& sort, const IDateTimeFormat& format) override;

  struct Row {
    std::vector<std::string> texts;
    mListView::ItemParam param = 0;
  };
  const std::vector<Row>& rows() const { return rows_; }
  // One column of every row, top to bottom.
  std::vector<std::string> Column(int subItem) const;
  bool ownSort() const { return ownSort_; }
  // How often the compare function ran in the last sort-items message.
  int comparisons = 0;
  // Rows read by the find-item searches of the last sort-items message.
  mutable long long rowReads = 0;
  // The user clears the selection (a click beside the rows).
  void ClearSelection() { selected_ = -1; }

 private:
  template <typename Compare>
  void MergeSort(int left, int right, Compare compare);
  int CompareOwn(const Row& a, const Row& b) const;

  std::vector<Row> rows_;
  int selected_ = -1;
  bool ownSort_ = false;
  std::int32_t ownOrder_ = 0;
};

}  // namespace corvane::testing
