#include "tuning/mListView.h"

#include <unordered_map>
#include <utility>

namespace corvane::mListView {

namespace {
// The column texts read in the current sort, by item data.
std::unordered_map<ItemParam, std::string>& SortTexts() {
  static std::unordered_map<ItemParam, std::string> texts;
  return texts;
}
}  // namespace

void ForgetSortTexts() { SortTexts().clear(); }

void KeepSortText(ItemParam param, std::string text) { SortTexts()[param] = std::move(text); }

int FindItemByParam(const IListControl& list, ItemParam param) { return list.FindParam(param); }

std::string GetSubItemText(const IListControl& list, int index) {
  if (index < 0) return std::string();
  return list.ItemText(index, sortColumn - 1, kTextBufferSize);
}

int CompareListItems(ItemParam first, ItemParam second, const IListControl& list,
                     const IDateTimeFormat& format) {
  auto& texts = SortTexts();
  // References into the map stay valid as it grows.
  auto text = [&](ItemParam param) -> const std::string& {
    auto known = texts.find(param);
    if (known == texts.end()) {
      known = texts.emplace(param, GetSubItemText(list, FindItemByParam(list, param))).first;
    }
    return known->second;
  };
  const std::string& a = text(first);
  const std::string& b = text(second);
  // "Creating Time" holds times of day, read as times whatever separator
  // the region's time format shares with its dates.
  const ColumnHolds holds = sortColumn == 3 ? ColumnHolds::TimesOfDay : ColumnHolds::Dates;
  return CompareListTexts(a, b, sortOrder, sortKind, format, holds);
}

}  // namespace corvane::mListView
