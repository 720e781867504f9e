// Fuzz target: the splash reader takes any bytes without crashing, and what
// it accepts stays within its documented limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/SplashFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto result = corvane::shell::ParseSplash(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.picture) {
    const auto& p = *result.picture;
    if (p.width < 16 || p.width > 1024 || p.height < 16 || p.height > 1024) std::abort();
    if (p.items.size() > corvane::shell::kMaxSplashItems) std::abort();
    for (const auto& item : p.items) {
      if (item.width < -4096 || item.width > 4096 || item.text.size() > 200) std::abort();
    }
  } else if (result.error.empty()) {
    std::abort();
  }
  return 0;
}
