// The command line's Win32 side: corvane.exe started with arguments runs
// them here, without a window, in a process of its own, before the
// single-instance test, so a running copy is neither stopped nor brought
// forward.
#pragma once

#include <optional>

namespace corvane::win32 {

// The exit code for a command line that asks for something; nothing when
// the program should start its window as usual (no arguments).
std::optional<int> RunCommandLine(const char* commandLine);

}  // namespace corvane::win32
