#include "tuning/FileSystem.h"

namespace corvane {

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += name;
  return path;
}

}  // namespace corvane
