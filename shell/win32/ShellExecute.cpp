#include "shell/win32/ShellExecute.h"

#include <shellapi.h>

#include <cstdio>

namespace corvane::shell {

void Win32ShellExecute::Open(HWND owner, const ShellOpenRequest& request) {
  (void)::ShellExecuteA(owner, request.defaultVerb ? nullptr : "open", request.file.c_str(),
                        request.parameters.empty() ? nullptr : request.parameters.c_str(),
                        request.directory.c_str(), request.showCommand);
}

std::string LoggingShellExecute::FormatRequest(HWND owner, const ShellOpenRequest& request) {
  return std::string(request.defaultVerb ? "(default)" : "open") + "|" + request.file + "|" +
         request.parameters + "|" + request.directory + "|" + std::to_string(request.showCommand) + "|" +
         (owner != nullptr ? "main" : "none");
}

void LoggingShellExecute::Open(HWND owner, const ShellOpenRequest& request) {
  if (FILE* log = std::fopen(logPath_.c_str(), "ab")) {
    std::string line = FormatRequest(owner, request) + "\r\n";
    (void)std::fwrite(line.data(), 1, line.size(), log);
    (void)std::fclose(log);
  }
}

std::unique_ptr<IShellExecute> MakeShellExecute() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableA(kShellExecuteLogVariable, path, sizeof path);
  if (n > 0 && n < sizeof path) return std::make_unique<LoggingShellExecute>(path);
  return std::make_unique<Win32ShellExecute>();
}

}  // namespace corvane::shell
