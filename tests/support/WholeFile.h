// A file's whole content, read back by the tests that check what a program,
// a host or a logging stand-in wrote there; nothing when it cannot be opened.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace corvane::testing {

inline std::optional<std::string> ReadWholeFile(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return std::nullopt;
  std::string text;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
  std::fclose(in);
  return text;
}

}  // namespace corvane::testing
