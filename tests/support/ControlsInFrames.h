// A form's controls checked against a table: each control by its name, of
// its kind, with its caption, inside the frame that holds it ("" for a
// control placed straight on the form), and nothing on the form beyond the
// table's rows.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string_view>

#include "platform/ui/Layout.h"

namespace corvane::testing {

struct ControlInFrame {
  std::string_view name;
  ui::ControlKind kind;
  std::string_view caption;
  std::string_view frame;
};

inline void ExpectControlsInFrames(const ui::Layout& layout, std::span<const ControlInFrame> rows) {
  EXPECT_EQ(rows.size(), layout.controls.size());
  for (const ControlInFrame& row : rows) {
    const ui::Control* c = ui::FindControl(layout, row.name);
    ASSERT_NE(c, nullptr) << row.name;
    EXPECT_EQ(c->kind, row.kind) << row.name;
    EXPECT_EQ(c->caption, row.caption) << row.name;
    const ui::Control* frame = c->parent == 0 ? nullptr : ui::FindControl(layout, c->parent);
    EXPECT_EQ(frame == nullptr ? std::string_view() : frame->name, row.frame) << row.name;
  }
}

}  // namespace corvane::testing
