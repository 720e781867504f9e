// The program's folder read from a folder whose name the ANSI code page
// cannot spell (Cyrillic under 1252) and from an exe path longer than
// MAX_PATH: the program finds its own files there through the short (8.3)
// form, or says the folder cannot be used; never does it read a file from
// the current folder instead. A probe copied there reports what it sees.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/ProgramFile.h"

namespace corvane::win32 {
namespace {

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return wide;
}

// "\\?\" lets the wide calls go past MAX_PATH.
std::wstring Long(const std::wstring& path) { return L"\\\\?\\" + path; }

void WriteFile(const std::wstring& path, const char* text) {
  HANDLE file = ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  ::CloseHandle(file);
}

struct FolderCase {
  const char* what;
  std::wstring folderName;  // below the test's own folder; may hold "\"
  std::size_t exePathLength;  // 0: as it comes; else the probe's path is made that long
};

class ProgramFileFolders : public ::testing::TestWithParam<FolderCase> {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    base_ = std::wstring(temp) + L"corvane-folder-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(base_.c_str(), nullptr);
    planted_ = base_ + L"\\current";
    ::CreateDirectoryW(planted_.c_str(), nullptr);
    WriteFile(planted_ + L"\\marker.txt", "planted");
  }
  void TearDown() override {
    // The prefix is thrown away after the run; the files are small.
  }

  // What RunProbeIn gives when the system cannot start the probe at all.
  inline static const std::string kUnstartable = "unstartable: error ";

  // Runs the probe copied to `folder`, started from the planted folder.
  std::string RunProbeIn(const std::wstring& folder) {
    std::wstring exe = folder + L"\\corvane_folderprobe.exe";
    EXPECT_TRUE(::CopyFileW(Widen(ProgramFolder() + "\\corvane_folderprobe.exe").c_str(), Long(exe).c_str(), FALSE))
        << ::GetLastError();
    WriteFile(folder + L"\\marker.txt", "beside");
    std::wstring out = base_ + L"\\out.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = ::CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = output;
    si.hStdError = output;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    // Past MAX_PATH a program can only be started by its short path (Wine
    // refuses the long one with error 2); it still runs from its long folder.
    std::wstring start = exe;
    if (exe.size() >= MAX_PATH) {
      wchar_t shortPath[MAX_PATH] = {};
      DWORD n = ::GetShortPathNameW(Long(exe).c_str(), shortPath, MAX_PATH);
      if (n > 0 && n < MAX_PATH) start = shortPath;
      if (start.rfind(L"\\\\?\\", 0) == 0) start.erase(0, 4);
      command = L"\"" + start + L"\"";
    }
    BOOL started = ::CreateProcessW(start.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                    planted_.c_str(), &si, &pi);
    const DWORD startError = started ? 0 : ::GetLastError();
    ::CloseHandle(output);
    if (!started && exe.size() >= MAX_PATH) return kUnstartable + std::to_string(startError);
    EXPECT_TRUE(started) << startError;
    if (!started) return {};
    ::WaitForSingleObject(pi.hProcess, 30000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    std::string text;
    HANDLE in = ::CreateFileW(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in != INVALID_HANDLE_VALUE) {
      char buffer[2048];
      DWORD got = 0;
      if (::ReadFile(in, buffer, sizeof buffer, &got, nullptr)) text.assign(buffer, got);
      ::CloseHandle(in);
    }
    return text;
  }

  std::wstring base_;
  std::wstring planted_;
};

TEST_P(ProgramFileFolders, TheProgramsOwnFilesOrAPlainNoButNeverTheCurrentFolders) {
  const FolderCase& c = GetParam();
  std::wstring folder = base_;
  std::wstring rest = c.folderName;
  if (c.exePathLength > 0) {
    // Folders of 100 characters until the probe's path has the length.
    std::size_t exeName = std::wstring(L"\\corvane_folderprobe.exe").size();
    while (folder.size() + 1 + exeName < c.exePathLength) {
      std::size_t room = c.exePathLength - exeName - folder.size() - 1;
      folder += L"\\" + std::wstring(std::min<std::size_t>(room, 100), L'd');
      ASSERT_TRUE(::CreateDirectoryW(Long(folder).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ASSERT_EQ(folder.size() + exeName, c.exePathLength);
  } else {
    folder += L"\\" + rest;
    ASSERT_TRUE(::CreateDirectoryW(Long(folder).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  }
  std::string seen = RunProbeIn(folder);
  if (seen.rfind(kUnstartable, 0) == 0) {
    // 32-bit Wine gives some programs past MAX_PATH no short path to start
    // them by; there is then nothing of the program's to look at.
    GTEST_SKIP() << "Wine cannot start a program at a path of " << c.exePathLength
                 << " characters here (error " << seen.substr(kUnstartable.size()) << ")";
  }
  RecordProperty("probe", seen);
  std::printf("[ %s ] %s", c.what, seen.c_str());
  EXPECT_EQ(seen.find("marker=planted"), std::string::npos) << c.what << ": read from the current folder\n" << seen;
  const bool found = seen.find("marker=beside") != std::string::npos;
  const bool refused = seen.find("folder=\nfile=\nmarker=-") != std::string::npos;
  EXPECT_TRUE(found || refused) << c.what << "\n" << seen;
  if (found) {
    // The long name, or its short form where the long one has no ANSI name.
    EXPECT_TRUE(seen.find("file=corvane_folderprobe.exe") != std::string::npos ||
                (seen.find("file=CORV~") != std::string::npos && seen.find(".EXE") != std::string::npos))
        << seen;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ProgramFileFolders,
    ::testing::Values(FolderCase{"plain", L"Corvane", 0},
                      FolderCase{"Cyrillic", L"\x041A\x043E\x0440\x0432\x0435\x0439\x043D \x043F\x0430\x043F\x043A\x0430", 0},
                      FolderCase{"279 characters", L"", 279}),
    [](const ::testing::TestParamInfo<FolderCase>& param) {
      return param.index == 0 ? std::string("Plain") : param.index == 1 ? std::string("Cyrillic") : std::string("Long279");
    });

// The message for a folder that cannot be used names the folder by its
// true name.
TEST(ProgramFolderUnusable, TheMessageNamesTheFolder) {
  std::wstring text = ProgramFolderUnusableText();
  EXPECT_NE(text.find(Widen(ProgramFolder())), std::wstring::npos);
  EXPECT_NE(text.find(L"cannot be used"), std::wstring::npos);
}

}  // namespace
}  // namespace corvane::win32
