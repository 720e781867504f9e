// The readers of the program's text formats (skin, splash picture, movie)
// refuse a bad text whole: nothing comes out of it, a message says why, and
// the result names the line at fault (0 for the file as a whole).
#pragma once

#include <gtest/gtest.h>

#include <string_view>

namespace corvane::testing {

// A bad text and the line its reader names (0 for the file as a whole).
struct BadText {
  const char* text;
  int line;
};

// `read` names what the result holds on success (skin, picture, movie);
// `label` tells the failing case in the test's output.
template <class Result, class Read>
void ExpectRefusedAtLine(const Result& result, Read Result::*read, std::string_view label, int line) {
  EXPECT_FALSE(result.*read) << label;
  EXPECT_FALSE(result.error.empty()) << label;
  EXPECT_EQ(result.line, line) << label << ": " << result.error;
}

}  // namespace corvane::testing
