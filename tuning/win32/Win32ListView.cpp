#include "tuning/win32/Win32ListView.h"

#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace corvane::win32 {

namespace {

// The item data of a row.
LPARAM ParamAt(HWND list, int index) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE ? item.lParam : 0;
}

// The rows' own texts, read before the list sorts: the list view's compare
// function must not send the list any message.
struct RowTexts {
  std::unordered_map<LPARAM, std::string> texts;
  bool descending = false;
};

// The rows by their own text, as the list view orders rows it sorts itself.
int CALLBACK CompareRowTexts(LPARAM first, LPARAM second, LPARAM rows) {
  const RowTexts& known = *reinterpret_cast<const RowTexts*>(rows);
  auto text = [&](LPARAM param) {
    auto found = known.texts.find(param);
    return found != known.texts.end() ? found->second.c_str() : "";
  };
  int result = ::lstrcmpA(text(first), text(second));
  result = result < 0 ? -1 : result > 0 ? 1 : 0;
  return known.descending ? -result : result;
}

}  // namespace

void Win32ListControl::Clear() { (void)::SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0); }

void Win32ListControl::AddRow(std::span<const std::string> texts, mListView::ItemParam param) {
  if (texts.empty()) return;
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = RowCount();
  item.pszText = const_cast<char*>(texts[0].c_str());
  item.lParam = static_cast<LPARAM>(param);
  // While the list sorts itself, the row goes where its text belongs.
  const int index = static_cast<int>(
      ::SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;
  for (std::size_t column = 1; column < texts.size(); ++column) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(column);
    sub.pszText = const_cast<char*>(texts[column].c_str());
    (void)::SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(&sub));
  }
}

int Win32ListControl::RowCount() const {
  return static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

void Win32ListControl::BeginRebuild(int rowCount) {
  (void)::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  if (rowCount > 0) {
    (void)::SendMessageA(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount), 0);
  }
}

void Win32ListControl::EndRebuild() {
  (void)::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  (void)::InvalidateRect(list_, nullptr, TRUE);
}

int Win32ListControl::Selected() const {
  return static_cast<int>(
      ::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void Win32ListControl::Select(int index) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  (void)::SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
  (void)::SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

int Win32ListControl::FindParam(mListView::ItemParam param) const {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = static_cast<LPARAM>(param);
  return static_cast<int>(::SendMessageA(list_, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

std::string Win32ListControl::ItemText(int index, int subItem, std::size_t bufferSize) const {
  if (index < 0 || bufferSize == 0) return std::string();
  std::vector<char> buffer(bufferSize, '\0');
  LVITEMA item{};
  item.iSubItem = subItem;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(bufferSize);
  LRESULT length = ::SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(&item));
  if (length <= 0) return std::string();
  // The text is cut to the length the message returns.
  return std::string(buffer.data(),
                     std::min(static_cast<std::size_t>(length), bufferSize - 1));
}

void Win32ListControl::SetOwnSort(bool on, std::int32_t order) {
  LONG_PTR style = ::GetWindowLongPtrA(list_, GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(LVS_SORTASCENDING | LVS_SORTDESCENDING);
  if (on) style |= order == 1 ? LVS_SORTDESCENDING : LVS_SORTASCENDING;
  (void)::SetWindowLongPtrA(list_, GWL_STYLE, style);
  // The style orders rows added from now on; the rows already there are
  // sorted once, the same way.
  if (on) {
    RowTexts rows;
    rows.descending = order == 1;
    for (int i = 0, n = RowCount(); i < n; ++i) rows.texts[ParamAt(list_, i)] = ItemText(i, 0, MAX_PATH);
    (void)::SendMessageA(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rows),
                         reinterpret_cast<LPARAM>(&CompareRowTexts));
  }
}

void Win32ListControl::SortByCompareListItems(const ListSort& sort, const IDateTimeFormat& format) {
  // Every row's text is read now, so that the compare function finds each
  // one kept and asks the sorting list nothing.
  mListView::SortPass pass(*this, sort, format);
  for (int i = 0, n = RowCount(); i < n; ++i) {
    const auto param = static_cast<mListView::ItemParam>(ParamAt(list_, i));
    pass.Keep(param, mListView::GetSubItemText(*this, i, sort.column));
  }
  (void)::SendMessageA(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&pass),
                       reinterpret_cast<LPARAM>(&CompareListItems));
}

int FindItemByParam(HWND list, LPARAM param) {
  return mListView::FindItemByParam(Win32ListControl(list), static_cast<mListView::ItemParam>(param));
}

std::string GetSubItemText(HWND list, int index, std::int32_t column) {
  return mListView::GetSubItemText(Win32ListControl(list), index, column);
}

int CALLBACK CompareListItems(LPARAM first, LPARAM second, LPARAM pass) {
  return mListView::CompareListItems(static_cast<mListView::ItemParam>(first),
                                     static_cast<mListView::ItemParam>(second),
                                     *reinterpret_cast<mListView::SortPass*>(pass));
}

}  // namespace corvane::win32
