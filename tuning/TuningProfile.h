// One set of tuning values, and the one working set that the wizard and the
// advanced editor fill and ApplyTuningProfile writes.
#pragma once

#include <cstdint>

namespace corvane {

// A boolean as the whole program keeps it: true -1, false 0.
using VbBool = std::int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;

// In mtu or receiveWindow: let Windows use its built-in value (the apply
// removes those registry values instead of writing them).
inline constexpr std::int32_t USE_DEFAULT = -1;

// Fields in declared order, with their widths.
struct TuningProfile {
  std::int32_t mss = 0;                 // maximum segment size, bytes
  std::int32_t mtu = 0;                 // maximum transmission unit, bytes; USE_DEFAULT allowed
  std::int32_t receiveWindow = 0;       // TCP receive window, bytes; USE_DEFAULT allowed
  std::int32_t defaultTtl = 0;          // hops
  std::int32_t keepAliveTime = 0;       // ms before the first keep-alive
  std::int32_t keepAliveInterval = 0;   // ms between keep-alive retransmissions
  std::int16_t synAttackProtect = 0;    // 0, 1 or 2
  std::int32_t ndiCacheSize = 0;        // written unchanged
  VbBool pmtuDiscovery = kFalse;
  VbBool pmtuBlackHoleDetect = kFalse;
  std::int32_t maxConnPer10Server = 0;  // browser connections per HTTP 1.0 server
  std::int32_t maxConnPer11Server = 0;  // browser connections per HTTP 1.1 server
  VbBool icmpRedirects = kFalse;

  bool operator==(const TuningProfile&) const = default;
};

// The program's working profile; all zero until the wizard window loads.
inline TuningProfile workingProfile{};

// The number the registry holds for a boolean: 1 for exactly -1, else 0.
constexpr std::int16_t BoolToFlag(VbBool value) { return value == kTrue ? 1 : 0; }

}  // namespace corvane
