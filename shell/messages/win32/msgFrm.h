// msgFrm: the program's own message window, a borderless balloon with an
// optional pointer and a drop shadow made from the screen behind it. Three
// uses: msg_Box (modal, up to three buttons and a check box), input_box
// (modal, a text field) and MsgAuto_box (modeless, topmost, closes itself).
// The rules (placement, shapes, shadow bands, layouts, results) live in the
// portable part of this folder; this window measures its texts, paints into
// a back buffer that WM_PAINT copies out (so the drawing survives being
// covered), and runs the modal loop.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/win32/Handle.h"
#include "platform/win32/Window.h"
#include "shell/messages/IconStrip.h"
#include "shell/messages/MessageLayout.h"

namespace corvane::shell {

// The message box: the code of the button pressed (1 OK, 2 Cancel, 3 Abort,
// 4 Retry, 5 Ignore, 6 Yes, 7 No; 1..3 for custom captions), plus 100 when
// the check box was ticked. X, Y: the screen point in pixels the balloon
// points at (0: the mouse cursor). owner, when given, is disabled while the
// box is open.
std::int16_t msg_Box(const std::string& mPrompt, std::int32_t mFlags = 0,
                     const std::string& mCaption = "", bool NoPointer = false,
                     const std::string& CheckboxTxt = "", const std::string& Btn1 = "",
                     const std::string& Btn2 = "", const std::string& Btn3 = "",
                     std::uint32_t mColor = 0, float X = 0, float Y = 0,
                     std::int16_t Intensity = 0, HWND owner = nullptr);

// The input box: the text entered, empty after Cancel, with "¬" (0xAC)
// appended when the check box was ticked.
std::string input_box(const std::string& mPrompt, std::int32_t mFlags = 0,
                      const std::string& mCaption = "", const std::string& DefaultText = "",
                      bool NoPointer = false, const std::string& CheckboxTxt = "",
                      std::uint32_t mColor = 0, float X = 0, float Y = 0,
                      std::int16_t Intensity = 0, HWND owner = nullptr);

// The self-closing notification: returns at once; the window stays on top
// for nTime seconds (0..32; 0 until its close mark is clicked). A second
// call while one is shown lays the same window out again and restarts its
// time.
void MsgAuto_box(const std::string& mPrompt, std::int32_t mFlags = 64,
                 const std::string& mCaption = "", std::int16_t nTime = 5, bool NoPointer = false,
                 std::uint32_t mColor = 0, float X = 0, float Y = 0, std::int16_t Intensity = 0);

// The tray step's notification on 95/98/ME: "The Program Still Running
// Here", "Program notification", information icon, 5 s, RGB(242, 248, 200),
// no pointer, at the lower right corner of the screen.
void ShowProgramStillRunningNotification();

// The notification's window while it is shown, else nullptr; and closing it
// early (the exit paths).
HWND NotificationWindow();
void CloseNotification();

class msgFrm final : public win32::Window<msgFrm> {
 public:
  enum class Mode { MessageBox, InputBox, Notification };

  // Control identifiers (none is IDOK or IDCANCEL, which the dialog keys
  // send).
  enum : int {
    kIdCmd1 = 201,  // .. 203
    kIdCheck1 = 210,
    kIdText = 220,
    kIdCancel = 221,
    kIdOk = 222,
    kIdCheck2 = 230,
  };
  static constexpr char kClassName[] = "CorvaneMsgFrm";

  msgFrm() = default;
  ~msgFrm() override;

  // Creates the window hidden (the load: twips per pixel, the icon strip,
  // fonts and controls). True when it exists.
  bool LoadWindow(HWND owner);

  std::int16_t RunMessageBox(const MessageBoxArgs& args, bool NoPointer, std::uint32_t mColor,
                             float X, float Y, std::int16_t Intensity, HWND owner);
  std::string RunInputBox(const std::string& mPrompt, std::int32_t mFlags,
                          const std::string& mCaption, const std::string& DefaultText,
                          bool NoPointer, const std::string& CheckboxTxt, std::uint32_t mColor,
                          float X, float Y, std::int16_t Intensity, HWND owner);
  void ShowNotification(const std::string& mPrompt, std::int32_t mFlags,
                        const std::string& mCaption, std::int16_t nTime, bool NoPointer,
                        std::uint32_t mColor, float X, float Y, std::int16_t Intensity);

  // The routines of the window's design.
  void DrawBalloon(bool NoPointer, float X, float Y, std::int16_t Inty);
  int GetPointerStyle(float X, float Y);
  void n_GetMainRect();
  void n_SetPointer(int idx);
  void n_GetShadowRect(std::int16_t Inty);
  void n_RefreshShadow(std::int16_t Inty);

  int pointerStyle() const { return pointerStyle_; }
  const PanelLayout& layout() const { return layout_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void Prepare(Mode mode, const std::string& title, const std::string& message,
               std::uint32_t mColor, std::int16_t Intensity);
  void PlaceControls();
  void PaintContents();
  void PaintCell(int cell, const RectI& where);
  void CaptureScreenArea();
  void ApplyShape(bool withShadow, bool withPointer);
  bool CreateBackBuffer(int width, int height);
  void ReleaseBackBuffer();
  void StartDrag();
  void RunModal(HWND owner);
  void Finish(std::int16_t code);
  void PressButton(int index);
  void OnOk();
  MeasureText Measurer();
  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }

  Mode mode_ = Mode::MessageBox;
  Metrics metrics_;
  PanelLayout layout_;
  Image strip_;
  CloseMark closeMark_;
  std::string title_;
  std::string message_;
  std::string tag_;
  COLORREF balloonColor_ = RGB(255, 255, 204);
  std::int16_t resultCode_ = 0;
  std::int16_t defaultButton_ = 0;
  int pointerStyle_ = 0;
  bool noPointer_ = false;
  bool done_ = false;
  bool closePressed_ = false;
  bool dragging_ = false;
  int width_ = 0;
  int height_ = 0;

  win32::UniqueHfont titleFont_;
  win32::UniqueHbrush balloonBrush_;
  win32::UniqueHrgn mainRegion_;
  win32::UniqueHrgn pointerRegion_;
  // The back buffer: a 32-bit top-down DIB section selected into memDc_.
  win32::UniqueHdc memDc_;
  win32::UniqueHbitmap dib_;
  HGDIOBJ previousBitmap_ = nullptr;
  Pixel* bits_ = nullptr;
  Image behind_;  // the screen under the window when it was captured
};

}  // namespace corvane::shell
