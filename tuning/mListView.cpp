#include "tuning/mListView.h"

#include <utility>

namespace corvane::mListView {

int FindItemByParam(const IListControl& list, ItemParam param) { return list.FindParam(param); }

std::string GetSubItemText(const IListControl& list, int index, std::int32_t column) {
  if (index < 0) return std::string();
  return list.ItemText(index, column - 1, kTextBufferSize);
}

const std::string& SortPass::TextOf(ItemParam param) {
  // References into the map stay valid as it grows.
  auto known = texts_.find(param);
  if (known == texts_.end()) {
    known = texts_.emplace(param, GetSubItemText(list_, FindItemByParam(list_, param), sort_.column)).first;
  }
  return known->second;
}

int SortPass::Compare(ItemParam first, ItemParam second) {
  const std::string& a = TextOf(first);
  const std::string& b = TextOf(second);
  // "Creating Time" holds times of day, read as times whatever separator
  // the region's time format shares with its dates.
  const ColumnHolds holds = sort_.column == 3 ? ColumnHolds::TimesOfDay : ColumnHolds::Dates;
  return CompareListTexts(a, b, sort_.order, sort_.kind, format_, holds);
}

}  // namespace corvane::mListView
