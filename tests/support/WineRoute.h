// How the Windows tests are being run, as the test tools say it in the
// environment (tools/lib/wine.sh): CORVANE_WINE_ROUTE is native32, qemu32
// or win64, and CORVANE_HOST_MEMORY_MIB the machine's memory.
#pragma once

#include <cstdlib>
#include <string>

namespace corvane::testing {

inline std::string WineRoute() {
  const char* route = std::getenv("CORVANE_WINE_ROUTE");
  return route != nullptr ? route : "";
}

// Why the memory-status readings cannot be trusted on this run, or nothing
// when they can. qemu-user hands a 32-bit process the host's sysinfo()
// amounts cut to 32 bits with a unit of one byte, where a 32-bit kernel
// would scale the unit until they fit. Wine takes the total physical memory
// from there and the available memory from /proc/meminfo, so with more than
// 4 GiB in the machine the total is the host's modulo 4 GiB, the available
// amount can exceed it, and the memory load wraps round (4243387408 was seen).
inline std::string QemuMemoryStatusFault() {
  if (WineRoute() != "qemu32") return "";
  const char* mib = std::getenv("CORVANE_HOST_MEMORY_MIB");
  if (mib != nullptr && std::strtoul(mib, nullptr, 10) < 4096) return "";
  return "under qemu-user the 32-bit process reads the host's memory through sysinfo() cut to "
         "32 bits (host memory modulo 4 GiB, mem_unit 1): total below available, memory load "
         "wrapped; not a fault of the program";
}

}  // namespace corvane::testing
