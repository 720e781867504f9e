// Apply, then restore the snapshot the apply took, against the real
// registry: as before, except where the file cannot say.
#include <gtest/gtest.h>

#include <random>

#include "tests/tuning/support/RoundTrip.h"
#include "tests/tuning/win/WinTuningEnvironment.h"
#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/Presets.h"
#include "platform/win32/Win32Clock.h"

namespace corvane::testing {
namespace {

class RoundTripOnWindows : public ::testing::TestWithParam<OsFamily> {};

TEST_P(RoundTripOnWindows, RestoringTheSnapshotGivesBackTheStartingState) {
  FillPresetProfiles();
  const OsFamily family = GetParam();
  const OsFamily savedFamily = currentOsFamily;
  const TuningProfile savedProfile = workingProfile;
  std::mt19937 random(static_cast<unsigned>(family) * 7919u);
  Win32TuningEnvironment env;
  win32::Win32Clock clock;
  TuningContext context{env.registry(), env.files(), clock, env.programFolder()};
  // Automatic-A and Automatic-C write and remove; the others write.
  for (std::size_t preset : {std::size_t{0}, std::size_t{2}, std::size_t{4}, std::size_t{7}}) {
    RoundTripStart start = GenerateStart(family, random);
    PrepareStart(env.registry(), start);
    currentOsFamily = family;
    workingProfile = presetProfiles[preset];
    ApplyResult applied = ApplyTuningProfile(context);
    ASSERT_EQ(applied.status, ApplyStatus::Applied) << applied.message;
    RestoreResult restored = RestoreSnapshot(context, applied.snapshot.name);
    EXPECT_EQ(restored.status, RestoreStatus::Restored) << restored.message;
    EXPECT_EQ(restored.changes.failed, 0) << restored.message;
    std::vector<std::string> differences = CompareWithStart(env.registry(), start);
    EXPECT_TRUE(differences.empty()) << kPresetCaptions[preset] << ": " << differences.size()
                                     << " differences, the first: " << differences.front();
    RemoveAdapters(env.registry(), family, start.adapters);
  }
  currentOsFamily = savedFamily;
  workingProfile = savedProfile;
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, RoundTripOnWindows, ::testing::Values(OsFamily{3}, OsFamily{7}),
                         [](const auto& param) {
                           return std::string(param.param == 3 ? "Windows98" : "WindowsXp");
                         });

}  // namespace
}  // namespace corvane::testing
