#include "shell/messages/MessageLayout.h"

#include <charconv>

#include "shell/messages/IconStrip.h"

namespace corvane::shell {

std::uint32_t BalloonColorFor(std::uint32_t mColor) {
  return mColor == 0 ? kDefaultBalloonColor : mColor;
}

ButtonSet ChooseButtons(std::int32_t MF, std::string_view b1, std::string_view b2,
                        std::string_view b3) {
  ButtonSet set;
  auto use = [&](int index, std::string_view caption, std::int16_t code) {
    auto& b = set.buttons[static_cast<std::size_t>(index)];
    b.visible = true;
    b.caption = std::string(caption);
    b.code = code;
    set.count = index + 1;
  };
  switch (MF & 7) {
    case 1: use(0, "OK", 1); use(1, "Cancel", 2); break;
    case 2: use(0, "Abort", 3); use(1, "Retry", 4); use(2, "Ignore", 5); break;
    case 3: use(0, "Yes", 6); use(1, "No", 7); use(2, "Cancel", 2); break;
    case 4: use(0, "Yes", 6); use(1, "No", 7); break;
    case 5: use(0, "Retry", 4); use(1, "Cancel", 2); break;
    case 6:
      if (!b1.empty()) use(0, b1, 1);
      if (!b2.empty()) use(1, b2, 2);
      if (!b3.empty()) use(2, b3, 3);
      break;
    default: use(0, "OK", 1); break;  // 0 and 7
  }
  return set;
}

void PlaceButtons(ButtonSet& set, const Metrics& metrics, int panelHeightPx) {
  const int P = metrics.PanelWidthTwips();
  const int width = design::kButtonWidth;
  const int top = metrics.twipsPerPixelY * panelHeightPx - design::kButtonHeight - 100;
  for (auto& b : set.buttons) b.topTwips = top;
  auto& first = set.buttons[0];
  auto& second = set.buttons[1];
  auto& third = set.buttons[2];
  switch (set.count) {
    case 1:
      first.leftTwips = (P - width) / 2;
      break;
    case 2:
      first.leftTwips = P / 3 - width / 2;
      second.leftTwips = P - first.leftTwips - width;
      break;
    case 3:
      first.leftTwips = (design::kMiddleButtonLeft - width) / 2;
      second.leftTwips = (P - width) / 2;
      third.leftTwips = P - first.leftTwips - width;
      break;
    default:
      break;
  }
}

std::int16_t SetDefaultButton(std::int32_t MF, std::int16_t current) {
  switch (MF & 768) {
    case 0: return 1;
    case 256: return 2;
    case 512: return 3;
    default: return current;
  }
}

std::int16_t MessageBoxResult(std::int16_t resultCode, bool checked) {
  return static_cast<std::int16_t>(resultCode + (checked ? 100 : 0));
}

bool InputOkCloses(std::string_view text) { return !text.empty(); }

std::string InputBoxResult(std::string_view text, std::int16_t resultCode, bool checked) {
  if (resultCode == -1) return {};
  std::string result(text);
  if (checked) result += kCheckedMark;
  return result;
}

namespace {

// Twips within the panel to pixels within the window.
RectI PanelRect(const Metrics& m, const RectI& panel, int leftTw, int topTw, int widthTw,
                int heightTw) {
  int left = panel.left + leftTw / m.twipsPerPixelX;
  int top = panel.top + topTw / m.twipsPerPixelY;
  return {left, top, left + widthTw / m.twipsPerPixelX, top + heightTw / m.twipsPerPixelY};
}

// The parts the three panels share: the icon, the title beside it (or in
// its place when there is no icon) and the message label's width.
void LayoutHeader(PanelLayout& layout, std::int32_t flags, const Metrics& m) {
  layout.windowWidth = m.WindowWidth();
  layout.iconCell = IconCellForFlags(flags);
  layout.iconVisible = layout.iconCell != 0;
  int titleLeft = layout.iconVisible ? design::kTitleLeft : design::kMessageLeft;
  int titleWidth = m.PanelWidthTwips() - titleLeft - design::kMessageLeft;
  layout.panel.left = kPanelLeft;
  layout.panel.top = kPanelTop;
  layout.panel.right = kPanelLeft + m.PanelWidth();
  layout.icon = PanelRect(m, layout.panel, design::kIconLeft, design::kIconTop, design::kIconSize,
                          design::kIconSize);
  layout.title = PanelRect(m, layout.panel, titleLeft, design::kTitleTop, titleWidth,
                           design::kTitleHeight);
}

}  // namespace

PanelLayout LayoutMessageBox(const MessageBoxArgs& args, const Metrics& m,
                             const MeasureText& measure) {
  PanelLayout layout;
  const int messageWidth = m.PanelWidthTwips() - 130;
  LayoutHeader(layout, args.mFlags, m);
  const int messageHeight = measure(args.mPrompt, messageWidth);
  const int messageBottom = design::kMessageTop + messageHeight;
  const int panelHeight = (messageBottom + 900) / m.twipsPerPixelY;
  layout.panel.bottom = layout.panel.top + panelHeight;
  layout.message = PanelRect(m, layout.panel, design::kMessageLeft, design::kMessageTop,
                             messageWidth, messageHeight);
  if (!args.CheckboxTxt.empty()) {
    layout.checkVisible = true;
    layout.check = PanelRect(m, layout.panel, design::kMessageLeft, messageBottom + 70,
                             messageWidth, design::kCheckHeight);
  }
  layout.windowHeight = panelHeight + 65;

  ButtonSet set = ChooseButtons(args.mFlags, args.Btn1, args.Btn2, args.Btn3);
  PlaceButtons(set, m, panelHeight);
  layout.buttons = set.buttons;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& b = set.buttons[i];
    layout.buttonRects[i] = PanelRect(m, layout.panel, b.leftTwips, b.topTwips, design::kButtonWidth,
                                      design::kButtonHeight);
  }
  return layout;
}

PanelLayout LayoutInputBox(const std::string& mPrompt, std::int32_t mFlags,
                           const std::string& CheckboxTxt, const Metrics& m,
                           const MeasureText& measure) {
  PanelLayout layout;
  const int messageWidth = m.PanelWidthTwips() - 130;
  LayoutHeader(layout, mFlags, m);
  const int messageHeight = measure(mPrompt, messageWidth);
  const int textTop = design::kMessageTop + messageHeight + 300;
  const int textBottom = textTop + design::kTextBoxHeight;
  const int buttonTop = textBottom + 70;
  const int okLeft = design::kMessageLeft + messageWidth - design::kButtonWidth;
  const int cancelLeft = okLeft - 70 - design::kButtonWidth;
  const int panelHeight = (buttonTop + design::kButtonHeight + 115) / m.twipsPerPixelY;
  layout.panel.bottom = layout.panel.top + panelHeight;
  layout.windowHeight = panelHeight + 65;
  layout.message = PanelRect(m, layout.panel, design::kMessageLeft, design::kMessageTop,
                             messageWidth, messageHeight);
  layout.textBox = PanelRect(m, layout.panel, design::kMessageLeft, textTop, messageWidth,
                             design::kTextBoxHeight);
  layout.buttons[0] = {true, "Cancel", -1, cancelLeft, buttonTop};
  layout.buttons[1] = {true, "OK", 0, okLeft, buttonTop};
  for (std::size_t i = 0; i < 2; ++i) {
    layout.buttonRects[i] = PanelRect(m, layout.panel, layout.buttons[i].leftTwips, buttonTop,
                                      design::kButtonWidth, design::kButtonHeight);
  }
  if (!CheckboxTxt.empty()) {
    layout.checkVisible = true;
    layout.check = PanelRect(m, layout.panel, design::kMessageLeft, textBottom + 70,
                             cancelLeft - design::kMessageLeft - 10, design::kCheckHeight);
  }
  return layout;
}

PanelLayout LayoutNotification(const std::string& mPrompt, std::int32_t mFlags, const Metrics& m,
                               const MeasureText& measure) {
  PanelLayout layout;
  const int messageWidth = m.PanelWidthTwips() - 130;
  LayoutHeader(layout, mFlags, m);
  const int messageHeight = measure(mPrompt, messageWidth);
  const int panelHeight = (design::kMessageTop + messageHeight + 300) / m.twipsPerPixelY;
  layout.panel.bottom = layout.panel.top + panelHeight;
  layout.windowHeight = kPanelTop + panelHeight + 40;
  layout.message = PanelRect(m, layout.panel, design::kMessageLeft, design::kMessageTop,
                             messageWidth, messageHeight);
  // The close mark: at the icon's height, 50 twips in from the right.
  layout.closeMark = PanelRect(m, layout.panel,
                               m.PanelWidthTwips() - design::kCloseMarkSize - 50, design::kIconTop,
                               design::kCloseMarkSize, design::kCloseMarkSize);
  // The title must not run under the close mark.
  if (layout.title.right > layout.closeMark.left - 4) layout.title.right = layout.closeMark.left - 4;
  return layout;
}

unsigned NotificationIntervalMs(int nTime) {
  if (nTime < 0) nTime = 0;
  if (nTime > 32) nTime = 32;
  return static_cast<unsigned>(nTime) * 1000u;
}

bool CloseMark::Show(int cell) {
  bool changed = cell_ != cell;
  cell_ = cell;
  return changed;
}

bool CloseMark::MouseMoveOverMark() {
  if (tag_) return false;
  tag_ = true;
  return Show(kCellCloseHover);
}

bool CloseMark::MouseMoveOverPanel() {
  if (!tag_) return false;
  tag_ = false;
  return Show(kCellCloseNormal);
}

bool CloseMark::ButtonDown() { return Show(kCellClosePressed); }

bool CloseMark::ButtonUp() { return Show(kCellCloseHover); }

std::string IntensityTag(std::int16_t intensity) {
  return intensity == 0 ? std::string() : std::to_string(intensity);
}

std::int16_t IntensityFromTag(std::string_view tag) {
  std::int16_t value = 0;
  auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), value);
  if (error != std::errc() || end != tag.data() + tag.size()) return 0;
  return value;
}

}  // namespace corvane::shell
