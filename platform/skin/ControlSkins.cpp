#include "platform/skin/ControlSkins.h"

#include <algorithm>
#include <cctype>

namespace corvane::skin {

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The button types of the "Button" class (BS_*).
constexpr std::uint32_t kPushButton = 0, kDefPushButton = 1, kCheckBox = 2, kAutoCheckBox = 3,
                        kRadioButton = 4, k3State = 5, kAuto3State = 6, kGroupBox = 7,
                        kAutoRadioButton = 9, kOwnerDraw = 11;

}  // namespace

ControlKind ClassifyControl(std::string_view className, std::uint32_t style) {
  if (SameText(className, kSkinLabelClass)) return ControlKind::SkinLabel;
  if (SameText(className, "Static")) return ControlKind::Label;
  if (!SameText(className, "Button")) return ControlKind::Other;
  switch (style & 0x0F) {
    case kPushButton:
    case kDefPushButton:
    case kOwnerDraw:  // a push button the skin already paints
      return ControlKind::CommandButton;
    case kCheckBox:
    case kAutoCheckBox:
    case k3State:
    case kAuto3State:
      return ControlKind::CheckBox;
    case kRadioButton:
    case kAutoRadioButton:
      return ControlKind::OptionButton;
    case kGroupBox:
      return ControlKind::Frame;
    default:
      return ControlKind::Other;
  }
}

std::optional<std::string_view> SkinObjectForControl(ControlKind kind) {
  switch (kind) {
    case ControlKind::CommandButton: return "Button";
    case ControlKind::SkinLabel: return "Label";
    case ControlKind::Frame: return "Frame";
    case ControlKind::CheckBox: return "CheckBox";
    case ControlKind::OptionButton: return "RadioBox";
    case ControlKind::Label:
    case ControlKind::Other: return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace corvane::skin
