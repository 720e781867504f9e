// Registry states for the tuning tests: where the map of a family puts its
// values for given adapter subkeys, reading and setting those values as a
// whole, and the prepared registries of the golden snapshot files. Written
// against IRegistry, so that the same states are prepared in memory and in
// the real registry under Wine.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/OsVersion.h"
#include "platform/Registry.h"
#include "tests/support/MemoryRegistry.h"
#include "platform/Clock.h"
#include "tuning/FileSystem.h"

namespace corvane::testing {

struct ValueLocation {
  RootKey root = RootKey::LocalMachine;
  std::string keyPath;
  std::string valueName;
  bool operator==(const ValueLocation&) const = default;
};

using ValueState = std::optional<StoredValue>;  // nothing: absent
using RegistryState = std::vector<std::pair<ValueLocation, ValueState>>;

StoredValue Sz(std::string_view text);  // with its NUL
StoredValue Dword(std::uint32_t value);

// Every value the map of family writes, in write order without repeats,
// for the given adapter subkey names.
std::vector<ValueLocation> MapLocations(OsFamily family, const std::vector<std::string>& adapters);

RegistryState ReadState(IRegistry& registry, const std::vector<ValueLocation>& where);
// Sets each present value (creating its key) and removes each absent one
// (creating no key).
void WriteState(IRegistry& registry, const RegistryState& state);

// Removes a key and everything below it.
void DeleteKeyTree(IRegistry& registry, RootKey root, const std::string& path);
// The adapter parent of the family holding exactly these subkeys (empty
// ones); on NT the service keys of the names are removed as well.
void ResetAdapters(IRegistry& registry, OsFamily family, const std::vector<std::string>& adapters);
// Removes what ResetAdapters made.
void RemoveAdapters(IRegistry& registry, OsFamily family, const std::vector<std::string>& adapters);

// The golden snapshot files.
struct GoldenCase {
  std::string fileName;  // in tests/tuning/golden
  OsFamily family;
  std::vector<std::string> adapters;
  int expectedLines;
};
std::vector<GoldenCase> GoldenCases();
// When the golden snapshots are taken.
LocalDateTime GoldenTime();
// The prepared registry of a case: some values present, some absent, one
// of every kind of recorded value.
RegistryState GoldenState(const GoldenCase& goldenCase);
// Prepares the registry for the case, takes the snapshot with currentOsFamily
// set to the case's family into programFolder's Backups, and returns the
// file's bytes (or a text starting "ERROR" when no file was written). The
// snapshot file is deleted again.
std::string TakeGoldenSnapshot(IRegistry& registry, IFileSystem& files,
                               const std::string& programFolder, const GoldenCase& goldenCase);

// The golden files, embedded at build time; nothing for an unknown name.
std::optional<std::string_view> GoldenFile(std::string_view fileName);
// The folder the golden files come from (for rewriting them).
std::string_view GoldenSourceFolder();

}  // namespace corvane::testing
