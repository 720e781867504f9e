#include "tuning/mListView.h"

namespace corvane::mListView {

int FindItemByParam(const IListControl& list, ItemParam param) { return list.FindParam(param); }

std::string GetSubItemText(const IListControl& list, int index) {
  if (index < 0) return std::string();
  return list.ItemText(index, sortColumn - 1, kTextBufferSize);
}

int CompareListItems(ItemParam first, ItemParam second, const IListControl& list,
                     const IDateTimeFormat& format) {
  std::string a = GetSubItemText(list, FindItemByParam(list, first));
  std::string b = GetSubItemText(list, FindItemByParam(list, second));
  return CompareListTexts(a, b, sortOrder, sortKind, format);
}

}  // namespace corvane::mListView
