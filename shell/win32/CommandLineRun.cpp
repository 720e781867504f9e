#include "shell/win32/CommandLineRun.h"

#include <windows.h>

#include <string>

#include "platform/AppInfo.h"
#include "platform/OsVersion.h"
#include "platform/win32/ProgramFile.h"
#include "platform/win32/Win32OsVersion.h"
#include "platform/win32/Win32Registry.h"
#include "shell/CommandLine.h"
#include "tuning/Presets.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32DateTimeFormat.h"
#include "tuning/win32/Win32FileSystem.h"

namespace corvane::win32 {
namespace {

// The report goes to the console of the program that started this one,
// where the Windows has AttachConsole (XP and later; looked up at run time
// so that the program still starts on 95 to 2000).
bool ToParentConsole(const std::string& report) {
  using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return false;
  auto attach = reinterpret_cast<AttachConsoleFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "AttachConsole")));
  constexpr DWORD kParentProcess = static_cast<DWORD>(-1);
  if (attach == nullptr || !attach(kParentProcess)) return false;
  HANDLE console = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  // The prompt was written before this program's report: start on a line
  // of its own.
  std::string text = "\r\n";
  for (char c : report) {
    if (c == '\n') text += '\r';
    text += c;
  }
  DWORD written = 0;
  (void)::WriteFile(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(console);
  return true;
}

}  // namespace

std::optional<int> RunCommandLine(const char* commandLine) {
  const cli::Command command = cli::ParseCommandLine(commandLine != nullptr ? commandLine : "");
  if (command.action == cli::Action::Window) return std::nullopt;

  corvane::DetectOsFamily(Win32OsVersion());
  corvane::FillPresetProfiles();
  Win32Registry registry;
  Win32FileSystem files;
  Win32Clock clock;
  Win32DateTimeFormat format;
  const TuningContext context{registry, files, clock, ProgramFolder()};
  std::string report;
  const cli::ExitCode exit = cli::RunCommand(command, context, format, report);
  // /? asked for from Explorer or a shortcut, or on a Windows without
  // AttachConsole, would otherwise show nothing at all.
  if (!ToParentConsole(report) && command.action == cli::Action::Help &&
      command.logFile.empty()) {
    ::MessageBoxA(nullptr, report.c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
  }
  return static_cast<int>(exit);
}

}  // namespace corvane::win32
