// The shell's benchmark: start-up time of corvane.exe to its visible,
// painted main window against a bare Win32 window program, the processor
// time of the idle main window, and the working set after start-up.
// Prints figures; judges nothing.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/ProgramFile.h"
#include "tests/support/BenchClock.h"
#include "tests/support/ProcessWindows.h"

namespace {

std::string Folder() { return corvane::win32::ProgramFolder(); }

using corvane::testing::Now;
using corvane::testing::VisibleWindowOf;

COLORREF Pixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  COLORREF c = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return c;
}

struct Run {
  PROCESS_INFORMATION pi{};
  HWND window = nullptr;
  double seconds = -1;
};

// Starts the program and waits until its window of that class is visible
// and the screen at (x, y) shows something other than what was there.
Run StartAndWaitPainted(const std::string& exe, const char* className, int x, int y) {
  Run run;
  COLORREF before = Pixel(x, y);
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  double t0 = Now();
  if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder().c_str(), &si,
                        &run.pi)) {
    return run;
  }
  while (Now() - t0 < 30) {
    HWND shown = VisibleWindowOf(run.pi.dwProcessId, className);
    if (shown != nullptr && Pixel(x, y) != before) {
      run.window = shown;
      run.seconds = Now() - t0;
      break;
    }
    ::Sleep(1);
  }
  return run;
}

void End(Run& run) {
  if (run.pi.hProcess == nullptr) return;
  if (run.window != nullptr) ::PostMessageA(run.window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(run.pi.hProcess, 15000) != WAIT_OBJECT_0) ::TerminateProcess(run.pi.hProcess, 1);
  ::WaitForSingleObject(run.pi.hProcess, 5000);
  ::CloseHandle(run.pi.hThread);
  ::CloseHandle(run.pi.hProcess);
  run.pi = {};
  // Let the screen go back to empty before the next start.
  ::Sleep(300);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

double MedianStartUp(const std::string& exe, const char* className, int x, int y, int runs) {
  std::vector<double> times;
  for (int i = 0; i <= runs; ++i) {
    Run run = StartAndWaitPainted(exe, className, x, y);
    if (i > 0 && run.seconds >= 0) times.push_back(run.seconds);  // the first run warms the caches
    End(run);
  }
  return Median(times);
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto seconds = [](const FILETIME& f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  std::string folder = Folder();

  // The bare window paints its whole area; corvane's movie its top left.
  double bare = MedianStartUp(folder + "\\corvane_bare_window.exe", "CorvaneBareWindow", 337, 217, runs);
  double corvane = MedianStartUp(folder + "\\corvane.exe", "CorvaneMainWindow", 40, 40, runs);
  std::printf("startup.bare_window_s      %.3f   (median of %d)\n", bare, runs);
  std::printf("startup.corvane_s          %.3f   (median of %d, to the visible painted main window)\n", corvane, runs);
  std::printf("startup.ratio              %.2f    (goal <= 2)\n", bare > 0 ? corvane / bare : -1.0);

  Run run = StartAndWaitPainted(folder + "\\corvane.exe", "CorvaneMainWindow", 40, 40);
  if (run.window == nullptr) {
    std::printf("corvane.exe did not show its window\n");
    End(run);
    return 1;
  }
  // Let the splash fade and the first animations end.
  ::Sleep(3000);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(run.pi.hProcess, &memory, sizeof memory)) {
    std::printf("memory.working_set_kib     %lu\n", static_cast<unsigned long>(memory.WorkingSetSize / 1024));
    std::printf("memory.peak_working_set_kib %lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
    std::printf("memory.private_kib         %lu\n", static_cast<unsigned long>(memory.PagefileUsage / 1024));
  }
  std::printf("idle.windows_pid           %lu\n", static_cast<unsigned long>(run.pi.dwProcessId));
  std::fflush(stdout);
  double cpu0 = CpuSeconds(run.pi.hProcess);
  double t0 = Now();
  ::Sleep(static_cast<DWORD>(idleSeconds) * 1000u);
  double cpu1 = CpuSeconds(run.pi.hProcess);
  double wall = Now() - t0;
  if (cpu1 > 0) {
    std::printf("idle.cpu_percent           %.3f   (processor time of the idle main window over %.0f s, %% of one core; goal < 1)\n",
                100.0 * (cpu1 - cpu0) / wall, wall);
  } else {
    // Wine keeps no processor times for another process; the Linux side of
    // the same process is measured by tools/bench.d/shell.sh.
    std::printf("idle.cpu_percent           n/a     (GetProcessTimes gives no times for another process here)\n");
  }
  std::fflush(stdout);
  // tools/bench.d/shell.sh starts its own 30 s a little after this one
  // printed the pid: the program stays until that has ended too.
  ::Sleep(5000);
  End(run);
  return 0;
}
