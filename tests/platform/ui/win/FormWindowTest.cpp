// The kit's form against the real window system: the controls made from a
// small layout, the events they raise, the change echo of a text box (once
// for a different text, never for an equal one), the view's round trips,
// the timers, and the yield pump's guard with real clicks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/FormWindow.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/KitTestLayout.h"

namespace corvane::testing {
namespace {

using ui::Event;

void Pump(int rounds = 5) {
  for (int i = 0; i < rounds; ++i) {
    win32::DispatchWaitingMessages();
    ::Sleep(10);
  }
}

// Records every event; snaps the number box back to its last number; the
// save button yields once while it runs.
class KitModel final : public ui::FormModel {
 public:
  KitModel(ui::IView& view, ui::ITimers& timers, ui::YieldPump& pump) : view_(view), timers_(timers), pump_(pump) {
    ++living;
  }
  ~KitModel() override { --living; }
  void OnLoad() override { log.push_back("load"); }
  void OnUnload() override { log.push_back("unload"); }
  void BeforeShow() override { log.push_back("before show"); }
  void OnEvent(const Event& e) override {
    events.push_back(e);
    if (e.id == kKitText && e.kind == Event::Change) {
      std::string text = view_.Text(kKitText);
      seen.push_back(text);
      if (text.find_first_not_of("0123456789") == std::string::npos && !text.empty()) {
        accepted = text;
      } else {
        view_.SetText(kKitText, accepted);
      }
    }
    if (e.id == kKitSave && e.kind == Event::Click) {
      ++saves;
      if (onSave) onSave();
      pump_.DoEvents();
      livingAfterSave = living;
      view_.SetText(kKitLabel, "saved");
    }
    if (e.kind == Event::Tick && !(onTick && onTick(e.id))) timers_.SetTimer(e.id, 0);
  }

  std::vector<std::string> log;
  std::vector<Event> events;
  std::vector<std::string> seen;
  std::string accepted = "12";
  int saves = 0;
  std::function<void()> onSave;
  // Whether a tick leaves its timer running (else the tick stops it).
  std::function<bool(int)> onTick;
  // Models alive, and as the last save's handler ended.
  static inline int living = 0;
  static inline int livingAfterSave = -1;

 private:
  ui::IView& view_;
  ui::ITimers& timers_;
  ui::YieldPump& pump_;
};

class KitForm final : public win32::FormWindow {
 public:
  KitForm() : FormWindow(kKitTestLayout) {}
  KitModel* Model() const { return static_cast<KitModel*>(model()); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(win32::IShellServices& services) override {
    return std::make_unique<KitModel>(view(), timers(), services.pump());
  }
};

class FormWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(form.Load(services, nullptr)); }
  void TearDown() override { form.Unload(); }
  std::string ClassOf(int id) {
    char name[64] = {};
    ::GetClassNameA(form.Control(id), name, sizeof name);
    return name;
  }
  KitModel& model() { return *form.Model(); }

  FakeShellServices services;
  KitForm form;
};

TEST_F(FormWindowTest, LoadMakesEveryControlOfTheTableHiddenFormSkinnedThenTheModelLoads) {
  EXPECT_FALSE(::IsWindowVisible(form.hwnd()));
  EXPECT_EQ(services.calls, (std::vector<std::string>{"ApplySkin controlForm", "applyAllControls"}));
  EXPECT_EQ(model().log, (std::vector<std::string>{"load"}));
  char className[64] = {};
  ::GetClassNameA(form.hwnd(), className, sizeof className);
  EXPECT_STREQ(className, "CorvaneKitTest");
  RECT rect{};
  ::GetWindowRect(form.hwnd(), &rect);
  EXPECT_EQ(rect.right - rect.left, 420);
  EXPECT_EQ(rect.bottom - rect.top, 280);

  struct Expected {
    int id;
    const char* className;
  };
  for (const Expected& e : {Expected{kKitFrame, "Button"}, Expected{kKitOptA, "Button"}, Expected{kKitText, "Edit"},
                            Expected{kKitList, "ListBox"}, Expected{kKitCombo, "ComboBox"},
                            Expected{kKitRows, "SysListView32"}, Expected{kKitSlider, "msctls_trackbar32"},
                            Expected{kKitLabel, "Static"}}) {
    ASSERT_NE(form.Control(e.id), nullptr) << e.id;
    EXPECT_EQ(::lstrcmpiA(ClassOf(e.id).c_str(), e.className), 0) << e.id << " is " << ClassOf(e.id);
  }
  EXPECT_EQ(form.Text(kKitOptB), "Second");
  EXPECT_EQ(form.Text(kKitText), "12");
  EXPECT_FALSE(form.Enabled(kKitSave)) << "created disabled";
  EXPECT_FALSE(form.Visible(kKitHiddenText));
  EXPECT_EQ(::GetWindowLongPtrA(form.Control(kKitHiddenText), GWL_STYLE) & WS_VISIBLE, 0);
  // An option inside the frame sits at the frame's place plus its own.
  RECT frame{}, option{};
  ::GetWindowRect(form.Control(kKitFrame), &frame);
  ::GetWindowRect(form.Control(kKitOptB), &option);
  EXPECT_EQ(option.left - frame.left, 10);
  EXPECT_EQ(option.top - frame.top, 42);
  EXPECT_EQ(ListView_GetColumnWidth(form.Control(kKitRows), 1), 80);

  form.BeforeShow();
  EXPECT_EQ(model().log, (std::vector<std::string>{"load", "before show"}));
  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.Control(kKitText), nullptr);
}

TEST_F(FormWindowTest, ClicksAndNotificationsArriveAsEvents) {
  ::SendMessageA(form.Control(kKitCheck), BM_CLICK, 0, 0);
  ::SendMessageA(form.Control(kKitOptB), BM_CLICK, 0, 0);
  form.SetItems(kKitList, std::vector<std::string>{"one", "two"});
  ::SendMessageA(form.Control(kKitList), LB_SETCURSEL, 1, 0);
  ::SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(kKitList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.Control(kKitList)));
  form.SetRange(kKitSlider, 300, 1000);
  ::SendMessageA(form.Control(kKitSlider), TBM_SETPOS, TRUE, 500);
  ::SendMessageA(form.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 500),
                 reinterpret_cast<LPARAM>(form.Control(kKitSlider)));
  NMLISTVIEW column{};
  column.hdr.hwndFrom = form.Control(kKitRows);
  column.hdr.idFrom = kKitRows;
  column.hdr.code = LVN_COLUMNCLICK;
  column.iSubItem = 1;
  ::SendMessageA(form.hwnd(), WM_NOTIFY, kKitRows, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(model().events, (std::vector<Event>{{kKitCheck, Event::Click, 1},
                                                 {kKitOptB, Event::Click, 1},
                                                 {kKitList, Event::Select, 1},
                                                 {kKitSlider, Event::Scroll, 500},
                                                 {kKitRows, Event::Column, 1}}));
}

TEST_F(FormWindowTest, ReplacingATextRaisesChangeOnceMoreAndAnEqualTextNothing) {
  form.SetText(kKitText, "34");
  EXPECT_EQ(model().seen, (std::vector<std::string>{"34"}));
  model().seen.clear();
  form.SetText(kKitText, "3x");
  EXPECT_EQ(model().seen, (std::vector<std::string>{"3x", "34"})) << "the snap-back is seen once and stops";
  EXPECT_EQ(form.Text(kKitText), "34");
  model().seen.clear();
  form.SetText(kKitText, "34");
  EXPECT_TRUE(model().seen.empty()) << "an equal text raises nothing";
  model().events.clear();
  form.SetText(kKitLabel, "Other note");
  form.SetValue(kKitCheck, 1);
  form.SetValue(kKitOptA, 1);
  EXPECT_TRUE(model().events.empty()) << "setting values raises nothing";
}

TEST_F(FormWindowTest, AChangeSaysWhetherTheBoxWasEditedOrItsTextSetWhole) {
  model().events.clear();
  form.SetText(kKitText, "56");
  ::SendMessageA(form.Control(kKitText), EM_SETSEL, 2, 2);
  ::SendMessageA(form.Control(kKitText), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("7"));
  EXPECT_EQ(form.Text(kKitText), "567");
  // Set whole from outside the program, then edited again.
  ::SendMessageA(form.Control(kKitText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("89"));
  ::SendMessageA(form.Control(kKitText), EM_SETSEL, 0, 1);
  ::SendMessageA(form.Control(kKitText), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("7"));
  EXPECT_EQ(form.Text(kKitText), "79");
  EXPECT_EQ(model().events, (std::vector<Event>{{kKitText, Event::Change, 0},
                                                 {kKitText, Event::Change, ui::kEditedByUser},
                                                 {kKitText, Event::Change, 0},
                                                 {kKitText, Event::Change, ui::kEditedByUser}}));
}

TEST_F(FormWindowTest, TheViewReadsBackWhatItSet) {
  form.SetValue(kKitOptA, 1);
  form.SetValue(kKitOptB, 1);
  EXPECT_EQ(form.Value(kKitOptA), 0) << "options of one group exclude each other";
  EXPECT_EQ(form.Value(kKitOptB), 1);
  form.SetValue(kKitCheck, 2);
  EXPECT_EQ(form.Value(kKitCheck), 2);
  ::SendMessageA(form.Control(kKitCheck), BM_CLICK, 0, 0);
  EXPECT_EQ(form.Value(kKitCheck), 1) << "a click checks a grayed box";
  ::SendMessageA(form.Control(kKitCheck), BM_CLICK, 0, 0);
  EXPECT_EQ(form.Value(kKitCheck), 0);
  model().events.clear();

  form.SetItems(kKitCombo, std::vector<std::string>{"Slow", "Medium", "Fast"});
  EXPECT_EQ(form.ItemCount(kKitCombo), 3);
  EXPECT_EQ(form.Value(kKitCombo), -1);
  form.SetValue(kKitCombo, 2);
  EXPECT_EQ(form.Value(kKitCombo), 2);

  const std::vector<std::vector<std::string>> rows{{"001.BCK", "1/2/2026"}, {"002.BCK", "3/4/2026"}};
  form.SetRows(kKitRows, rows);
  EXPECT_EQ(form.Rows(kKitRows), rows);
  form.SetValue(kKitRows, 1);
  EXPECT_EQ(form.Value(kKitRows), 1);
  EXPECT_TRUE(model().events.empty()) << "the view's own list changes are no user's selection";

  form.SetVisible(kKitFrame, false);
  EXPECT_FALSE(form.Visible(kKitOptA));
  EXPECT_EQ(::GetWindowLongPtrA(form.Control(kKitOptA), GWL_STYLE) & WS_VISIBLE, 0);
  form.SetVisible(kKitFrame, true);
  EXPECT_TRUE(form.Visible(kKitOptA));
  form.SetEnabled(kKitSave, true);
  EXPECT_TRUE(form.Enabled(kKitSave));
  form.SetSamples(kKitRows, std::vector<int>{1, 2}, 30, 2);  // no graph: ignored
}

// A hidden form keeps the captions its timers set and writes them as it
// shows; the view reads them back at once either way.
TEST_F(FormWindowTest, CaptionsSetWhileHiddenAreWrittenAsTheFormShows) {
  auto windowText = [&](int id) {
    char text[64] = {};
    ::GetWindowTextA(form.Control(id), text, sizeof text);
    return std::string(text);
  };
  ASSERT_FALSE(::IsWindowVisible(form.hwnd()));
  form.SetText(kKitLabel, "first");
  form.SetText(kKitFrame, "Choice (1)");
  form.SetText(kKitLabel, "latest");
  EXPECT_EQ(form.Text(kKitLabel), "latest");
  EXPECT_EQ(form.Text(kKitFrame), "Choice (1)");
  EXPECT_EQ(windowText(kKitLabel), "Note") << "nothing is written while the form is hidden";

  ::ShowWindow(form.hwnd(), SW_SHOWNOACTIVATE);
  EXPECT_EQ(windowText(kKitLabel), "latest");
  EXPECT_EQ(windowText(kKitFrame), "Choice (1)");
  form.SetText(kKitLabel, "shown");
  EXPECT_EQ(windowText(kKitLabel), "shown") << "a shown form's captions are written at once";

  ::ShowWindow(form.hwnd(), SW_HIDE);
  form.SetText(kKitLabel, "hidden again");
  ::SetWindowPos(form.hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(windowText(kKitLabel), "hidden again") << "shown by a change of place too";
  ::ShowWindow(form.hwnd(), SW_HIDE);
}

TEST_F(FormWindowTest, ATipFollowsItsTextAndTheBusyPointerCoversTheForm) {
  form.SetToolTip(kKitSlider, "5 MB to free when Optimize is clicked");
  EXPECT_EQ(form.ToolTipText(kKitSlider), "5 MB to free when Optimize is clicked");
  form.SetToolTip(kKitSlider, "6 MB to free when Optimize is clicked");
  EXPECT_EQ(form.ToolTipText(kKitSlider), "6 MB to free when Optimize is clicked");
  form.SetToolTip(kKitSlider, "");
  EXPECT_EQ(form.ToolTipText(kKitSlider), "");
  form.SetToolTip(9999, "no such control");

  auto overSave = [&] {
    return ::SendMessageA(form.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Control(kKitSave)),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  form.SetBusyPointer(true);
  EXPECT_EQ(overSave(), TRUE);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  form.SetBusyPointer(false);
  (void)overSave();
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))) << "the usual pointer again";
}

TEST_F(FormWindowTest, TimersTickUntilStopped) {
  form.SetTimer(kKitTimer, 10);
  for (int i = 0; i < 100 && model().events.empty(); ++i) Pump(1);
  ASSERT_FALSE(model().events.empty());
  EXPECT_EQ(model().events[0], (Event{kKitTimer, Event::Tick, 0}));
  Pump(10);
  EXPECT_EQ(model().events.size(), 1u) << "the handler stopped it with 0";
}

// Two timers at one interval wake the window once: the second rides on
// the first's system timer and ticks right after it.
TEST_F(FormWindowTest, TimersAtOneIntervalShareASystemTimer) {
  constexpr int kSecondTimer = kKitTimer + 1;
  form.SetTimer(kKitTimer, 10);
  form.SetTimer(kSecondTimer, 10);
  for (int i = 0; i < 100 && model().events.size() < 2; ++i) Pump(1);
  ASSERT_EQ(model().events.size(), 2u);
  EXPECT_EQ(model().events[0], (Event{kKitTimer, Event::Tick, 0}));
  EXPECT_EQ(model().events[1], (Event{kSecondTimer, Event::Tick, 0}));
  // Each stopped itself on its tick; started again, the two run on one
  // system timer.
  form.SetTimer(kKitTimer, 1000);
  form.SetTimer(kSecondTimer, 1000);
  EXPECT_EQ(win32::FormSystemTimers(), std::vector<int>{1000});
  form.SetTimer(kKitTimer, 0);
  form.SetTimer(kSecondTimer, 0);
  EXPECT_TRUE(win32::FormSystemTimers().empty());
}

// A form's timer whose interval another form's faster one divides rides
// that one's system timer: the thread wakes once for both, and each keeps
// its interval.
TEST_F(FormWindowTest, ATimerThatAnotherFormsFasterOneDividesRidesIt) {
  KitForm other;
  ASSERT_TRUE(other.Load(services, nullptr));
  model().onTick = [](int) { return true; };  // keeps ticking
  other.Model()->onTick = [](int) { return true; };
  form.SetTimer(kKitTimer, 30);
  other.SetTimer(kKitTimer, 90);
  EXPECT_EQ(win32::FormSystemTimers(), std::vector<int>{30});
  for (int i = 0; i < 300 && other.Model()->events.size() < 3; ++i) Pump(1);
  const std::size_t fast = model().events.size(), slow = other.Model()->events.size();
  EXPECT_GE(slow, 3u);
  EXPECT_GE(fast, 3 * slow - 1) << "the slower ticks on every third tick of the faster";
  EXPECT_LE(fast, 3 * slow + 3);
  other.Unload();
  EXPECT_EQ(win32::FormSystemTimers(), std::vector<int>{30}) << "the form that went took its timer with it";
  form.SetTimer(kKitTimer, 0);
  EXPECT_TRUE(win32::FormSystemTimers().empty());
}

TEST_F(FormWindowTest, AClickArrivingWhileItsHandlerYieldsIsDropped) {
  form.SetEnabled(kKitSave, true);
  // The second click waits in the queue and arrives during the first's yield.
  model().onSave = [this] {
    model().onSave = nullptr;
    ::PostMessageA(form.Control(kKitSave), BM_CLICK, 0, 0);
  };
  ::SendMessageA(form.Control(kKitSave), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(model().saves, 1);
  ::SendMessageA(form.Control(kKitSave), BM_CLICK, 0, 0);
  EXPECT_EQ(model().saves, 2) << "once it ended it runs again";
}

// The window goes while its handler runs (the tray's Exit from a message
// box's loop, say): the model lives until the handler returns, which then
// reaches nothing of the window.
TEST_F(FormWindowTest, AnUnloadDuringAHandlerFreesTheModelWhenTheHandlerReturns) {
  form.SetEnabled(kKitSave, true);
  KitModel::livingAfterSave = -1;
  const int before = KitModel::living;
  model().onSave = [this] { form.Unload(); };
  ::SendMessageA(form.Control(kKitSave), BM_CLICK, 0, 0);
  EXPECT_EQ(KitModel::livingAfterSave, before) << "the model was freed under its handler";
  EXPECT_EQ(KitModel::living, before - 1);
  EXPECT_FALSE(form.IsLoaded());
  // Loaded again, the window has a new model; the old one is gone.
  ASSERT_TRUE(form.Load(services, nullptr));
  EXPECT_EQ(KitModel::living, before);
  EXPECT_EQ(form.Text(kKitLabel), "Note") << "untouched by the old handler";
}

}  // namespace
}  // namespace corvane::testing
