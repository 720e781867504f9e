// The skin component Skin: loads the skin file and applies its named objects
// to windows. Applying changes only how a window paints — its background,
// colours, font and, for push buttons, the whole face — and never moves,
// sizes, shows or hides it. It works by window-procedure subclassing: a
// skinned window's parent answers WM_CTLCOLOR* and WM_DRAWITEM for it, a
// surface fills its background, a group box draws its own outline.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/skin/SkinFile.h"

namespace corvane::win32 {

class Skin {
 public:
  Skin();
  ~Skin();  // gives every skinned window its own painting back
  Skin(const Skin&) = delete;
  Skin& operator=(const Skin&) = delete;

  // Member 0x60020001: loads the skin file. A missing or malformed file
  // leaves the component without a skin (every apply then fails and each
  // window keeps its plain look); error() says why.
  bool LoadSkinFile(const std::string& path);
  bool IsLoaded() const { return skin_.has_value(); }
  const std::string& error() const { return error_; }
  const skin::SkinFile* skinFile() const { return skin_ ? &*skin_ : nullptr; }

  // Member 0x60020007: applies the named object to the window. False when
  // no skin is loaded, the file has no such object, the window is not one of
  // this process, or it is of a kind the skin does not paint (edit fields,
  // lists, common controls): that window keeps its plain look.
  bool ApplySkin(HWND window, const std::string& objectName);

  // The object applied to a window, if any (for tests and diagnostics).
  std::optional<std::string> AppliedObject(HWND window) const;
  std::size_t SkinnedWindowCount() const { return windows_.size(); }

  // The colour of an object's face, for windows that paint beside the skin.
  static COLORREF ToColorRef(const skin::Rgb& rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

  struct Skinned;

 private:
  Skinned* Attach(HWND window);
  void Detach(HWND window);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(Skinned& state, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  std::optional<skin::SkinFile> skin_;
  std::string error_;
  std::map<HWND, std::unique_ptr<Skinned>> windows_;
};

// Fills a rectangle with a vertical gradient from top to bottom colour, one
// row at a time (GradientFill is missing on Windows 95).
void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);

}  // namespace corvane::win32
