// A program planted as rundll32.exe where a search for a bare "rundll32.exe"
// would find it first. If it ever runs, it says so in the file named by
// CORVANE_PLANTED_MARK.
#include <windows.h>

int main() {
  char path[MAX_PATH] = {};
  DWORD length = ::GetEnvironmentVariableA("CORVANE_PLANTED_MARK", path, sizeof path);
  if (length == 0 || length >= sizeof path) return 2;
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  ::WriteFile(file, "planted rundll32.exe ran", 24, &written, nullptr);
  ::CloseHandle(file);
  return 1;
}
