// A small form with one control of most kinds, for the kit's own tests
// (natively against the in-memory view, under Wine against real controls).
#pragma once

#include "platform/ui/Layout.h"

namespace corvane::testing {

enum KitTestId : int {
  kKitFrame = 10,
  kKitOptA = 11,
  kKitOptB = 12,
  kKitCheck = 13,
  kKitText = 14,
  kKitSave = 15,
  kKitList = 16,
  kKitCombo = 17,
  kKitRows = 18,
  kKitSlider = 19,
  kKitLabel = 20,
  kKitHiddenText = 21,
  kKitTimer = 1,
};

inline constexpr ui::Control kKitTestControls[] = {
    {kKitFrame, ui::ControlKind::Frame, "frameChoice", "Choice", 8, 8, 180, 70, 0},
    {kKitOptA, ui::ControlKind::Option, "optFirst", "First", 10, 18, 100, 20, kKitFrame, ui::kGroupStart},
    {kKitOptB, ui::ControlKind::Option, "optSecond", "Second", 10, 42, 100, 20, kKitFrame},
    {kKitCheck, ui::ControlKind::CheckBox, "chkKeep", "Keep", 200, 10, 100, 20, 0},
    {kKitText, ui::ControlKind::TextBox, "txtNumber", "12", 200, 40, 80, 22, 0, ui::kNumber},
    {kKitSave, ui::ControlKind::Button, "cmdSave", "&Save", 310, 10, 80, 26, 0, ui::kDisabled},
    {kKitList, ui::ControlKind::ListBox, "lstNames", "", 8, 90, 120, 80, 0},
    {kKitCombo, ui::ControlKind::ComboBox, "cboSpeed", "", 140, 90, 120, 24, 0},
    {kKitRows, ui::ControlKind::ListView, "lvwFiles", "", 8, 180, 280, 90, 0},
    {kKitSlider, ui::ControlKind::Slider, "sldRate", "", 300, 90, 100, 30, 0},
    {kKitLabel, ui::ControlKind::Label, "lblNote", "Note", 300, 130, 100, 20, 0},
    {kKitHiddenText, ui::ControlKind::TextBox, "txtHidden", "", 300, 160, 80, 22, 0, ui::kHidden},
};

inline constexpr ui::Column kKitTestColumns[] = {
    {kKitRows, "File Name", 120},
    {kKitRows, "Date", 80},
};

inline constexpr ui::Layout kKitTestLayout{
    "frmKitTest", "CorvaneKitTest", "Kit Test", ui::Unit::Pixels, 420, 280, kKitTestControls, kKitTestColumns};

}  // namespace corvane::testing
