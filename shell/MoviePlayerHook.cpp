#include "shell/MoviePlayerHook.h"

#include <algorithm>
#include <string>

namespace corvane::shell {

bool IsMoviePlayerClass(std::string_view className) {
  std::string lower(className.substr(0, std::min(className.size(), kClassNameBufferSize - 1)));
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower.find(kMoviePlayerClassLower) != std::string::npos;
}

std::uint32_t FilterMoviePlayerMessage(std::uint32_t message, std::uintptr_t wParam) {
  if (message == kWmRButtonDown || message == kWmContextMenu) return kWmNull;
  if ((message == kWmKeyDown || message == kWmKeyUp) && wParam == kVkApps) return kWmNull;
  return message;
}

}  // namespace corvane::shell
