#include "shell/tray/NotifyIconRecord.h"

#include <cstring>

namespace corvane::shell {

namespace {

void Put32(std::array<std::uint8_t, NotifyIconRecord::kSize>& bytes, std::size_t offset,
           std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
  }
}

template <std::size_t N>
void PutText(std::array<std::uint8_t, NotifyIconRecord::kSize>& bytes, std::size_t offset,
             const std::array<char, N>& field) {
  std::memcpy(bytes.data() + offset, field.data(), N);
}

}  // namespace

std::array<std::uint8_t, NotifyIconRecord::kSize> NotifyIconRecord::Bytes() const {
  std::array<std::uint8_t, kSize> bytes{};
  Put32(bytes, 0, cbSize);
  Put32(bytes, nid_offset::kHwnd, hWnd);
  Put32(bytes, nid_offset::kUid, uID);
  Put32(bytes, nid_offset::kFlags, uFlags);
  Put32(bytes, nid_offset::kCallbackMessage, uCallbackMessage);
  Put32(bytes, nid_offset::kIcon, hIcon);
  PutText(bytes, nid_offset::kTip, szTip);
  Put32(bytes, nid_offset::kState, dwState);
  Put32(bytes, nid_offset::kStateMask, dwStateMask);
  PutText(bytes, nid_offset::kInfo, szInfo);
  Put32(bytes, nid_offset::kTimeout, uTimeout);
  PutText(bytes, nid_offset::kInfoTitle, szInfoTitle);
  Put32(bytes, nid_offset::kInfoFlags, dwInfoFlags);
  return bytes;
}

std::string TooltipText(std::string_view trayToolTip) {
  if (trayToolTip.empty()) return {};
  std::string tip = " ";
  tip += trayToolTip;
  tip += ' ';
  return tip;
}

}  // namespace corvane::shell
