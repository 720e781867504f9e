// Apply a preset, restore the snapshot it took: the registry is as before,
// except where the file cannot say. Over many generated starting states.
#include <gtest/gtest.h>

#include <random>

#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/RoundTrip.h"
#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/Presets.h"

namespace corvane {
namespace {

using namespace corvane::testing;

TEST(RoundTrip, ApplyThenRestoreGivesBackTheStartingState) {
  FillPresetProfiles();
  const OsFamily savedFamily = currentOsFamily;
  const TuningProfile savedProfile = workingProfile;
  std::mt19937 random(20080121);
  int runs = 0;
  for (OsFamily family : {OsFamily{3}, OsFamily{7}}) {
    for (int round = 0; round < 150; ++round, ++runs) {
      MemoryRegistry registry(Is9xFamily(family) ? RegistryFlavor::Win9x : RegistryFlavor::Nt);
      MemoryFileSystem files;
      files.AddFolder("C:\\Corvane");
      FixedClock clock({{2008, 1, 21}, {14, 5, 9}});
      TuningContext context{registry, files, clock, "C:\\Corvane"};
      RoundTripStart start = GenerateStart(family, random);
      PrepareStart(registry, start);
      currentOsFamily = family;
      workingProfile = presetProfiles[random() % kPresetCount];
      ApplyResult applied = ApplyTuningProfile(context);
      ASSERT_EQ(applied.status, ApplyStatus::Applied) << applied.message;
      RestoreResult restored = RestoreSnapshot(context, applied.snapshot.name);
      ASSERT_EQ(restored.status, RestoreStatus::Restored) << restored.message;
      ASSERT_EQ(restored.changes.failed, 0);
      std::vector<std::string> differences = CompareWithStart(registry, start);
      ASSERT_TRUE(differences.empty()) << "family " << family << ", round " << round << ":\n"
                                       << differences.front();
      EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
  }
  EXPECT_EQ(runs, 300);
  currentOsFamily = savedFamily;
  workingProfile = savedProfile;
}

}  // namespace
}  // namespace corvane
