// Benchmark of the plan under Wine: the plan of an apply of "Automatic-A"
// with 3 interfaces, against reading the same values with raw advapi32
// calls (the adapter subkeys enumerated, each value's key opened, its size
// and data queried, the key closed) in the same run. Prints both and the
// ratio; the goal is 1.5.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "tests/support/BenchClock.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tuning/Apply.h"
#include "tuning/Plan.h"
#include "tuning/Presets.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32FileSystem.h"

namespace corvane {
namespace {

using testing::Now;

HKEY RootOf(RootKey root) {
  return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

void ReadRaw(const std::vector<PlanEntry>& places, std::size_t& read) {
  read = 0;
  HKEY parent = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(kNtAdapterParent).c_str(), 0, KEY_READ, &parent) ==
      ERROR_SUCCESS) {
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = sizeof name;
      if (::RegEnumKeyExA(parent, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    }
    ::RegCloseKey(parent);
  }
  for (const PlanEntry& e : places) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(RootOf(e.root), e.keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, e.valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      std::vector<BYTE> data(size + 1);
      if (::RegQueryValueExA(key, e.valueName.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
        ++read;
      }
    }
    ::RegCloseKey(key);
  }
}

}  // namespace
}  // namespace corvane

int main() {
  using namespace corvane;
  FillPresetProfiles();
  win32::Win32Registry registry;
  const std::vector<std::string> names{"{PLAN-BENCH-1}", "{PLAN-BENCH-2}", "{PLAN-BENCH-3}"};
  testing::ResetAdapters(registry, 7, names);
  currentOsFamily = 7;
  // Values in every place, as after an earlier apply.
  std::string folder = testing::BenchTempFolder("corvane-plan-bench");
  win32::Win32FileSystem files;
  win32::Win32Clock clock;
  workingProfile = presetProfiles[1];
  ApplyResult applied = ApplyTuningProfile(TuningContext{registry, files, clock, folder});
  (void)files.RemoveFile(applied.snapshot.path);

  Plan plan = PlanProfile(registry, 7, WindowsVersion::WindowsXp, presetProfiles[0]);
  double bestPlan = 1e300, bestRaw = 1e300;
  std::size_t read = 0;
  for (int run = 0; run < 200; ++run) {
    double start = Now();
    Plan p = PlanProfile(registry, 7, WindowsVersion::WindowsXp, presetProfiles[0]);
    double middle = Now();
    ReadRaw(plan.entries, read);
    double end = Now();
    if (p.entries.size() != plan.entries.size()) std::printf("the plan changed between runs\n");
    bestPlan = std::min(bestPlan, (middle - start) * 1000.0);
    bestRaw = std::min(bestRaw, (end - middle) * 1000.0);
  }
  std::printf("plan of 3 interfaces (%zu places): %7.3f ms; the same %zu values read raw: %7.3f ms;"
              " ratio %.2f (goal <= 1.5)\n",
              plan.entries.size(), bestPlan, read, bestRaw, bestPlan / bestRaw);
  testing::RemoveAdapters(registry, 7, names);
  (void)::RemoveDirectoryA(BackupsFolder(folder).c_str());
  (void)::RemoveDirectoryA(folder.c_str());
  return 0;
}
