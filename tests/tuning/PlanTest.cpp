// The plan against what the apply and the restore really write: every
// preset, both families, 0, 1 and 3 adapters, in the in-memory registry.
#include <gtest/gtest.h>

#include <set>

#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/Plan.h"
#include "tuning/Presets.h"

namespace corvane {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingRegistry;
using testing::RegistryFlavor;

// Refuses reading one value, as a key without read rights does.
class ReadRefusingRegistry : public RecordingRegistry {
 public:
  using RecordingRegistry::RecordingRegistry;
  RegStatus QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                       std::uint8_t* data, std::uint32_t* size) override {
    if (name == refusedName) return reg::kAccessDenied;
    return RecordingRegistry::QueryValue(key, name, type, data, size);
  }
  std::string refusedName = "\x01";
};

struct FamilyCase {
  OsFamily family;
  RegistryFlavor flavor;
};
constexpr FamilyCase kFamilies[] = {{3, RegistryFlavor::Win9x}, {7, RegistryFlavor::Nt}};
const std::vector<std::vector<std::string>> kAdapterSets = {
    {}, {"0000"}, {"{A1}", "{B2}", "{C3}"}};

// "HKLM\key\name" as the recording registry logs it, folded to lower case.
std::string LoggedPlace(const std::string& line) {
  std::string place = line.substr(4);
  std::size_t eq = place.find(" = ");
  if (eq != std::string::npos) place.resize(eq);
  for (char& c : place) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return place;
}

std::string PlanPlace(const PlanEntry& e) {
  std::string place = (e.root == RootKey::LocalMachine ? "hklm\\" : "hkcu\\") + e.keyPath + "\\" +
                      e.valueName;
  for (char& c : place) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return place;
}

class PlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFolder(testing::kFolder);
  }
  TuningContext Context(IRegistry& registry) { return TuningContext{registry, files, clock, testing::kFolder}; }

  // Some values present, of both types and odd ones, so that a plan meets
  // more than absent values.
  static void Prepare(RecordingRegistry& registry, OsFamily family,
                      const std::vector<std::string>& adapters) {
    testing::ResetAdapters(registry, family, adapters);
    auto where = testing::MapLocations(family, adapters);
    testing::RegistryState state;
    for (std::size_t i = 0; i < where.size(); ++i) {
      if (i % 3 == 0) state.push_back({where[i], testing::Dword(static_cast<std::uint32_t>(i))});
      if (i % 3 == 1) state.push_back({where[i], testing::Sz(std::to_string(1500 + i))});
    }
    testing::WriteState(registry, state);
    registry.log.clear();
  }

  // Checks that every place the apply touched is one entry of the plan and
  // holds the plan's new data afterwards.
  static void ExpectPlanIsWhatWasWritten(RecordingRegistry& registry, const Plan& plan,
                                         const std::string& what) {
    std::set<std::string> logged;
    for (const std::string& line : registry.log) logged.insert(LoggedPlace(line));
    std::set<std::string> planned;
    for (const PlanEntry& e : plan.entries) {
      planned.insert(PlanPlace(e));
      EXPECT_EQ(ReadPlanData(registry, e.root, e.keyPath, e.valueName), e.newData)
          << what << " " << PlanPlace(e) << " planned " << DataText(e.newData);
    }
    EXPECT_EQ(logged, planned) << what;
  }

  MemoryFileSystem files;
  testing::FixedClock clock{{{2026, 12, 9}, {14, 5, 9}}};
  testing::TuningGlobalsGuard globals_;
};

TEST_F(PlanTest, EveryPresetPlansExactlyWhatTheApplyWritesAndWritesNothingItself) {
  for (const FamilyCase& f : kFamilies) {
    for (const auto& adapters : kAdapterSets) {
      for (std::size_t p = 0; p < kPresetCount; ++p) {
        const std::string what = "family " + std::to_string(f.family) + ", " +
                                 std::to_string(adapters.size()) + " adapters, preset " +
                                 std::string(kPresetCaptions[p]);
        RecordingRegistry registry(f.flavor);
        Prepare(registry, f.family, adapters);
        auto where = testing::MapLocations(f.family, adapters);
        auto before = testing::ReadState(registry, where);

        Plan plan = PlanProfile(registry, f.family, WindowsVersion::WindowsXp, presetProfiles[p]);
        ASSERT_EQ(plan.status, PlanStatus::Ready) << what;
        EXPECT_TRUE(registry.log.empty()) << what;
        EXPECT_EQ(testing::ReadState(registry, where), before) << what;
        const std::size_t perAdapter = f.family == 7 ? 4 : 2;
        EXPECT_EQ(plan.entries.size(), (f.family == 7 ? 16u : 12u) + perAdapter * adapters.size())
            << what;

        currentOsFamily = f.family;
        workingProfile = presetProfiles[p];
        ApplyResult applied = ApplyTuningProfile(Context(registry));
        ASSERT_EQ(applied.status, ApplyStatus::Applied) << what;
        ExpectPlanIsWhatWasWritten(registry, plan, what);

        // Once applied, the same plan changes nothing.
        Plan again = PlanProfile(registry, f.family, WindowsVersion::WindowsXp, presetProfiles[p]);
        EXPECT_EQ(again.Changing(), 0) << what;
      }
    }
  }
}

TEST_F(PlanTest, APlanOfARestoreIsWhatTheRestoreWrites) {
  for (const FamilyCase& f : kFamilies) {
    for (const auto& adapters : kAdapterSets) {
      const std::string what =
          "family " + std::to_string(f.family) + ", " + std::to_string(adapters.size()) + " adapters";
      RecordingRegistry registry(f.flavor);
      Prepare(registry, f.family, adapters);
      currentOsFamily = f.family;
      workingProfile = presetProfiles[2];
      ApplyResult applied = ApplyTuningProfile(Context(registry));  // takes a snapshot
      ASSERT_EQ(applied.status, ApplyStatus::Applied) << what;
      registry.log.clear();

      Plan plan = PlanRestore(Context(registry), applied.snapshot.name, f.family,
                              WindowsVersion::WindowsXp);
      ASSERT_EQ(plan.status, PlanStatus::Ready) << what << plan.message;
      EXPECT_TRUE(registry.log.empty()) << what;
      EXPECT_GT(plan.Changing(), 0) << what;
      for (const PlanEntry& e : plan.entries) {
        const bool adapterKey = e.keyPath.find("NetTrans\\") != std::string::npos ||
                                e.keyPath.find("Interfaces\\") != std::string::npos ||
                                e.keyPath.find("\\Parameters\\Tcpip") != std::string::npos;
        EXPECT_EQ(adapterKey, !e.adapter.empty()) << what << " " << e.keyPath;
      }
      RestoreResult restored = RestoreSnapshot(Context(registry), applied.snapshot.name);
      ASSERT_EQ(restored.status, RestoreStatus::Restored) << what;
      ExpectPlanIsWhatWasWritten(registry, plan, what);
    }
  }
}

TEST_F(PlanTest, DamagedSnapshotsGiveTheRestoresMessageAndNoEntries) {
  RecordingRegistry registry(RegistryFlavor::Nt);
  Prepare(registry, 7, {"{A1}"});
  currentOsFamily = 7;
  workingProfile = presetProfiles[0];
  ASSERT_EQ(ApplyTuningProfile(Context(registry)).status, ApplyStatus::Applied);
  std::string whole;
  ASSERT_EQ(files.ReadFileText("C:\\Corvane\\Backups\\001.BCK", 1 << 20, whole), fs::kSuccess);

  struct Case {
    std::string name;
    std::string text;  // nothing written for the missing file
    PlanStatus status;
    std::string_view says;
  };
  const Case cases[] = {
      {"002.BCK", whole.substr(0, whole.size() - 7), PlanStatus::Damaged, "damaged or incomplete"},
      {"003.BCK", whole.substr(0, 20), PlanStatus::Damaged, "damaged or incomplete"},
      {"004.BCK", "#2026-12-09#\r\n#14:05:09#\r\n3\r\n", PlanStatus::OtherFamily,
       kOtherFamilyMessage},
      {"005.BCK", "\x01\x02garbage", PlanStatus::Damaged, "damaged or incomplete"},
      {"006.BCK", "", PlanStatus::Unreadable, "could not be read"},
  };
  for (const Case& c : cases) {
    if (!c.text.empty()) files.AddFile("C:\\Corvane\\Backups\\" + c.name, c.text);
    Plan plan = PlanRestore(Context(registry), c.name, 7, WindowsVersion::WindowsXp);
    EXPECT_EQ(plan.status, c.status) << c.name;
    EXPECT_NE(plan.message.find(c.says), std::string::npos) << c.name << ": " << plan.message;
    EXPECT_TRUE(plan.entries.empty()) << c.name;
  }
  Plan unknown = PlanProfile(registry, 0, WindowsVersion::Unknown, presetProfiles[0]);
  EXPECT_EQ(unknown.status, PlanStatus::NotDetected);
  EXPECT_TRUE(unknown.entries.empty());
}

TEST_F(PlanTest, AValueThatCannotBeReadIsShownSoNotAsAbsent) {
  ReadRefusingRegistry registry(RegistryFlavor::Nt);
  Prepare(registry, 7, {"{A1}"});
  registry.refusedName = "DefaultTTL";
  testing::WriteState(registry, {{{RootKey::LocalMachine,
                                   "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
                                   "KeepAliveTime"},
                                  testing::StoredValue{reg::kTypeBinary, {1, 2, 3}}}});
  Plan plan = PlanProfile(registry, 7, WindowsVersion::WindowsXp, presetProfiles[0]);
  int unreadable = 0;
  for (const PlanEntry& e : plan.entries) {
    if (e.valueName == "DefaultTTL") {
      EXPECT_EQ(e.oldData.state, RegData::State::Unreadable);
      EXPECT_EQ(DataText(e.oldData), "cannot be read (access denied)");
      EXPECT_TRUE(e.changes);
      ++unreadable;
    }
    if (e.valueName == "KeepAliveTime") {
      EXPECT_EQ(DataText(e.oldData), "cannot be read (type 3 of 3 bytes)");
      ++unreadable;
    }
  }
  EXPECT_EQ(unreadable, 2);
}

TEST_F(PlanTest, ValuesTheRunningWindowsIgnoresCarryTheTablesReason) {
  RecordingRegistry registry(RegistryFlavor::Nt);
  Prepare(registry, 7, {"{A1}"});
  Plan on10 = PlanProfile(registry, 7, WindowsVersion::Windows10, presetProfiles[0]);
  Plan onXp = PlanProfile(registry, 7, WindowsVersion::WindowsXp, presetProfiles[0]);
  for (std::size_t i = 0; i < on10.entries.size(); ++i) {
    const PlanEntry& e = on10.entries[i];
    const HonouredRow* row = FindHonouredRow(MapGroup::Nt, e.root, e.keyPath, e.valueName);
    ASSERT_NE(row, nullptr) << e.keyPath << "\\" << e.valueName;
    EXPECT_EQ(e.effect, EffectOn(*row, WindowsVersion::Windows10));
    EXPECT_EQ(e.reason.empty(), !HasNoEffect(e.effect));
    if (e.valueName == "TcpWindowSize") {
      EXPECT_TRUE(HasNoEffect(e.effect));
    }
    EXPECT_EQ(onXp.entries[i].effect, EffectOn(*row, WindowsVersion::WindowsXp));
  }
  EXPECT_GT(on10.ChangingWithoutEffect(), 0);
}

TEST_F(PlanTest, ARegistryThatChangedBetweenPlanAndApplyIsNamed) {
  RecordingRegistry registry(RegistryFlavor::Nt);
  Prepare(registry, 7, {"{A1}", "{B2}"});
  auto plan = [&] { return PlanProfile(registry, 7, WindowsVersion::WindowsXp, presetProfiles[1]); };
  Plan before = plan();
  EXPECT_EQ(PlanDifference(before, plan()), "");

  testing::DeleteKeyTree(registry, RootKey::LocalMachine,
                         "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{B2}");
  std::string vanished = PlanDifference(before, plan());
  EXPECT_NE(vanished.find("{B2}"), std::string::npos) << vanished;
  EXPECT_NE(vanished.find("Nothing was written"), std::string::npos) << vanished;

  Plan fewer = plan();
  testing::WriteState(registry, {{{RootKey::CurrentUser,
                                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                                   "MaxConnectionsPerServer"},
                                  testing::Dword(99)}});
  std::string changed = PlanDifference(fewer, plan());
  EXPECT_NE(changed.find("MaxConnectionsPerServer now holds 99"), std::string::npos) << changed;
}

}  // namespace
}  // namespace corvane
