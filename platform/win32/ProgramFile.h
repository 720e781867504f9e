// The running program file and its folder, the application folder that holds
// the movie, skin, help and Backups.
#pragma once

#include <string>

namespace corvane::win32 {

// Without a trailing backslash ("C:\Program Files\Corvane"); "C:" for a
// program in the root of a drive.
std::string ProgramFolder();
// The file name alone ("corvane.exe").
std::string ProgramFileName();

}  // namespace corvane::win32
