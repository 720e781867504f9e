// The detection against every Windows version Wine can pose as. Wine takes a
// program's version from HKCU\Software\Wine\AppDefaults\<exe>\Version when the
// program starts, so each case sets that and starts the probe afresh.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/OsVersion.h"
#include "platform/win32/Win32OsVersion.h"
#include "platform/win32/ProgramFile.h"

namespace corvane {
namespace {

std::string ProbePath() { return win32::ProgramFolder() + "\\corvane_osprobe.exe"; }

// Runs the probe under the given Wine version and returns its output line.
std::string RunProbeAs(const std::string& version) {
  HKEY key = nullptr;
  const char* keyPath = "Software\\Wine\\AppDefaults\\corvane_osprobe.exe";
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return "no key";
  }
  ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
  ::RegCloseKey(key);

  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0)) return "no pipe";
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + ProbePath() + "\"";
  BOOL started = ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &si, &pi);
  ::CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[256];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      output.append(buffer, got);
    }
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  } else {
    output = "not started";
  }
  ::CloseHandle(readEnd);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

struct Expected {
  const char* wineVersion;
  const char* line;  // version code, family, IsNtPlatform, exact version
};

class OsDetection : public ::testing::TestWithParam<Expected> {};

TEST_P(OsDetection, ReportsTheFamilyOfTheTable) {
  EXPECT_EQ(RunProbeAs(GetParam().wineVersion), GetParam().line);
}

// Server 2003 and every later NT version join XP in code 7, the NT group.
// The probe has corvane.exe's manifest: 8.1 and 10 report their own version.
INSTANTIATE_TEST_SUITE_P(
    EveryWineVersion, OsDetection,
    ::testing::Values(Expected{"win95", "1 2 0 Windows 95"}, Expected{"win98", "2 3 0 Windows 98"},
                      Expected{"winme", "3 4 0 Windows ME"}, Expected{"nt40", "4 5 1 Windows NT 4.0"},
                      Expected{"win2k", "5 6 1 Windows 2000"},
                      Expected{"winxp", "6 7 1 Windows XP"},
                      Expected{"win2003", "6 7 1 Windows Server 2003"},
                      Expected{"vista", "6 7 1 Windows Vista"},
                      Expected{"win7", "6 7 1 Windows 7"}, Expected{"win8", "6 7 1 Windows 8"},
                      Expected{"win81", "6 7 1 Windows 8.1"},
                      Expected{"win10", "6 7 1 Windows 10"}),
    [](const ::testing::TestParamInfo<Expected>& p) { return std::string(p.param.wineVersion); });

// The test program itself runs under the version the harness chose; its own
// detection must agree with what Wine reports through GetVersionExA.
TEST(OsDetectionHere, AgreesWithGetVersionEx) {
  win32::Win32OsVersion source;
  OsVersionInfo info = source.GetVersion();
  EXPECT_TRUE(info.platformId == 1 || info.platformId == 2);
  const OsFamily savedFamily = currentOsFamily;
  const WindowsVersion savedVersion = currentWindowsVersion;
  DetectOsFamily(source);
  EXPECT_EQ(currentOsFamily, VersionCodeFor(info) + 1);
  EXPECT_EQ(currentWindowsVersion, ExactVersionFor(info));
  currentOsFamily = savedFamily;
  currentWindowsVersion = savedVersion;
  EXPECT_EQ(IsNtPlatform(source), info.platformId == 2);
}

}  // namespace
}  // namespace corvane
