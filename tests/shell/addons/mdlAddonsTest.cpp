// The shortcuts' command lines per Windows family and the restart's calls.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shell/addons/mdlAddons.h"

namespace corvane::shell {
namespace {

class RecordingStarter : public IProcessStarter {
 public:
  SystemFolders Folders() override { return folders; }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  std::uint32_t StartProcess(const std::string& program, const std::string& commandLine,
                             int showState) override {
    programs.push_back(program);
    lines.push_back(commandLine);
    shows.push_back(showState);
    return nextId++;
  }
  SystemFolders folders{true, "C:\\WINDOWS", "C:\\WINDOWS\\system32"};
  std::set<std::string> files;
  std::vector<std::string> programs;
  std::vector<std::string> lines;
  std::vector<int> shows;
  std::uint32_t nextId = 100;
};

class RecordingShutdown : public IShutdownApi {
 public:
  bool OpenProcessToken(std::uint32_t access) override {
    calls.push_back("open " + std::to_string(access));
    return tokenAvailable;
  }
  bool LookupPrivilegeValue(std::string_view name) override {
    calls.push_back("lookup " + std::string(name));
    return tokenAvailable;
  }
  bool AdjustTokenPrivileges(std::uint32_t attributes, std::uint32_t size) override {
    calls.push_back("adjust " + std::to_string(attributes) + " " + std::to_string(size));
    return tokenAvailable;
  }
  void CloseToken() override { calls.push_back("close"); }
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override {
    calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reserved));
    return exitResult;
  }
  std::vector<std::string> calls;
  bool tokenAvailable = true;
  bool exitResult = true;
};

TEST(mdlAddons, StartsTheControlPanelPagesWithTheirExactCommandLines) {
  RecordingStarter starter;
  RecordingShutdown shutdown;
  mdlAddons addons(starter, shutdown);
  EXPECT_EQ(addons.OpenInternetProperties(), 100u);
  addons.OpenSystemProperties();
  addons.OpenModemSettings();
  addons.OpenModemSettings();  // every press starts another applet
  EXPECT_EQ(starter.lines,
            (std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0",
                                      "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0",
                                      "rundll32.exe shell32.dll,Control_RunDLL modem.cpl",
                                      "rundll32.exe shell32.dll,Control_RunDLL modem.cpl"}));
  EXPECT_EQ(starter.shows, (std::vector<int>{5, 5, 5, 5}));
  EXPECT_TRUE(shutdown.calls.empty());
}

// The command line names rundll32.exe bare, which a search would find first
// in the program's folder or the current one: the file started is always the
// system's own, by its full path, and the command line stays as it is.
TEST(mdlAddons, EveryShortcutStartsTheSystemsOwnRundll32ByItsFullPath) {
  struct Case {
    const char* what;
    SystemFolders folders;
    std::set<std::string> files;  // the files there are
    std::string program;          // empty: nothing may start
  };
  const std::string w98 = "C:\\WINDOWS\\rundll32.exe", s98 = "C:\\WINDOWS\\SYSTEM\\rundll32.exe";
  const std::string xp = "C:\\WINDOWS\\system32\\rundll32.exe";
  const std::vector<Case> cases = {
      {"Windows 98", {false, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"}, {w98, s98}, w98},
      {"Windows 98 without one in its folder", {false, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"}, {s98}, s98},
      {"Windows 98 without any", {false, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"}, {}, w98},
      {"Windows XP", {true, "C:\\WINDOWS", "C:\\WINDOWS\\system32"}, {xp, w98}, xp},
      {"Windows XP without any", {true, "C:\\WINDOWS", "C:\\WINDOWS\\system32"}, {}, xp},
      {"Windows 2000", {true, "D:\\WINNT", "D:\\WINNT\\System32"}, {}, "D:\\WINNT\\System32\\rundll32.exe"},
      {"a root folder", {false, "C:\\", "C:\\SYSTEM"}, {"C:\\rundll32.exe"}, "C:\\rundll32.exe"},
      {"no system folder", {true, "C:\\WINDOWS", ""}, {w98}, ""},
      {"no Windows folder", {false, "", "C:\\WINDOWS\\SYSTEM"}, {}, s98},
      {"no folder at all", {false, "", ""}, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingStarter starter;
    starter.folders = c.folders;
    starter.files = c.files;
    RecordingShutdown shutdown;
    mdlAddons addons(starter, shutdown);
    std::uint32_t ids[] = {addons.OpenInternetProperties(), addons.OpenSystemProperties(),
                           addons.OpenModemSettings(), addons.OpenNetworkSettings(7)};
    if (c.program.empty()) {
      EXPECT_TRUE(starter.programs.empty());
      for (std::uint32_t id : ids) EXPECT_EQ(id, 0u);
      continue;
    }
    EXPECT_EQ(starter.programs, std::vector<std::string>(4, c.program));
    EXPECT_EQ(starter.lines,
              (std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0",
                                        "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0",
                                        "rundll32.exe shell32.dll,Control_RunDLL modem.cpl",
                                        "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl"}));
  }
}

TEST(mdlAddons, NetworkSettingsFollowTheFamilyAndRunNothingWhileItIsUnknown) {
  for (OsFamily family = 0; family <= 8; ++family) {
    RecordingStarter starter;
    RecordingShutdown shutdown;
    mdlAddons addons(starter, shutdown);
    std::uint32_t id = addons.OpenNetworkSettings(family);
    SCOPED_TRACE(family);
    if (family >= 1 && family <= 4) {
      ASSERT_EQ(starter.lines.size(), 1u);
      EXPECT_EQ(starter.lines[0], "rundll32.exe shell32.dll,Control_RunDLL netcpl.cpl");
    } else if (family >= 5 && family <= 7) {
      ASSERT_EQ(starter.lines.size(), 1u);
      EXPECT_EQ(starter.lines[0], "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl");
    } else {
      EXPECT_TRUE(starter.lines.empty());
      EXPECT_EQ(id, 0u);
    }
  }
}

TEST(mdlAddons, RestartEnablesTheShutdownPrivilegeThenAsksForAReboot) {
  RecordingStarter starter;
  RecordingShutdown shutdown;
  mdlAddons addons(starter, shutdown);
  EXPECT_TRUE(addons.RestartWindows());
  EXPECT_EQ(shutdown.calls,
            (std::vector<std::string>{"open 40", "lookup SeShutdownPrivilege", "adjust 2 16",
                                      "close", "exit 2 4294967295"}));
}

TEST(mdlAddons, RestartIsAskedForEvenWithoutATokenAndReportsARefusal) {
  RecordingStarter starter;
  RecordingShutdown shutdown;
  shutdown.tokenAvailable = false;  // as on 95/98/ME
  shutdown.exitResult = false;      // a user without the privilege
  mdlAddons addons(starter, shutdown);
  EXPECT_FALSE(addons.RestartWindows());
  EXPECT_EQ(shutdown.calls.back(), "exit 2 4294967295");
}

}  // namespace
}  // namespace corvane::shell
