#include "tuning/win32/ProgramFolder.h"

#include <windows.h>

namespace corvane::win32 {

std::string ProgramFolder() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path(buffer, length);
  std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace corvane::win32
