// msgFrm's layout and result rules: the button sets and their places, the
// default button, the codes and texts the boxes return, the panels of the
// three uses measured in twips as the window's design has them, the close
// mark's looks and the notification's time. The window (win32/msgFrm.h)
// measures its texts and carries the results out.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "shell/messages/BalloonGeometry.h"

namespace corvane::shell {

// mColor 0: the pale yellow of all three boxes.
inline constexpr std::uint32_t kDefaultBalloonColor = Rgb(255, 255, 204);
std::uint32_t BalloonColorFor(std::uint32_t mColor);

// The window's design client width; only its height is ever computed.
inline constexpr int kDesignWidthTwips = 5385;

// Design sizes of the panel controls, in twips.
namespace design {
inline constexpr int kButtonWidth = 1200;
inline constexpr int kButtonHeight = 375;
inline constexpr int kMiddleButtonLeft = 1815;  // before SetupButtons moves it
inline constexpr int kIconLeft = 120;
inline constexpr int kIconTop = 120;
inline constexpr int kIconSize = 240;  // 16 px at 15 twips per pixel
inline constexpr int kTitleLeft = 480;
inline constexpr int kTitleTop = 135;
inline constexpr int kTitleHeight = 270;
inline constexpr int kMessageLeft = 65;
inline constexpr int kMessageTop = 480;
inline constexpr int kCheckHeight = 255;
inline constexpr int kTextBoxHeight = 315;
inline constexpr int kCloseMarkSize = 240;
}  // namespace design

inline constexpr int kPanelLeft = 8;  // pixels, in the window
inline constexpr int kPanelTop = 30;

struct Metrics {
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
  int WindowWidth() const { return kDesignWidthTwips / twipsPerPixelX; }
  int PanelWidth() const { return WindowWidth() - 30; }
  // P: the panel's width in twips.
  int PanelWidthTwips() const { return twipsPerPixelX * PanelWidth(); }
};

// One of the three buttons cmd1(0..2) of the message box.
struct BoxButton {
  bool visible = false;
  std::string caption;
  std::int16_t code = 0;
  int leftTwips = 0;  // within the panel
  int topTwips = 0;
};

// SetupButtons: captions and codes by flags and 7; custom captions (value
// 6) only where not empty, the count being the position of the last one.
struct ButtonSet {
  std::array<BoxButton, 3> buttons;
  int count = 0;
};
ButtonSet ChooseButtons(std::int32_t MF, std::string_view b1, std::string_view b2,
                        std::string_view b3);
// Places the first count buttons across a panel P twips wide and sets their
// top for a panel panelHeightPx high.
void PlaceButtons(ButtonSet& set, const Metrics& metrics, int panelHeightPx);

// SetDefaultButton: flags and 768 chooses 1, 2 or 3; any other value keeps
// the current one.
std::int16_t SetDefaultButton(std::int32_t MF, std::int16_t current);

// msg_Box's result: the button's code, plus 100 with the check box ticked.
std::int16_t MessageBoxResult(std::int16_t resultCode, bool checked);
// input_box: OK closes only with a text; the result is empty after Cancel
// (resultCode -1), otherwise the text with "¬" (the ANSI byte 0xAC) added
// when the check box was ticked.
inline constexpr char kCheckedMark[] = "\xAC";
bool InputOkCloses(std::string_view text);
std::string InputBoxResult(std::string_view text, std::int16_t resultCode, bool checked);

// A label's height in twips for its text wrapped at a width in twips; the
// window measures with its font.
using MeasureText = std::function<int(const std::string& text, int widthTwips)>;

// Where the panel's controls go; rectangles in the window's pixels.
struct PanelLayout {
  int windowWidth = 0;
  int windowHeight = 0;
  RectI panel;
  RectI icon;
  bool iconVisible = false;
  int iconCell = 0;
  RectI title;
  RectI message;
  bool checkVisible = false;
  RectI check;
  // Message box: cmd1(0..2); input box: [0] "Cancel", [1] "OK".
  std::array<BoxButton, 3> buttons;
  std::array<RectI, 3> buttonRects;
  RectI textBox;    // input box
  RectI closeMark;  // notification
};

struct MessageBoxArgs {
  std::string mPrompt;
  std::int32_t mFlags = 0;
  std::string mCaption;
  std::string CheckboxTxt;
  std::string Btn1, Btn2, Btn3;
};
PanelLayout LayoutMessageBox(const MessageBoxArgs& args, const Metrics& metrics,
                             const MeasureText& measure);
PanelLayout LayoutInputBox(const std::string& mPrompt, std::int32_t mFlags,
                           const std::string& CheckboxTxt, const Metrics& metrics,
                           const MeasureText& measure);
PanelLayout LayoutNotification(const std::string& mPrompt, std::int32_t mFlags,
                               const Metrics& metrics, const MeasureText& measure);

// Timer1's interval for nTime seconds; 0 keeps the notification open until
// its close mark is clicked. The time is held to 0..32 s, the range whose
// milliseconds fit the 16-bit product of the window's design.
unsigned NotificationIntervalMs(int nTime);

// The close mark's looks: cell 9, 10 with the mouse over it (its tag "1"),
// 11 with the button held down.
class CloseMark {
 public:
  int cell() const { return cell_; }
  bool hot() const { return tag_; }
  // Returns true when the look changed.
  bool MouseMoveOverMark();
  bool MouseMoveOverPanel();
  bool ButtonDown();
  bool ButtonUp();

 private:
  bool Show(int cell);
  int cell_ = 9;
  bool tag_ = false;
};

// The shadow intensity as the window's tag keeps it: its decimal text when
// not 0, empty otherwise; and back (0 when empty or not a number).
std::string IntensityTag(std::int16_t intensity);
std::int16_t IntensityFromTag(std::string_view tag);

}  // namespace corvane::shell
