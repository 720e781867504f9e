// The skin component against the real window system: applying an object
// changes only how a window paints, a missing or bad skin and unskinnable
// controls keep the plain look, and the skin label's text is read and set.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/Skin.h"
#include "platform/win32/SkinLabel.h"

namespace corvane::win32 {
namespace {

constexpr char kSkinText[] =
    "CorvaneSkin 1\n"
    "[controlForm]\nface = #102030\ntext = #E0E0E0\n"
    "[Button]\nface = #C02020\nface2 = #C02020\nhover = #C02020\npressed = #C02020\n"
    "border = #C02020\naccent = #C02020\ntext = #FFFFFF\nradius = 0\n"
    "[Label]\nface = #204060\ntext = #FFFF00\n"
    "[Frame]\nface = #102030\ntext = #00FF00\nborder = #00FF00\n"
    "[CheckBox]\nface = #306090\ntext = #FFFFFF\n"
    "[RadioBox]\nface = #603090\ntext = #FFFFFF\n";

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  ::GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string WriteSkin(const char* name, const std::string& text) {
  std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    ::SetPropA(hwnd, "clicked", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(LOWORD(wParam))));
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Placement {
  RECT rect{};
  bool visible = false;
  friend bool operator==(const Placement& a, const Placement& b) {
    return ::EqualRect(&a.rect, &b.rect) && a.visible == b.visible;
  }
};

Placement PlacementOf(HWND hwnd) {
  Placement p;
  ::GetWindowRect(hwnd, &p.rect);
  p.visible = (::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  return p;
}

class SkinComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FormProc;
    wc.hInstance = instance;
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "CorvaneSkinTestForm";
    ::RegisterClassExA(&wc);
    // Shown without activation: Wine on a display without a window manager
    // then destroys it at once (an active window waits two seconds for the
    // manager that never answers).
    form = ::CreateWindowExA(WS_EX_TOOLWINDOW, "CorvaneSkinTestForm", "form", WS_POPUP, 50,
                             50, 400, 300, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(form, nullptr);
    auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
      return ::CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, form,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    button = child("Button", "Save", WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 100, 30, 101);
    check = child("Button", "Check", WS_VISIBLE | BS_AUTOCHECKBOX, 10, 50, 120, 20, 102);
    radio = child("Button", "Radio", WS_VISIBLE | BS_AUTORADIOBUTTON, 10, 80, 120, 20, 103);
    group = child("Button", "Group", WS_VISIBLE | BS_GROUPBOX, 200, 10, 180, 120, 104);
    edit = child("Edit", "text", WS_VISIBLE | WS_BORDER, 10, 110, 120, 22, 105);
    hiddenButton = child("Button", "Hidden", BS_PUSHBUTTON, 10, 150, 100, 30, 106);
    ASSERT_TRUE(label.Create(form, 107, "Free memory: 42%", 10, 200, 200, 20));
    ::ShowWindow(form, SW_SHOWNA);
    ::UpdateWindow(form);
  }
  void TearDown() override {
    skin.reset();
    if (form != nullptr) ::DestroyWindow(form);
  }

  // Pumps messages so that pending painting happens.
  static void Pump() {
    MSG msg;
    for (int i = 0; i < 5; ++i) {
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
      ::Sleep(20);
    }
  }
  COLORREF PixelIn(HWND hwnd, int x, int y) {
    ::RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
  }

  std::unique_ptr<Skin> skin = std::make_unique<Skin>();
  HWND form = nullptr, button = nullptr, check = nullptr, radio = nullptr, group = nullptr,
       edit = nullptr, hiddenButton = nullptr;
  SkinLabel label;
};

TEST_F(SkinComponentTest, ApplyingChangesOnlyThePaintingNeverPlaceSizeOrVisibility) {
  ASSERT_TRUE(skin->LoadSkinFile(WriteSkin("corvane-skin-test.skn", kSkinText))) << skin->error();
  HWND all[] = {form, button, check, radio, group, edit, hiddenButton, label.hwnd()};
  Placement before[8];
  for (int i = 0; i < 8; ++i) before[i] = PlacementOf(all[i]);

  EXPECT_TRUE(skin->ApplySkin(form, "controlForm"));
  EXPECT_TRUE(skin->ApplySkin(button, "Button"));
  EXPECT_TRUE(skin->ApplySkin(hiddenButton, "Button"));
  EXPECT_TRUE(skin->ApplySkin(check, "CheckBox"));
  EXPECT_TRUE(skin->ApplySkin(radio, "RadioBox"));
  EXPECT_TRUE(skin->ApplySkin(group, "Frame"));
  EXPECT_TRUE(skin->ApplySkin(label.hwnd(), "Label"));
  EXPECT_FALSE(skin->ApplySkin(edit, "Button")) << "an edit field is not skinned";
  EXPECT_FALSE(skin->ApplySkin(button, "NoSuchObject"));
  Pump();
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(PlacementOf(all[i]) == before[i]) << "window " << i;
  EXPECT_FALSE(::IsWindowVisible(hiddenButton));

  EXPECT_EQ(PixelIn(form, 300, 250), RGB(0x10, 0x20, 0x30)) << "form face";
  EXPECT_EQ(PixelIn(button, 5, 15), RGB(0xC0, 0x20, 0x20)) << "button face";
  EXPECT_EQ(PixelIn(check, 115, 10), RGB(0x30, 0x60, 0x90)) << "check box background";
  EXPECT_EQ(PixelIn(radio, 115, 10), RGB(0x60, 0x30, 0x90)) << "option button background";
  EXPECT_EQ(PixelIn(label.hwnd(), 198, 10), RGB(0x20, 0x40, 0x60)) << "label background";
  EXPECT_EQ(PixelIn(group, 0, 60), RGB(0x00, 0xFF, 0x00)) << "group outline";
  EXPECT_EQ(*skin->AppliedObject(button), "Button");
  EXPECT_FALSE(skin->AppliedObject(edit));
}

TEST_F(SkinComponentTest, SkinnedControlsStillBehaveAsBefore) {
  ASSERT_TRUE(skin->LoadSkinFile(WriteSkin("corvane-skin-test.skn", kSkinText)));
  ASSERT_TRUE(skin->ApplySkin(form, "controlForm"));
  ASSERT_TRUE(skin->ApplySkin(button, "Button"));
  ASSERT_TRUE(skin->ApplySkin(check, "CheckBox"));
  ::SendMessageA(button, BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(reinterpret_cast<INT_PTR>(::GetPropA(form, "clicked")), 101);
  ::SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  // The default button keeps saying so to the dialog manager.
  EXPECT_NE(::SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
  char text[32] = {};
  ::GetWindowTextA(button, text, sizeof text);
  EXPECT_STREQ(text, "Save");
}

TEST_F(SkinComponentTest, MissingOrBadSkinFileKeepsThePlainLook) {
  COLORREF plainForm = PixelIn(form, 300, 250);
  LONG_PTR plainProc = ::GetWindowLongPtrA(button, GWLP_WNDPROC);
  EXPECT_FALSE(skin->LoadSkinFile(TempPath("corvane-no-such-skin.skn")));
  EXPECT_FALSE(skin->error().empty());
  EXPECT_FALSE(skin->ApplySkin(form, "controlForm"));
  EXPECT_FALSE(skin->ApplySkin(button, "Button"));
  EXPECT_FALSE(skin->LoadSkinFile(WriteSkin("corvane-bad-skin.skn", "CorvaneSkin 1\n[Button]\nface = red\n")));
  EXPECT_NE(skin->error().find("line 3"), std::string::npos) << skin->error();
  EXPECT_FALSE(skin->ApplySkin(button, "Button"));
  EXPECT_EQ(::GetWindowLongPtrA(button, GWLP_WNDPROC), plainProc);
  EXPECT_EQ(PixelIn(form, 300, 250), plainForm);
  EXPECT_EQ(skin->SkinnedWindowCount(), 0u);
  EXPECT_FALSE(skin->ApplySkin(nullptr, "Button"));
}

TEST_F(SkinComponentTest, ReleasingTheSkinOrTheWindowGivesThePaintingBack) {
  LONG_PTR plainStyle = ::GetWindowLongPtrA(button, GWL_STYLE);
  LONG_PTR plainProc = ::GetWindowLongPtrA(button, GWLP_WNDPROC);
  ASSERT_TRUE(skin->LoadSkinFile(WriteSkin("corvane-skin-test.skn", kSkinText)));
  ASSERT_TRUE(skin->ApplySkin(button, "Button"));
  ASSERT_TRUE(skin->ApplySkin(hiddenButton, "Button"));
  EXPECT_EQ(skin->SkinnedWindowCount(), 3u) << "the two buttons and their form";
  ::DestroyWindow(hiddenButton);
  EXPECT_EQ(skin->SkinnedWindowCount(), 2u);
  skin.reset();
  EXPECT_EQ(::GetWindowLongPtrA(button, GWL_STYLE), plainStyle);
  EXPECT_EQ(::GetWindowLongPtrA(button, GWLP_WNDPROC), plainProc);
}

// A caption that a timer rewrites: a wider one is drawn at once, with
// nothing left for a paint to come; a narrower one leaves no tail of the
// one before.
TEST_F(SkinComponentTest, AGroupCaptionIsDrawnAtOnceAndANarrowerOneLeavesNoTail) {
  ASSERT_TRUE(skin->LoadSkinFile(WriteSkin("corvane-skin-test.skn", kSkinText)));
  ASSERT_TRUE(skin->ApplySkin(form, "controlForm"));
  ASSERT_TRUE(skin->ApplySkin(group, "Frame"));
  // Green (outline and caption) in the strip where captions stand, past
  // where "G" ends, as the box's own surface holds it.
  auto greenInStrip = [&] {
    HDC dc = ::GetDC(group);
    int green = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 40; x < 170; ++x) green += ::GetPixel(dc, x, y) == RGB(0x00, 0xFF, 0x00) ? 1 : 0;
    }
    ::ReleaseDC(group, dc);
    return green;
  };
  ::SetWindowTextA(group, "G");
  ::RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  const int outlineOnly = greenInStrip();

  ::SetWindowTextA(group, "Group caption 100%");
  RECT dirty{};
  EXPECT_FALSE(::GetUpdateRect(group, &dirty, FALSE)) << "nothing is left for a paint to come";
  const int wider = greenInStrip();
  EXPECT_NE(wider, outlineOnly) << "the wider caption stands at once";
  ::SetWindowTextA(group, "Group caption 999%");
  EXPECT_NE(greenInStrip(), wider) << "and the next one over it";

  ::SetWindowTextA(group, "G");
  Pump();
  EXPECT_EQ(greenInStrip(), outlineOnly) << "no tail of the wider caption";
}

TEST_F(SkinComponentTest, SkinLabelTextIsReadAndSet) {
  EXPECT_EQ(label.Text(), "Free memory: 42%");
  label.SetText("Free memory: 57%");
  EXPECT_EQ(label.Text(), "Free memory: 57%");
  char text[64] = {};
  ::GetWindowTextA(label.hwnd(), text, sizeof text);
  EXPECT_STREQ(text, "Free memory: 57%");
  label.SetText("");
  EXPECT_EQ(label.Text(), "");
  std::string longText(2000, 'x');
  label.SetText(longText);
  EXPECT_EQ(label.Text(), longText);
}

}  // namespace
}  // namespace corvane::win32
