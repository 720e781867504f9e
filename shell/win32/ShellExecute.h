// How the program asks the shell to open a document (the help file). The
// real adapter calls ShellExecuteA; the logging one, chosen by the
// environment variable CORVANE_SHELL_EXECUTE_LOG (a file path), appends the
// request to that file instead, so that tests see what would have opened and
// no viewer can appear and block them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "shell/ShellDispatcher.h"

namespace corvane::shell {

class IShellExecute {
 public:
  virtual ~IShellExecute() = default;
  // The result is not examined.
  virtual void Open(HWND owner, const ShellOpenRequest& request) = 0;
};

class Win32ShellExecute final : public IShellExecute {
 public:
  void Open(HWND owner, const ShellOpenRequest& request) override;
};

class LoggingShellExecute final : public IShellExecute {
 public:
  explicit LoggingShellExecute(std::string logPath) : logPath_(std::move(logPath)) {}
  // One line per request: verb|file|parameters|directory|show|owner
  // ("(default)" for the default verb, owner as "main" or "none").
  void Open(HWND owner, const ShellOpenRequest& request) override;
  static std::string FormatRequest(HWND owner, const ShellOpenRequest& request);

 private:
  std::string logPath_;
};

inline constexpr char kShellExecuteLogVariable[] = "CORVANE_SHELL_EXECUTE_LOG";

// The logging adapter when the variable names a file, else the real one.
std::unique_ptr<IShellExecute> MakeShellExecute();

}  // namespace corvane::shell
