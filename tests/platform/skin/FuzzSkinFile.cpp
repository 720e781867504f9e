// Fuzz target: the skin reader takes any bytes without crashing, and what
// it accepts is within its documented ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/skin/SkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto result = corvane::skin::ParseSkin(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.skin) {
    if (result.skin->objects.size() > corvane::skin::kMaxSkinObjects) std::abort();
    for (const auto& o : result.skin->objects) {
      if (o.radius < 0 || o.radius > 32 || o.fontSize < 6 || o.fontSize > 36) std::abort();
      if (o.font.empty() || o.font.size() > 31 || o.name.empty() || o.name.size() > 32) std::abort();
    }
  } else if (result.error.empty()) {
    std::abort();
  }
  return 0;
}
