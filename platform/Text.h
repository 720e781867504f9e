// Small pieces of text reading that the file readers and the dialogs share.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace corvane {

// text without the spaces (' ' only) at either end.
inline std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The value of a hexadecimal digit in either case; -1 for any other char.
inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The whole text read as a decimal int (an optional '-', digits, nothing
// else); nothing when it is not one or does not fit.
inline std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace corvane
