#include "platform/win32/ProgramFile.h"

#include <windows.h>

namespace corvane::win32 {

namespace {

std::string ProgramPath() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  // A path cut at MAX_PATH is no path: treat it as unknown.
  return std::string(buffer, length < MAX_PATH ? length : 0);
}

}  // namespace

std::string ProgramFolder() {
  std::string path = ProgramPath();
  std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string ProgramFileName() {
  std::string path = ProgramPath();
  std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace corvane::win32
