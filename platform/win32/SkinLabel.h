// The skin label control SkinLabel: read-only text that the feature windows
// show. Its default member is its text (read and set). It paints like a
// static text, asking its parent for colours (WM_CTLCOLORSTATIC), so the
// skin's "Label" object or the form's skin colours it; without a skin it has
// the plain look.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::win32 {

class SkinLabel {
 public:
  // Registers the window class (once per process).
  static bool Register(HINSTANCE instance);

  SkinLabel() = default;
  ~SkinLabel();
  SkinLabel(const SkinLabel&) = delete;
  SkinLabel& operator=(const SkinLabel&) = delete;

  // style may carry SS_LEFT, SS_CENTER or SS_RIGHT and WS_VISIBLE.
  bool Create(HWND parent, int id, const std::string& text, int left, int top, int width,
              int height, DWORD style = WS_VISIBLE | SS_LEFT);
  HWND hwnd() const { return hwnd_; }

  // Member 0, the control's default member.
  std::string Text() const;
  void SetText(const std::string& text);

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace corvane::win32
