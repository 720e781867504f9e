#include "platform/win32/FormWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/ui/SharedTicks.h"
#include "platform/win32/GraphControl.h"
#include "platform/win32/Handle.h"
#include "platform/win32/Screen.h"

namespace corvane::win32 {

namespace {

using ui::ControlKind;
using ui::Event;

// The drop-down part of a drop-down list, below its edit line.
constexpr int kDropDownHeight = 150;
// The tick identifiers are apart from the controls' in the re-entry guard.
constexpr int kTimerGuardOffset = 0x10000;

struct ControlClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const ui::Control& c) {
  switch (c.kind) {
    case ControlKind::Button: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    // Three states so that the grayed value 2 can be shown; a click turns
    // it between checked and unchecked only (see WM_COMMAND).
    case ControlKind::CheckBox: return {"BUTTON", BS_3STATE | WS_TABSTOP, 0};
    case ControlKind::Option: return {"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::Frame: return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Panel: return {"STATIC", SS_LEFT, 0};
    case ControlKind::Label:
      return {"STATIC", static_cast<DWORD>((c.flags & ui::kCentered) != 0 ? SS_CENTER : SS_LEFT), 0};
    case ControlKind::TextBox: {
      DWORD style = ES_AUTOHSCROLL | WS_TABSTOP;
      if ((c.flags & ui::kReadOnly) != 0) style |= ES_READONLY;
      if ((c.flags & ui::kNumber) != 0) style |= ES_NUMBER;
      if ((c.flags & ui::kCentered) != 0) style |= ES_CENTER;
      return {"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::ComboBox: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ListBox: return {"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ListView:
      return {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::Slider: return {TRACKBAR_CLASSA, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0};
    case ControlKind::UpDown: return {UPDOWN_CLASSA, UDS_ARROWKEYS, 0};
    case ControlKind::Graph: return {kGraphClassName, 0, WS_EX_CLIENTEDGE};
  }
  return {"STATIC", 0, 0};
}

// The timers of every form of the user-interface thread, run by the system
// timers of one hidden window (ui::SharedTicks): the alarm check's and the
// status graphs' ticks wake the thread together. Forms are made, ticked and
// unloaded on that thread only.
class TickHub {
 public:
  static TickHub& Instance() {
    static TickHub hub;
    return hub;
  }
  void Set(FormWindow* form, int group, int interval) { Apply(ticks_.Set({form, group}, interval)); }
  void Forget(FormWindow* form) { Apply(ticks_.Forget(form)); }
  std::vector<int> SystemTimers() const { return ticks_.SystemTimers(); }

 private:
  static constexpr const char* kClassName = "CorvaneTicks";

  void Apply(const std::vector<ui::SharedTicks::Change>& changes) {
    if (changes.empty()) return;
    HWND window = Hwnd();
    for (const ui::SharedTicks::Change& change : changes) {
      const auto id = static_cast<UINT_PTR>(change.interval);
      if (window == nullptr) break;
      if (change.start) {
        (void)::SetTimer(window, id, static_cast<UINT>(change.interval), nullptr);
      } else {
        (void)::KillTimer(window, id);
      }
    }
  }

  HWND Hwnd() {
    if (window_) return window_.get();
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!::GetClassInfoExA(instance, kClassName, &wc)) {
      wc = WNDCLASSEXA{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Proc;
      wc.hInstance = instance;
      wc.lpszClassName = kClassName;
      (void)::RegisterClassExA(&wc);
    }
    // A message-only window where the system has them (2000 and later), so
    // that no list of the program's windows shows it; a hidden pop-up
    // before them.
    window_.reset(::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
    if (!window_) {
      window_.reset(::CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
    }
    return window_.get();
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
      Instance().Fire(static_cast<int>(wParam));
      return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }

  void Fire(int interval) {
    for (const ui::SharedTicks::Key& key : ticks_.Tick(interval)) {
      // A form that an earlier tick's handler unloaded, or a timer it
      // stopped, ticks no more.
      if (!ticks_.Running(key)) continue;
      static_cast<FormWindow*>(const_cast<void*>(key.first))->TickGroup(key.second);
    }
  }

  ui::SharedTicks ticks_;
  UniqueHwnd window_;
};

}  // namespace

std::vector<int> FormSystemTimers() { return TickHub::Instance().SystemTimers(); }

FormWindow::~FormWindow() { Unload(); }

bool FormWindow::Load(IShellServices& services, HWND owner) {
  if (IsLoaded()) return true;
  services_ = &services;
  WNDCLASSEXA wc{};
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
  int tppX = ScreenTwipsPerPixel(LOGPIXELSX);
  int tppY = ScreenTwipsPerPixel(LOGPIXELSY);
  const std::string windowClass(layout_.windowClass);
  const std::string caption(layout_.caption);
  // Not WS_CLIPCHILDREN: group boxes draw only their outline and caption,
  // so the form's own background must reach the space inside them.
  if (!CreateBound(windowClass.c_str(), wc, WS_EX_CONTROLPARENT, caption.c_str(), WS_POPUP, 0, 0,
                   ui::ToPixels(layout_.unit, layout_.width, tppX), ui::ToPixels(layout_.unit, layout_.height, tppY),
                   owner, nullptr, services.instance())) {
    return false;
  }
  CreateControls(services.instance());
  host_.Open();
  host_.Attach(MakeModel(services));
  // The load event: skin, then the model's own load.
  (void)services.ApplySkin(Window::hwnd(), "controlForm");
  services.applyAllControls(Window::hwnd());
  host_.Run([](ui::FormModel& model) { model.OnLoad(); });
  return true;
}

void FormWindow::CreateControls(HINSTANCE instance) {
  // The list view, slider and up-down classes are all in the first common
  // controls library; InitCommonControlsEx needs a later one than Windows 95
  // as first released has.
  ::InitCommonControls();
  (void)RegisterGraphControl(instance);
  int tppX = ScreenTwipsPerPixel(LOGPIXELSX);
  int tppY = ScreenTwipsPerPixel(LOGPIXELSY);
  HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  const std::size_t count = layout_.controls.size();
  controls_.assign(count, nullptr);
  ownVisible_.assign(count, true);
  captions_.assign(count, std::string());
  unwritten_.assign(count, false);
  for (std::size_t i = 0; i < count; ++i) {
    const ui::Control& c = layout_.controls[i];
    ownVisible_[i] = (c.flags & ui::kHidden) == 0;
    ControlClass cls = ClassFor(c);
    DWORD style = WS_CHILD | cls.style;
    if (ShownByLayout(static_cast<int>(i))) style |= WS_VISIBLE;
    if ((c.flags & ui::kDisabled) != 0) style |= WS_DISABLED;
    if (c.kind == ControlKind::Option && (c.flags & ui::kGroupStart) != 0) style |= WS_GROUP | WS_TABSTOP;
    // Every control is a child of the form, placed by adding up its
    // containers, so that its notifications reach the form.
    ui::Rect r = ui::FormRect(layout_, c);
    int height = ui::ToPixels(layout_.unit, r.height, tppY);
    if (c.kind == ControlKind::ComboBox) height += kDropDownHeight;
    const std::string caption(c.caption);
    HWND control = ::CreateWindowExA(cls.exStyle, cls.className, caption.c_str(), style,
                                     ui::ToPixels(layout_.unit, r.left, tppX), ui::ToPixels(layout_.unit, r.top, tppY),
                                     ui::ToPixels(layout_.unit, r.width, tppX), height, Window::hwnd(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (control == nullptr) continue;
    controls_[i] = control;
    captions_[i] = caption;
    (void)::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    switch (c.kind) {
      case ControlKind::ListView:
        (void)::SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        break;
      case ControlKind::UpDown:
        // The arrows report a step each; the model keeps the number.
        (void)::SendMessageA(control, UDM_SETRANGE32, 0, 100);
        (void)::SendMessageA(control, UDM_SETPOS32, 0, 50);
        break;
      default:
        break;
    }
  }
  int column = 0;
  int lastList = 0;
  for (const ui::Column& col : layout_.columns) {
    if (col.control != lastList) column = 0;
    lastList = col.control;
    std::string heading(col.heading);
    LVCOLUMNA lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.pszText = heading.data();
    lvc.cx = ui::ToPixels(layout_.unit, col.width, tppX);
    lvc.iSubItem = column;
    (void)::SendMessageA(Control(col.control), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                         reinterpret_cast<LPARAM>(&lvc));
    ++column;
  }
  // Containers lie under the controls they hold, the outermost lowest.
  for (auto c = layout_.controls.rbegin(); c != layout_.controls.rend(); ++c) {
    if (c->kind == ControlKind::Frame || c->kind == ControlKind::Panel) {
      (void)::SetWindowPos(Control(c->id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

void FormWindow::Unload() {
  // The model first, over the controls still there; it is freed now, or
  // when the handler that waits further up returns.
  host_.Unload();
  toolTips_.reset();
  tipped_.clear();
  busy_ = false;
  if (HWND window = Window::hwnd()) ::DestroyWindow(window);
  controls_.clear();
  unwritten_.clear();
  timers_.Clear();
  TickHub::Instance().Forget(this);
}

void FormWindow::BeforeShow() {
  host_.Run([](ui::FormModel& model) { model.BeforeShow(); });
}

void FormWindow::Deliver(const Event& event) {
  if (host_.model() == nullptr || quiet_) return;
  int key = event.kind == Event::Tick ? event.id + kTimerGuardOffset : event.id;
  auto handle = [&] { host_.Run([&](ui::FormModel& model) { model.OnEvent(event); }); };
  if (services_ != nullptr) {
    (void)services_->pump().Run(this, key, handle);
  } else {
    handle();
  }
}

// ---- the view ---------------------------------------------------------------

void FormWindow::SetText(int id, std::string_view text) {
  const int index = index_.IndexOf(id);
  HWND window = id == 0 ? Window::hwnd() : ControlAt(index);
  if (window == nullptr) return;
  const ui::Control* c = id == 0 ? nullptr : &index_.At(index);
  if (c != nullptr && c->kind != ControlKind::TextBox && c->kind != ControlKind::ComboBox) {
    // Captions only ever change through here, so theirs is compared with
    // what was last set, the table's caption at first (timers rewrite some
    // several times a second): no reading back.
    const auto place = static_cast<std::size_t>(index);
    std::string& last = captions_[place];
    if (last == text) return;
    last = std::string(text);
    // A hidden form's captions are written when it shows: the status
    // window's timers rewrite two of them several times a second all day,
    // and each write costs the window system a request and a redraw.
    if (!Shown()) {
      unwritten_[place] = true;
      return;
    }
    unwritten_[place] = false;
    (void)::SetWindowTextA(window, last.c_str());
    return;
  }
  // What a box shows may be the user's typing, known only to the box. An
  // equal text raises nothing; any other raises the box's Change (the edit
  // control's EN_CHANGE) once, before this returns, marked as set whole.
  if (Text(id) == text) return;
  const std::string copy(text);
  const int outer = std::exchange(settingText_, id);
  (void)::SetWindowTextA(window, copy.c_str());
  settingText_ = outer;
}

bool FormWindow::Shown() const { return (::GetWindowLongA(Window::hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

void FormWindow::WriteUnwrittenCaptions() {
  for (std::size_t i = 0; i < unwritten_.size(); ++i) {
    if (!unwritten_[i]) continue;
    unwritten_[i] = false;
    if (i < controls_.size() && controls_[i] != nullptr) (void)::SetWindowTextA(controls_[i], captions_[i].c_str());
  }
}

std::string FormWindow::Text(int id) const {
  if (id != 0) {
    const int index = index_.IndexOf(id);
    if (index >= 0 && static_cast<std::size_t>(index) < unwritten_.size() &&
        unwritten_[static_cast<std::size_t>(index)]) {
      return captions_[static_cast<std::size_t>(index)];
    }
  }
  HWND window = id == 0 ? Window::hwnd() : Control(id);
  if (window == nullptr) return {};
  int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  int n = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(n, 0)));
  return text;
}

void FormWindow::SetValue(int id, int value) {
  const ui::Control* c = Find(id);
  HWND control = Control(id);
  if (c == nullptr || control == nullptr) return;
  switch (c->kind) {
    case ControlKind::CheckBox:
      (void)::SendMessageA(control, BM_SETCHECK,
                           value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
      return;
    case ControlKind::Option:
      if (value != 0) {
        for (int other : ui::OptionGroup(layout_, id)) {
          if (other != id) (void)::SendMessageA(Control(other), BM_SETCHECK, BST_UNCHECKED, 0);
        }
      }
      (void)::SendMessageA(control, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      return;
    case ControlKind::ComboBox:
      (void)::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
      return;
    case ControlKind::ListBox:
      (void)::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
      return;
    case ControlKind::ListView: {
      bool wasQuiet = std::exchange(quiet_, true);
      LVITEMA none{};
      none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      (void)::SendMessageA(control, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
      if (value >= 0 && value < ItemCount(id)) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        (void)::SendMessageA(control, LVM_SETITEMSTATE, static_cast<WPARAM>(value), reinterpret_cast<LPARAM>(&item));
        (void)::SendMessageA(control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(value), FALSE);
      }
      quiet_ = wasQuiet;
      return;
    }
    case ControlKind::Slider:
      (void)::SendMessageA(control, TBM_SETPOS, TRUE, value);
      return;
    default:
      return;
  }
}

int FormWindow::Value(int id) const {
  const ui::Control* c = Find(id);
  HWND control = Control(id);
  if (c == nullptr || control == nullptr) return 0;
  switch (c->kind) {
    case ControlKind::CheckBox: {
      LRESULT state = ::SendMessageA(control, BM_GETCHECK, 0, 0);
      return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
    }
    case ControlKind::Option:
      return ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    case ControlKind::ComboBox:
      return static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    case ControlKind::ListBox:
      return static_cast<int>(::SendMessageA(control, LB_GETCURSEL, 0, 0));
    case ControlKind::ListView:
      return static_cast<int>(::SendMessageA(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    case ControlKind::Slider:
      return static_cast<int>(::SendMessageA(control, TBM_GETPOS, 0, 0));
    default:
      return 0;
  }
}

void FormWindow::SetRange(int id, int minimum, int maximum) {
  const ui::Control* c = Find(id);
  if (c == nullptr || c->kind != ControlKind::Slider) return;
  (void)::SendMessageA(Control(id), TBM_SETRANGEMIN, FALSE, minimum);
  (void)::SendMessageA(Control(id), TBM_SETRANGEMAX, TRUE, maximum);
}

void FormWindow::SetEnabled(int id, bool enabled) {
  if (HWND control = Control(id)) (void)::EnableWindow(control, enabled ? TRUE : FALSE);
}

bool FormWindow::Enabled(int id) const {
  HWND control = Control(id);
  return control != nullptr && ::IsWindowEnabled(control) != FALSE;
}

bool FormWindow::EditedByUser(int id) const {
  if (settingText_ == id) return false;
  // The box's modified flag: an edit of the user's (a key, a paste, an
  // undo) sets it, a text set whole (WM_SETTEXT, from here or from another
  // program) clears it.
  HWND box = Control(id);
  return box != nullptr && ::SendMessageA(box, EM_GETMODIFY, 0, 0) != FALSE;
}

bool FormWindow::ShownByLayout(int index) const {
  // A table with a cycle in its parents is refused by CheckLayout; stop
  // after as many steps as there are controls all the same.
  for (std::size_t steps = 0; index >= 0 && steps <= ownVisible_.size(); ++steps) {
    if (static_cast<std::size_t>(index) < ownVisible_.size() && !ownVisible_[static_cast<std::size_t>(index)]) {
      return false;
    }
    index = index_.ParentOf(index);
  }
  return true;
}

void FormWindow::SetVisible(int id, bool visible) {
  const int index = index_.IndexOf(id);
  if (index < 0 || static_cast<std::size_t>(index) >= ownVisible_.size()) return;
  ownVisible_[static_cast<std::size_t>(index)] = visible;
  // The control and what it holds, nothing else: each shows while all
  // around it shows.
  auto show = [this](int place) {
    if (HWND control = ControlAt(place)) ::ShowWindow(control, ShownByLayout(place) ? SW_SHOWNA : SW_HIDE);
  };
  show(index);
  for (int inside : index_.Held(index)) show(inside);
}

bool FormWindow::Visible(int id) const {
  const int index = index_.IndexOf(id);
  return ControlAt(index) != nullptr && ShownByLayout(index);
}

void FormWindow::SetItems(int id, std::span<const std::string> items) {
  const ui::Control* c = Find(id);
  HWND control = Control(id);
  if (c == nullptr || control == nullptr) return;
  bool combo = c->kind == ControlKind::ComboBox;
  if (!combo && c->kind != ControlKind::ListBox) return;
  (void)::SendMessageA(control, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    (void)::SendMessageA(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
}

int FormWindow::ItemCount(int id) const {
  const ui::Control* c = Find(id);
  HWND control = Control(id);
  if (c == nullptr || control == nullptr) return 0;
  switch (c->kind) {
    case ControlKind::ComboBox: return static_cast<int>(::SendMessageA(control, CB_GETCOUNT, 0, 0));
    case ControlKind::ListBox: return static_cast<int>(::SendMessageA(control, LB_GETCOUNT, 0, 0));
    case ControlKind::ListView: return static_cast<int>(::SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
    default: return 0;
  }
}

void FormWindow::SetRows(int id, std::span<const std::vector<std::string>> rows) {
  const ui::Control* c = Find(id);
  HWND control = Control(id);
  if (c == nullptr || control == nullptr || c->kind != ControlKind::ListView) return;
  bool wasQuiet = std::exchange(quiet_, true);
  (void)::SendMessageA(control, LVM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (const auto& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      std::string text = row[column];
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = index;
      item.iSubItem = static_cast<int>(column);
      item.pszText = text.data();
      (void)::SendMessageA(control, column == 0 ? LVM_INSERTITEMA : LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ++index;
  }
  quiet_ = wasQuiet;
}

std::vector<std::vector<std::string>> FormWindow::Rows(int id) const {
  std::vector<std::vector<std::string>> rows;
  HWND control = Control(id);
  if (control == nullptr) return rows;
  std::size_t columns = 0;
  for (const ui::Column& col : layout_.columns) columns += col.control == id ? 1 : 0;
  int count = ItemCount(id);
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> row;
    for (std::size_t column = 0; column < columns; ++column) {
      char text[260] = {};
      LVITEMA item{};
      item.iSubItem = static_cast<int>(column);
      item.pszText = text;
      item.cchTextMax = sizeof text;
      (void)::SendMessageA(control, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      row.emplace_back(text);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void FormWindow::SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) {
  const ui::Control* c = Find(id);
  if (c == nullptr || c->kind != ControlKind::Graph) return;
  SetGraphSamples(Control(id), visible, zoom, total);
}

void FormWindow::SetToolTip(int id, std::string_view text) {
  HWND control = Control(id);
  if (control == nullptr || Window::hwnd() == nullptr) return;
  if (!toolTips_) {
    toolTips_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window::hwnd(), nullptr,
                                      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(Window::hwnd(), GWLP_HINSTANCE)),
                                      nullptr));
    if (!toolTips_) return;
  }
  std::string copy(text);
  // The first version of the record: every comctl32 since Windows 95 knows it.
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Window::hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = copy.data();
  if (!tipped_.contains(id)) {
    if (copy.empty()) return;
    if (::SendMessageA(toolTips_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE) tipped_.insert(id);
  } else if (copy.empty()) {
    (void)::SendMessageA(toolTips_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    tipped_.erase(id);
  } else {
    (void)::SendMessageA(toolTips_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::string FormWindow::ToolTipText(int id) const {
  HWND control = Control(id);
  if (!toolTips_ || control == nullptr || !tipped_.contains(id)) return {};
  char text[256] = {};
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = Window::hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  (void)::SendMessageA(toolTips_.get(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

void FormWindow::SetBusyPointer(bool busy) {
  busy_ = busy;
  POINT at{};
  RECT r{};
  // Changed at once where the pointer rests over the window; elsewhere the
  // next WM_SETCURSOR decides.
  if (Window::hwnd() != nullptr && ::GetCursorPos(&at) && ::GetWindowRect(Window::hwnd(), &r) && ::PtInRect(&r, at)) {
    (void)::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_WAIT : IDC_ARROW)));
  }
}

int FormWindow::ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) {
  const std::string t(text);
  const std::string caption(title);
  return ::MessageBoxA(Window::hwnd(), t.c_str(), caption.c_str(), flags);
}

void FormWindow::SetTimer(int id, int intervalMs) {
  if (Window::hwnd() == nullptr || id <= 0) return;
  for (const ui::TimerGroups::Change& change : timers_.Set(id, ui::TimerInterval(intervalMs))) {
    TickHub::Instance().Set(this, change.systemId, change.interval);
  }
}

void FormWindow::TickGroup(int group) {
  const std::vector<int> ticking = timers_.Members(group);
  for (int id : ticking) {
    // A tick's handler may stop the next timer or unload the form.
    if (timers_.Running(id)) Deliver(Event{id, Event::Tick, 0});
  }
}

// ---- events -----------------------------------------------------------------

bool FormWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  const int id = static_cast<int>(header.idFrom);
  const ui::Control* c = Find(id);
  if (c == nullptr) return false;
  if (c->kind == ControlKind::ListView) {
    const auto& list = reinterpret_cast<const NMLISTVIEW&>(header);
    switch (header.code) {
      case LVN_COLUMNCLICK:
        Deliver(Event{id, Event::Column, list.iSubItem});
        return true;
      case LVN_ITEMCHANGED:
        if ((list.uChanged & LVIF_STATE) != 0 && (list.uNewState & LVIS_SELECTED) != 0 &&
            (list.uOldState & LVIS_SELECTED) == 0) {
          Deliver(Event{id, Event::Select, list.iItem});
        }
        return true;
      case NM_DBLCLK:
        Deliver(Event{id, Event::DoubleClick, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem});
        return true;
      default:
        return false;
    }
  }
  if (c->kind == ControlKind::UpDown && header.code == UDN_DELTAPOS) {
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    if (change.iDelta != 0) Deliver(Event{id, Event::Scroll, change.iDelta > 0 ? 1 : -1});
    // The arrows keep their middle place: the model keeps the number.
    result = TRUE;
    return true;
  }
  return false;
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const ui::Control* c = lParam != 0 ? Find(id) : nullptr;
      if (c == nullptr) break;
      const int code = HIWORD(wParam);
      switch (c->kind) {
        case ControlKind::CheckBox:
          if (code == BN_CLICKED) {
            // A click checks an unchecked or grayed box and clears a checked one.
            int next = Value(id) == 1 ? 0 : 1;
            (void)::SendMessageA(Control(id), BM_SETCHECK,
                                 next == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
            Deliver(Event{id, Event::Click, next});
          }
          return 0;
        case ControlKind::Button:
        case ControlKind::Option:
          if (code == BN_CLICKED) Deliver(Event{id, Event::Click, Value(id)});
          return 0;
        case ControlKind::TextBox:
          if (code == EN_CHANGE) Deliver(Event{id, Event::Change, EditedByUser(id) ? ui::kEditedByUser : 0});
          return 0;
        case ControlKind::ComboBox:
          if (code == CBN_SELCHANGE) Deliver(Event{id, Event::Select, Value(id)});
          return 0;
        case ControlKind::ListBox:
          if (code == LBN_SELCHANGE) Deliver(Event{id, Event::Select, Value(id)});
          if (code == LBN_DBLCLK) Deliver(Event{id, Event::DoubleClick, Value(id)});
          return 0;
        default:
          break;
      }
      break;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (header != nullptr && OnNotify(*header, result)) return result;
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control == nullptr || LOWORD(wParam) == TB_ENDTRACK) break;
      const int id = ::GetDlgCtrlID(control);
      const ui::Control* c = Find(id);
      if (c != nullptr && c->kind == ControlKind::Slider) {
        Deliver(Event{id, Event::Scroll, Value(id)});
        return 0;
      }
      break;
    }
    case WM_SETCURSOR:
      // Over the form and every control on it while busy.
      if (busy_ && LOWORD(lParam) == HTCLIENT) {
        (void)::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        return TRUE;
      }
      break;
    case WM_SHOWWINDOW:
      if (wParam != FALSE) WriteUnwrittenCaptions();
      break;
    case WM_WINDOWPOSCHANGING: {
      const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (place != nullptr && (place->flags & SWP_SHOWWINDOW) != 0) WriteUnwrittenCaptions();
      break;
    }
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace corvane::win32
