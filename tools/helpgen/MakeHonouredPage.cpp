// Writes the help page of the honoured-values table to the file named by its
// argument. Built for the build machine and run while the help file is made.
#include <cstdio>
#include <string>

#include "tuning/HonouredPage.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <page.htm>\n", argv[0]);
    return 2;
  }
  const std::string page = corvane::RenderHonouredPage();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(page.data(), 1, page.size(), file) == page.size();
  return std::fclose(file) == 0 && ok ? 0 : 1;
}
