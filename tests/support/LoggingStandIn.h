// The program's logging stand-ins (the sound player, the shell's "open") are
// what its factories make while an environment variable names a log file.
// A test makes one with a fresh log in the temporary folder, the variable
// set for that one call only.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::testing {

// A path in the Windows temporary folder, with no file there yet.
inline std::string FreshTempFile(const std::string& name) {
  char folder[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + name;
  ::DeleteFileA(path.c_str());
  return path;
}

template <typename Make>
auto MakeLoggingTo(const char* variable, const std::string& log, Make make) {
  ::SetEnvironmentVariableA(variable, log.c_str());
  auto made = make();
  ::SetEnvironmentVariableA(variable, nullptr);
  return made;
}

}  // namespace corvane::testing
