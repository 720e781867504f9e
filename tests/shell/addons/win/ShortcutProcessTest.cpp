// A shortcut really starts its applet as a process of its own, with a
// window; the test ends that process (it started it) by its identifier.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/ProgramFile.h"
#include "shell/addons/win32/Win32Addons.h"

namespace corvane::shell {
namespace {

struct FindContext {
  DWORD pid;
  bool visibleWindow = false;
  std::string caption;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param) {
  auto* ctx = reinterpret_cast<FindContext*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == ctx->pid && ::IsWindowVisible(hwnd)) {
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    ctx->visibleWindow = true;
    ctx->caption = text;
    return FALSE;
  }
  return TRUE;
}

TEST(SystemShortcuts, InternetPropertiesStartsItsAppletProcess) {
  Win32ProcessStarter starter;
  Win32ShutdownApi shutdown;
  mdlAddons addons(starter, shutdown);
  DWORD pid = addons.OpenInternetProperties();
  ASSERT_NE(pid, 0u) << "rundll32.exe did not start";
  win32::UniqueHandleNull process(
      ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
  ASSERT_TRUE(process);

  FindContext ctx{pid, false, {}};
  for (int i = 0; i < 200 && !ctx.visibleWindow; ++i) {
    ::Sleep(100);
    if (::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) break;
    ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&ctx));
  }
  EXPECT_TRUE(ctx.visibleWindow) << "the applet process showed no window";
  EXPECT_NE(ctx.caption.find("Internet"), std::string::npos) << ctx.caption;

  EXPECT_TRUE(::TerminateProcess(process.get(), 0));
  EXPECT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
}

TEST(SystemShortcuts, AMissingProgramStartsNothing) {
  Win32ProcessStarter starter;
  EXPECT_EQ(starter.StartProcess(win32::ProgramFolder() + "\\corvane-no-such-program.exe",
                                 "corvane-no-such-program.exe", 5),
            0u);
}

TEST(SystemShortcuts, TheFoldersAreTheSystemsOwn) {
  Win32ProcessStarter starter;
  SystemFolders folders = starter.Folders();
  char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
  EXPECT_EQ(folders.windows, windows);
  EXPECT_EQ(folders.system, system);
  EXPECT_EQ(folders.ntPlatform, (::GetVersion() & 0x80000000u) == 0);
  // The file every shortcut starts is there.
  std::string rundll32 =
      Rundll32Path(folders, [&](const std::string& path) { return starter.FileExists(path); });
  EXPECT_TRUE(starter.FileExists(rundll32)) << rundll32;
  EXPECT_FALSE(starter.FileExists(folders.windows)) << "a folder is no file";
}

// A program folder (or current folder) that someone could write into holds
// a rundll32.exe of their own: the shortcut must start the system's.
class PlantedRundll32 : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = std::string(temp) + "corvane-planted-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string bin = win32::ProgramFolder();
    ASSERT_TRUE(::CopyFileA((bin + "\\corvane_shortcut_host.exe").c_str(), Host().c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA((bin + "\\corvane_planted_rundll32.exe").c_str(), Planted().c_str(),
                            FALSE));
    ::DeleteFileA(Mark().c_str());
    ASSERT_TRUE(::SetEnvironmentVariableA("CORVANE_PLANTED_MARK", Mark().c_str()));
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("CORVANE_PLANTED_MARK", nullptr);
    for (const std::string& file : {Host(), Planted(), Mark()}) ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(folder_.c_str());
  }
  std::string Host() const { return folder_ + "\\corvane_shortcut_host.exe"; }
  std::string Planted() const { return folder_ + "\\rundll32.exe"; }
  std::string Mark() const { return folder_ + "\\planted-ran.txt"; }
  bool Marked() const { return ::GetFileAttributesA(Mark().c_str()) != INVALID_FILE_ATTRIBUTES; }

  // Runs a program with the folder as its current folder; its exit code.
  DWORD Run(const std::string& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder_.c_str(), &startup, &process)) {
      ADD_FAILURE() << program << " did not start: " << ::GetLastError();
      return 0;
    }
    win32::UniqueHandleNull thread(process.hThread);
    win32::UniqueHandleNull handle(process.hProcess);
    EXPECT_EQ(::WaitForSingleObject(handle.get(), 60000), WAIT_OBJECT_0) << program;
    DWORD code = 0;
    ::GetExitCodeProcess(handle.get(), &code);
    return code;
  }

  std::string folder_;
};

TEST_F(PlantedRundll32, AShortcutNeverRunsTheOneBesideTheProgram) {
  // The planted program works: run by itself, it leaves its mark.
  EXPECT_EQ(Run(Planted()), 1u);
  ASSERT_TRUE(Marked()) << "the planted program left no mark";
  ASSERT_TRUE(::DeleteFileA(Mark().c_str()));

  DWORD pid = Run(Host());
  ASSERT_NE(pid, 0u) << "no applet was started";
  win32::UniqueHandleNull applet(
      ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
  // Give a planted program every chance to leave its mark.
  FindContext ctx{pid, false, {}};
  for (int i = 0; i < 100 && !ctx.visibleWindow && !Marked(); ++i) {
    ::Sleep(100);
    if (applet && ::WaitForSingleObject(applet.get(), 0) == WAIT_OBJECT_0) break;
    ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&ctx));
  }
  EXPECT_FALSE(Marked()) << "the rundll32.exe beside the program ran";
  EXPECT_TRUE(ctx.visibleWindow) << "the system's applet showed no window";
  if (applet) {
    ::TerminateProcess(applet.get(), 0);
    EXPECT_EQ(::WaitForSingleObject(applet.get(), 10000), WAIT_OBJECT_0);
  }
}

}  // namespace
}  // namespace corvane::shell
