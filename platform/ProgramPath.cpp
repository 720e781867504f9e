#include "platform/ProgramPath.h"

namespace corvane {

std::optional<ProgramPathParts> SplitProgramPath(std::string_view path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos || slash == 0 || slash + 1 == path.size()) return std::nullopt;
  return ProgramPathParts{std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

std::optional<std::wstring> SplitProgramFolder(std::wstring_view path) {
  std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring_view::npos || slash == 0 || slash + 1 == path.size()) return std::nullopt;
  return std::wstring(path.substr(0, slash));
}

bool FolderFitsAnsiCalls(std::string_view folder) {
  return !folder.empty() && folder.size() + kLongestNameInFolder <= kAnsiPathLimit;
}

}  // namespace corvane
