// Reading a whole small file into memory with the C library's stdio only.
// The program's data files (movie, skin, splash) are read this way rather
// than through <fstream>: the C++ file streams bring in C runtime functions
// (_fstat64, _wfopen) that the msvcrt.dll of Windows 95, 98 and NT 4 lacks,
// and one such import stops the program from loading there at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace corvane {

// The file's bytes, at most limit + 1 of them: a result longer than the limit
// says the file is larger than the limit (its contents then are only a
// prefix). Nothing when the file cannot be opened or a read fails.
std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t limit);

}  // namespace corvane
