#include "platform/FileBytes.h"

#include <cstdio>
#include <memory>

namespace corvane {

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t limit) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[16384];
  while (bytes.size() <= limit) {
    std::size_t want = sizeof chunk;
    if (limit + 1 - bytes.size() < want) want = limit + 1 - bytes.size();
    std::size_t got = std::fread(chunk, 1, want, file.get());
    bytes.append(chunk, got);
    if (got < want) {
      if (std::ferror(file.get())) return std::nullopt;
      break;
    }
  }
  return bytes;
}

}  // namespace corvane
