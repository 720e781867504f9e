// A target for checking the fuzz driver itself: the input "crash me" aborts
// and "hang me" never returns. tools/suites.d/native-fuzz-driver.sh runs the
// driver on each and expects to find exactly that input kept as crash-<hash>.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <thread>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input == "crash me") std::abort();
  if (input == "hang me") {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  return 0;
}
