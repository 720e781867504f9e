// Benchmarks of the tuning engine under Wine, each against doing the same
// work with raw API calls:
//  1. snapshot + apply with 1, 16 and 64 interfaces, against the same
//     registry calls (recorded from one apply) replayed directly on advapi32;
//  2. listing 999 snapshot files and sorting them by date, against finding
//     them and reading their first two lines directly.
// Prints the figures and the ratios; the goals are 1.3 and 2.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "tests/support/BenchClock.h"
#include "tests/tuning/support/ScatteredSnapshots.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/Presets.h"
#include "tuning/SnapshotFile.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32DateTimeFormat.h"
#include "tuning/win32/Win32FileSystem.h"

namespace corvane {
namespace {

using testing::Now;

// Two pieces of work timed in turns, so that a busy machine slows both
// alike; the best time of each, in milliseconds.
// `between` runs untimed after each turn.
template <typename A, typename B, typename C>
std::pair<double, double> BestOfTurns(int runs, A&& a, B&& b, C&& between) {
  double bestA = 1e300, bestB = 1e300;
  for (int i = 0; i < runs; ++i) {
    double start = Now();
    a();
    double middle = Now();
    b();
    double end = Now();
    between();
    bestA = std::min(bestA, (middle - start) * 1000.0);
    bestB = std::min(bestB, (end - middle) * 1000.0);
  }
  return {bestA, bestB};
}

// Records every registry call an operation makes, to replay them raw.
struct Call {
  enum Kind { Create, Open, Close, Query, Set, DeleteValue, DeleteKey, Enum } kind;
  RegHandle key = 0;  // parent for Create/Open
  std::string text;   // subkey or value name
  std::uint32_t number = 0;  // access, type or index
  std::vector<std::uint8_t> data;
  std::uint32_t size = 0;
  bool withBuffer = false;
  RegHandle result = 0;
};

class RecordingWin32Registry final : public IRegistry {
 public:
  RegStatus CreateKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                      RegHandle& result) override {
    RegStatus s = real_.CreateKey(parent, subKey, access, result);
    calls.push_back({Call::Create, parent, std::string(subKey), access, {}, 0, false, s == 0 ? result : 0});
    return s;
  }
  RegStatus OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                    RegHandle& result) override {
    RegStatus s = real_.OpenKey(parent, subKey, access, result);
    calls.push_back({Call::Open, parent, std::string(subKey), access, {}, 0, false, s == 0 ? result : 0});
    return s;
  }
  RegStatus CloseKey(RegHandle key) override {
    calls.push_back({Call::Close, key, {}, 0, {}, 0, false, 0});
    return real_.CloseKey(key);
  }
  RegStatus QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                       std::uint8_t* data, std::uint32_t* size) override {
    calls.push_back({Call::Query, key, std::string(name), 0, {}, size ? *size : 0, data != nullptr, 0});
    return real_.QueryValue(key, name, type, data, size);
  }
  RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override {
    calls.push_back({Call::Set, key, std::string(name), type,
                     std::vector<std::uint8_t>(data, data + size), size, true, 0});
    return real_.SetValue(key, name, type, data, size);
  }
  RegStatus DeleteValue(RegHandle key, std::string_view name) override {
    calls.push_back({Call::DeleteValue, key, std::string(name), 0, {}, 0, false, 0});
    return real_.DeleteValue(key, name);
  }
  RegStatus DeleteKey(RegHandle key, std::string_view subKey) override {
    calls.push_back({Call::DeleteKey, key, std::string(subKey), 0, {}, 0, false, 0});
    return real_.DeleteKey(key, subKey);
  }
  RegStatus EnumKey(RegHandle key, std::uint32_t index, char* name,
                    std::uint32_t* nameLength) override {
    calls.push_back({Call::Enum, key, {}, index, {}, *nameLength, true, 0});
    return real_.EnumKey(key, index, name, nameLength);
  }
  std::vector<Call> calls;

 private:
  win32::Win32Registry real_;
};

// The recorded calls, made directly on advapi32.
void Replay(const std::vector<Call>& calls) {
  std::map<RegHandle, HKEY> keys;
  auto hkey = [&](RegHandle h) {
    auto it = keys.find(h);
    return it != keys.end() ? it->second : reinterpret_cast<HKEY>(h);
  };
  std::uint8_t buffer[512];
  char name[256];
  for (const Call& c : calls) {
    switch (c.kind) {
      case Call::Create: {
        HKEY result = nullptr;
        DWORD disposition = 0;
        if (::RegCreateKeyExA(hkey(c.key), c.text.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              c.number, nullptr, &result, &disposition) == ERROR_SUCCESS) {
          keys[c.result] = result;
        }
        break;
      }
      case Call::Open: {
        HKEY result = nullptr;
        if (::RegOpenKeyExA(hkey(c.key), c.text.c_str(), 0, c.number, &result) == ERROR_SUCCESS) {
          keys[c.result] = result;
        }
        break;
      }
      case Call::Close:
        (void)::RegCloseKey(hkey(c.key));
        keys.erase(c.key);
        break;
      case Call::Query: {
        DWORD type = 0;
        DWORD size = c.size;
        (void)::RegQueryValueExA(hkey(c.key), c.text.c_str(), nullptr, &type,
                                 c.withBuffer ? buffer : nullptr, &size);
        break;
      }
      case Call::Set:
        (void)::RegSetValueExA(hkey(c.key), c.text.c_str(), 0, c.number, c.data.data(), c.size);
        break;
      case Call::DeleteValue: (void)::RegDeleteValueA(hkey(c.key), c.text.c_str()); break;
      case Call::DeleteKey: (void)::RegDeleteKeyA(hkey(c.key), c.text.c_str()); break;
      case Call::Enum: {
        DWORD length = std::min<DWORD>(c.size, sizeof name);
        (void)::RegEnumKeyExA(hkey(c.key), c.number, name, &length, nullptr, nullptr, nullptr, nullptr);
        break;
      }
    }
  }
}

void BenchApply(int interfaces, const std::string& folder) {
  using namespace corvane::testing;
  win32::Win32Registry registry;
  win32::Win32FileSystem files;
  win32::Win32Clock clock;
  std::vector<std::string> names;
  for (int i = 0; i < interfaces; ++i) names.push_back("{BENCH-" + std::to_string(1000 + i) + "}");
  ResetAdapters(registry, 7, names);
  currentOsFamily = 7;
  workingProfile = presetProfiles[0];

  // A first apply creates the keys and values that every later one finds;
  // the second is recorded, to know the calls of an apply.
  ApplyResult first = ApplyTuningProfile(TuningContext{registry, files, clock, folder});
  (void)files.RemoveFile(first.snapshot.path);
  RecordingWin32Registry recorder;
  ApplyResult recorded = ApplyTuningProfile(TuningContext{recorder, files, clock, folder});
  std::string snapshot;
  (void)files.ReadFileText(recorded.snapshot.path, 1u << 20, snapshot);
  (void)files.RemoveFile(recorded.snapshot.path);

  const int runs = interfaces >= 64 ? 15 : 40;
  std::string taken;
  auto [apply, raw] = BestOfTurns(
      runs,
      [&] {
        ApplyResult r = ApplyTuningProfile(TuningContext{registry, files, clock, folder});
        if (r.status != ApplyStatus::Applied) std::printf("apply failed: %s\n", r.message.c_str());
        taken = r.snapshot.path;
      },
      [&] { Replay(recorder.calls); },
      [&] { (void)files.RemoveFile(taken); });  // every run finds the same folder
  // The part that no registry call stands for: the snapshot's way to the
  // disk (written whole, flushed, renamed), which the apply must wait for.
  std::string pending = JoinPath(BackupsFolder(folder), "bench.tmp");
  std::string final = JoinPath(BackupsFolder(folder), "bench.BCK");
  double file = BestOfTurns(
                    runs,
                    [&] {
                      (void)files.WriteFileWhole(pending, snapshot);
                      (void)files.RenameFile(pending, final);
                    },
                    [] {}, [&] { (void)files.RemoveFile(final); })
                    .first;
  std::printf("snapshot+apply, %2d interface(s): %7.2f ms; the same %4zu registry calls raw: %7.2f ms;"
              " ratio %.2f (goal <= 1.3); without the %.2f ms of the flushed file write: ratio %.2f\n",
              interfaces, apply, recorder.calls.size(), raw, apply / raw, file, (apply - file) / raw);
  RemoveAdapters(registry, 7, names);
}

void BenchListing(const std::string& folder) {
  win32::Win32FileSystem files;
  win32::Win32DateTimeFormat format;
  std::string backups = BackupsFolder(folder);
  testing::WriteScatteredSnapshots(files, backups, 999);
  std::size_t rows = 0;
  std::size_t lines = 0;
  auto [listing, raw] = BestOfTurns(5, [&] {
    BackupListing list = ListBackups(files, format, folder);
    std::array<std::string, 3> tags;
    ListSort sort;
    (void)ClickBackupHeader(tags, sort, 1, "Creating Date");
    SortBackupEntries(list.entries, sort, format);
    rows = list.entries.size();
  }, [&] { lines = testing::ReadSnapshotHeadsRaw(backups); }, [] {});
  std::printf("backup list of %zu files, sorted by date: %8.2f ms; finding them and reading their"
              " first two lines (%zu lines) raw: %8.2f ms; ratio %.2f (goal <= 2)\n",
              rows, listing, lines, raw, listing / raw);
  testing::RemoveBenchFiles(backups, "*.BCK");
}

}  // namespace
}  // namespace corvane

int main() {
  using namespace corvane;
  FillPresetProfiles();
  std::string folder = testing::BenchTempFolder("corvane-tuning-bench");
  for (int interfaces : {1, 16, 64}) BenchApply(interfaces, folder);
  BenchListing(folder);
  (void)::RemoveDirectoryA(folder.c_str());
  return 0;
}
