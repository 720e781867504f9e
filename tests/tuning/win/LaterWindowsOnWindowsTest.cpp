// The program on the Windows version that Wine poses as, detected for real:
// the family and the exact version, the map an apply writes into the real
// registry, the shortcut to the network settings, and the result message
// that names the written values this Windows ignores. The test command runs
// these under win10 as well as under the lanes' own versions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/Win32OsVersion.h"
#include "shell/addons/mdlAddons.h"
#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tests/tuning/win/WinTuningEnvironment.h"
#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/HonouredValues.h"
#include "tuning/Presets.h"

namespace corvane::testing {
namespace {

using V = WindowsVersion;

struct Posed {
  const char* wineVersion;
  OsFamily family;
  V exact;
};

// What the detection must find under each version Wine can pose as (the
// test program carries corvane.exe's manifest, so 8.1 and 10 tell the truth).
constexpr Posed kPosed[] = {
    {"win95", 2, V::Windows95},       {"win98", 3, V::Windows98}, {"winme", 4, V::WindowsMe},
    {"nt40", 5, V::Nt4},              {"win2k", 6, V::Windows2000}, {"winxp", 7, V::WindowsXp},
    {"win2003", 7, V::Server2003},    {"vista", 7, V::Vista},     {"win7", 7, V::Windows7},
    {"win8", 7, V::Windows8},         {"win81", 7, V::Windows81}, {"win10", 7, V::Windows10},
};

// The version the test command chose, from the environment Wine passes on.
const Posed* PosedVersion() {
  const char* chosen = std::getenv("CORVANE_WINE_VERSION");
  if (chosen == nullptr) return nullptr;
  for (const Posed& p : kPosed) {
    if (std::string(chosen) == p.wineVersion) return &p;
  }
  return nullptr;
}

const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInterface = "{C0A7E5D1-4B1E-4F0A-9E35-2D7A0F31B6C4}";

class LaterWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    DetectOsFamily(win32::Win32OsVersion());
  }

  testing::TuningGlobalsGuard globals_;
};

TEST_F(LaterWindows, DetectionFindsTheFamilyAndTheExactVersion) {
  const Posed* posed = PosedVersion();
  if (posed == nullptr) GTEST_SKIP() << "not run by the test command under a known version";
  EXPECT_EQ(currentOsFamily, posed->family) << posed->wineVersion;
  EXPECT_EQ(currentWindowsVersion, posed->exact) << WindowsVersionName(currentWindowsVersion);
}

TEST_F(LaterWindows, AnApplyWritesTheMapOfTheDetectedFamilyAndNamesWhatThisWindowsIgnores) {
  Win32TuningEnvironment env;
  const OsFamily family = currentOsFamily;
  ASSERT_TRUE(Is9xFamily(family) || IsNtFamily(family));
  const std::vector<std::string> adapters =
      IsNtFamily(family) ? std::vector<std::string>{kInterface} : std::vector<std::string>{"0009"};
  ResetAdapters(env.registry(), family, adapters);
  // Neither map's values there to begin with: whatever appears, the apply wrote.
  RegistryState absent;
  for (OsFamily f : {OsFamily{3}, OsFamily{7}}) {
    for (auto& where : MapLocations(f, {})) absent.emplace_back(where, std::nullopt);
  }
  WriteState(env.registry(), absent);

  FixedClock clock{{{2026, 12, 8}, {9, 0, 0}}};
  workingProfile = presetProfiles[0];  // Automatic-A: every value written, none removed
  ApplyResult result =
      ApplyTuningProfile(TuningContext{env.registry(), env.files(), clock, env.programFolder()});
  struct Cleanup {
    IRegistry& registry;
    OsFamily family;
    const std::vector<std::string>& adapters;
    ~Cleanup() { RemoveAdapters(registry, family, adapters); }
  } cleanup{env.registry(), family, adapters};
  ASSERT_EQ(result.status, ApplyStatus::Applied) << result.message;
  ASSERT_EQ(result.changes.failed, 0) << result.message;

  const auto tcpip = ReadState(env.registry(), {{RootKey::LocalMachine, kTcpip, "TcpWindowSize"},
                                                {RootKey::LocalMachine, kTcpip, "SackOpts"}});
  const auto mstcp = ReadState(env.registry(), {{RootKey::LocalMachine, kMstcp, "DefaultRcvWindow"},
                                                {RootKey::LocalMachine, kMstcp, "SackOpts"}});
  if (IsNtFamily(family)) {
    EXPECT_EQ(tcpip[0].second, Dword(static_cast<std::uint32_t>(presetProfiles[0].receiveWindow)));
    EXPECT_EQ(tcpip[1].second, Dword(1));
    EXPECT_EQ(mstcp[0].second, std::nullopt) << "a 9x value written on an NT version";
    EXPECT_EQ(mstcp[1].second, std::nullopt) << "a 9x value written on an NT version";
  } else {
    EXPECT_EQ(mstcp[1].second, Sz("1"));
    EXPECT_EQ(tcpip[0].second, std::nullopt) << "an NT value written on 95/98/ME";
  }

  // The message: exactly the table's note for this version and these writes.
  const std::string note = IgnoredValuesNote(
      currentWindowsVersion, IsNtFamily(family) ? MapGroup::Nt : MapGroup::Windows9x, result.written);
  EXPECT_EQ(result.message, note);
  if (currentWindowsVersion == V::Windows10) {
    EXPECT_EQ(result.message.substr(0, result.message.find(':')),
              "Windows 10 ignores 4 of the " + std::to_string(result.written.size()) +
                  " values written");
    EXPECT_NE(result.message.find("TcpWindowSize"), std::string::npos);
    EXPECT_NE(result.message.find("What each Windows honours"), std::string::npos);
  }

  // Its snapshot restores on this Windows, and says the same.
  RestoreResult restored = RestoreSnapshot(
      TuningContext{env.registry(), env.files(), clock, env.programFolder()}, result.snapshot.name);
  EXPECT_EQ(restored.status, RestoreStatus::Restored) << restored.message;
}

TEST_F(LaterWindows, TheNetworkShortcutOpensTheAppletOfTheDetectedFamily) {
  auto line = shell::NetworkSettingsCommandLine(currentOsFamily);
  ASSERT_TRUE(line);
  if (::GetVersion() < 0x80000000u) {  // an NT version: ncpa.cpl, never the 9x netcpl.cpl
    EXPECT_EQ(*line, shell::addons::kNetworkSettingsNt);
  } else {
    EXPECT_EQ(*line, shell::addons::kNetworkSettings9x);
  }
}

}  // namespace
}  // namespace corvane::testing
