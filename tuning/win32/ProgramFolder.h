// The folder of the running program file, where Backups lives.
#pragma once

#include <string>

namespace corvane::win32 {

// Without a trailing backslash ("C:\Program Files\Corvane"); "C:" for a
// program in the root of a drive.
std::string ProgramFolder();

}  // namespace corvane::win32
