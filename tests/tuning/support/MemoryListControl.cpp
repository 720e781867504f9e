#include "tests/tuning/support/MemoryListControl.h"

#include <algorithm>

namespace corvane::testing {

void MemoryListControl::Clear() {
  rows_.clear();
  selected_ = -1;
}

void MemoryListControl::AddRow(std::span<const std::string> texts, mListView::ItemParam param) {
  Row row{std::vector<std::string>(texts.begin(), texts.end()), param};
  auto at = rows_.end();
  if (ownSort_) {
    at = std::find_if(rows_.begin(), rows_.end(),
                      [&](const Row& other) { return CompareOwn(row, other) < 0; });
  }
  int index = static_cast<int>(at - rows_.begin());
  rows_.insert(at, std::move(row));
  if (selected_ >= index) ++selected_;
}

void MemoryListControl::Select(int index) {
  selected_ = index >= 0 && index < RowCount() ? index : -1;
}

int MemoryListControl::FindParam(mListView::ItemParam param) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    ++rowReads;
    if (rows_[i].param == param) return static_cast<int>(i);
  }
  return -1;
}

std::string MemoryListControl::ItemText(int index, int subItem, std::size_t bufferSize) const {
  if (index < 0 || index >= RowCount() || subItem < 0 || bufferSize == 0) return std::string();
  const Row& row = rows_[static_cast<std::size_t>(index)];
  if (static_cast<std::size_t>(subItem) >= row.texts.size()) return std::string();
  const std::string& text = row.texts[static_cast<std::size_t>(subItem)];
  return text.substr(0, std::min(text.size(), bufferSize - 1));
}

int MemoryListControl::CompareOwn(const Row& a, const Row& b) const {
  int result = a.texts.at(0).compare(b.texts.at(0));
  result = result < 0 ? -1 : result > 0 ? 1 : 0;
  return ownOrder_ == 1 ? -result : result;
}

// The merge of the common controls' array sort: both halves sorted, then the
// right half's rows moved in front of the left half's where they belong,
// one at a time, so the rows stay whole at every comparison.
template <typename Compare>
void MemoryListControl::MergeSort(int left, int right, Compare compare) {
  if (left >= right) return;
  if (right - left == 1) {
    if (compare(left, right) > 0) std::swap(rows_[static_cast<std::size_t>(left)],
                                            rows_[static_cast<std::size_t>(right)]);
    return;
  }
  int middle = (left + right) / 2;
  MergeSort(left, middle, compare);
  MergeSort(middle + 1, right, compare);
  while (left <= middle && middle < right) {
    if (compare(left, middle + 1) > 0) {
      auto first = rows_.begin() + left;
      std::rotate(first, rows_.begin() + middle + 1, rows_.begin() + middle + 2);
      ++middle;
    }
    ++left;
  }
}

void MemoryListControl::SetOwnSort(bool on, std::int32_t order) {
  ownSort_ = on;
  ownOrder_ = order;
  if (!on || rows_.empty()) return;
  mListView::ItemParam selectedParam = selected_ >= 0 ? rows_[static_cast<std::size_t>(selected_)].param : 0;
  MergeSort(0, RowCount() - 1, [&](int a, int b) {
    return CompareOwn(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
  });
  if (selected_ >= 0) selected_ = FindParam(selectedParam);
}

void MemoryListControl::SortByCompareListItems(const ListSort& sort, const IDateTimeFormat& format) {
  comparisons = 0;
  rowReads = 0;
  if (rows_.empty()) return;
  mListView::SortPass pass(*this, sort, format);
  mListView::ItemParam selectedParam = selected_ >= 0 ? rows_[static_cast<std::size_t>(selected_)].param : 0;
  MergeSort(0, RowCount() - 1, [&](int a, int b) {
    ++comparisons;
    return mListView::CompareListItems(rows_[static_cast<std::size_t>(a)].param,
                                       rows_[static_cast<std::size_t>(b)].param, pass);
  });
  if (selected_ >= 0) selected_ = FindParam(selectedParam);
}

std::vector<std::string> MemoryListControl::Column(int subItem) const {
  std::vector<std::string> column;
  for (const Row& row : rows_) {
    column.push_back(static_cast<std::size_t>(subItem) < row.texts.size()
                         ? row.texts[static_cast<std::size_t>(subItem)]
                         : std::string());
  }
  return column;
}

}  // namespace corvane::testing
