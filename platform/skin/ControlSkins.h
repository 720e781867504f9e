// Which skin object a control takes, by its kind: the rule of
// applyAllControls, and how the skin component tells the kinds apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane::skin {

enum class ControlKind { CommandButton, SkinLabel, Label, Frame, CheckBox, OptionButton, Other };

// The skin label control's window class.
inline constexpr char kSkinLabelClass[] = "CorvaneSkinLabel";

// The kind of a control from its window class name and, for the system's
// "Button" class, the button type (the style's low four bits). Class names
// compare without regard to case, as the window manager does.
ControlKind ClassifyControl(std::string_view className, std::uint32_t style);

// "Button", "Label", "Frame", "CheckBox", "RadioBox", or nothing for any
// other kind. Plain "Static" text takes no object in applyAllControls: only
// the skin's own label control does.
std::optional<std::string_view> SkinObjectForControl(ControlKind kind);

}  // namespace corvane::skin
