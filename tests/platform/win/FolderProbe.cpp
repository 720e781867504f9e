// Prints what the program makes of its own folder: the folder in the form
// the ANSI calls take (empty when it cannot be used), the file name, and
// the first line of "marker.txt" read from that folder ("-" when none).
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/ProgramFile.h"

int main() {
  std::string folder = corvane::win32::ProgramFolder();
  std::string marker = "-";
  if (!folder.empty()) {
    if (FILE* in = std::fopen((folder + "\\marker.txt").c_str(), "r")) {
      char line[64] = {};
      if (std::fgets(line, sizeof line, in) != nullptr) marker = line;
      std::fclose(in);
    }
  }
  std::printf("folder=%s\nfile=%s\nmarker=%s\n", folder.c_str(), corvane::win32::ProgramFileName().c_str(),
              marker.c_str());
  return 0;
}
