// IFileSystem over the ANSI file functions of kernel32, as Windows 95 has
// them (no MoveFileEx there).
#pragma once

#include "tuning/FileSystem.h"

namespace corvane::win32 {

class Win32FileSystem final : public IFileSystem {
 public:
  CORVANE_FILE_SYSTEM_OVERRIDES
};

}  // namespace corvane::win32
