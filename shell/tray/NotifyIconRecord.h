// The notification record that the tray icon hands to the notification area:
// the ANSI NOTIFYICONDATA in its 488-byte form with the balloon fields
// (Shell32 5.0). Built here without Windows headers so that its fields and
// byte layout are checked natively; the Win32 adapter copies the bytes into
// the system's structure.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::shell {

struct NotifyIconRecord {
  static constexpr std::uint32_t kSize = 488;
  static constexpr std::size_t kTipLength = 128;
  static constexpr std::size_t kInfoLength = 256;
  static constexpr std::size_t kInfoTitleLength = 64;

  // uFlags bits.
  static constexpr std::uint32_t kFlagMessage = 0x01;
  static constexpr std::uint32_t kFlagIcon = 0x02;
  static constexpr std::uint32_t kFlagTip = 0x04;
  static constexpr std::uint32_t kFlagInfo = 0x10;

  std::uint32_t cbSize = kSize;
  std::uint32_t hWnd = 0;  // a window handle: 32 bits in the 32-bit program
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uint32_t hIcon = 0;
  std::array<char, kTipLength> szTip{};
  std::uint32_t dwState = 0;
  std::uint32_t dwStateMask = 0;
  std::array<char, kInfoLength> szInfo{};
  std::uint32_t uTimeout = 0;  // union with uVersion
  std::array<char, kInfoTitleLength> szInfoTitle{};
  std::uint32_t dwInfoFlags = 0;

  // The record as the system reads it: little-endian, fields in order, no
  // padding (every field is 4-byte aligned).
  std::array<std::uint8_t, kSize> Bytes() const;

  friend bool operator==(const NotifyIconRecord&, const NotifyIconRecord&) = default;
};

// Byte offsets of the fields in Bytes(), as the published structure has them.
namespace nid_offset {
inline constexpr std::size_t kHwnd = 4;
inline constexpr std::size_t kUid = 8;
inline constexpr std::size_t kFlags = 12;
inline constexpr std::size_t kCallbackMessage = 16;
inline constexpr std::size_t kIcon = 20;
inline constexpr std::size_t kTip = 24;
inline constexpr std::size_t kState = 152;
inline constexpr std::size_t kStateMask = 156;
inline constexpr std::size_t kInfo = 160;
inline constexpr std::size_t kTimeout = 416;
inline constexpr std::size_t kInfoTitle = 420;
inline constexpr std::size_t kInfoFlags = 484;
}  // namespace nid_offset

// Fills a fixed text field: the text from the left, cut so that a
// terminating NUL always fits, the rest NUL. The shell reads these fields as
// C strings; a field full to its last byte would lose its last character or
// be read past its end.
template <std::size_t N>
void FillTextField(std::array<char, N>& field, std::string_view text) {
  field.fill('\0');
  std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  for (std::size_t i = 0; i < n; ++i) field[i] = text[i];
}

template <std::size_t N>
std::string FieldText(const std::array<char, N>& field) {
  std::size_t n = 0;
  while (n < N && field[n] != '\0') ++n;
  return std::string(field.data(), n);
}

// The tooltip text: one space on each side of the text, or nothing at all
// when the text is empty (no tooltip).
std::string TooltipText(std::string_view trayToolTip);

}  // namespace corvane::shell
