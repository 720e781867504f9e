// Where the in-memory tuning tests put the program: its folder, and the
// Backups folder in it where the snapshots go.
#pragma once

namespace corvane::testing {

inline constexpr const char* kFolder = "C:\\Corvane";
inline constexpr const char* kBackups = "C:\\Corvane\\Backups";

}  // namespace corvane::testing
