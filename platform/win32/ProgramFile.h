// The running program file and its folder, the application folder that holds
// the movie, skin, help and Backups, in the form the ANSI calls take.
//
// On the NT family the path is read wide. When its ANSI form is exact (every
// character in the code page) and short enough, that form is used; otherwise
// its short (8.3) form, which every ANSI call accepts. When neither exists
// (no short names on the drive, or a short form still too long) the folder
// cannot be used: ProgramFolder() is empty and the program must say so and
// load nothing. On 95/98/ME the path is ANSI already; a path cut at MAX_PATH
// cannot be used either. Never the current folder.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::win32 {

// Without a trailing backslash ("C:\Program Files\Corvane"); "C:" for a
// program in the root of a drive; empty when the folder cannot be used.
std::string ProgramFolder();
// The file name alone ("corvane.exe"), in the same form; empty with the folder.
std::string ProgramFileName();

// The message that names a folder which cannot be used, with the folder's
// true name, and shows it (a message box, wide where the system has one).
std::wstring ProgramFolderUnusableText();
void TellProgramFolderUnusable(HWND owner);

}  // namespace corvane::win32
