// Fuzzes the snapshot reader, the restore's whole-file check and the
// listing's reading of the first two items. A damaged file must never cause
// a single registry write; a whole one writes exactly its pairs.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tuning/BackupManager.h"
#include "tuning/SnapshotFile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const std::string text(reinterpret_cast<const char*>(data), size);

  SnapshotContents contents = ReadSnapshot(text);
  Check(!contents.ok || contents.headerOk);
  Check(contents.ok || !contents.error.empty());
  std::size_t pairs = 0;
  for (std::size_t g = 0; g < contents.groups.size(); ++g) {
    const SnapshotGroup& group = contents.groups[g];
    Check(!group.keyPath.empty());
    Check(group.root == (g == 1 ? RootKey::CurrentUser : RootKey::LocalMachine));
    std::size_t expected = g == 0 ? static_cast<std::size_t>(FirstGroupPairs(contents.family))
                                  : g == 2 ? 1 : 2;
    if (contents.ok) Check(group.pairs.size() == expected);
    for (const SnapshotPair& pair : group.pairs) {
      Check(pair.value >= kLowestRecorded && pair.value <= kHighestRecorded);
    }
    pairs += group.pairs.size();
  }

  // A whole file written out again reads back the same.
  if (contents.ok) {
    SnapshotWriter out;
    out.Date(contents.date);
    out.Time(contents.time);
    out.Number(contents.family);
    for (const SnapshotGroup& group : contents.groups) {
      out.Text(group.keyPath);
      for (const SnapshotPair& pair : group.pairs) {
        out.Text(pair.name);
        out.Number(pair.value);
      }
    }
    SnapshotContents again = ReadSnapshot(out.data());
    Check(again.ok && again.groups.size() == contents.groups.size());
    for (std::size_t g = 0; g < again.groups.size(); ++g) {
      Check(again.groups[g].keyPath == contents.groups[g].keyPath);
      Check(again.groups[g].pairs.size() == contents.groups[g].pairs.size());
    }
  }

  // The restore, on the Windows version the file names (or XP).
  testing::MemoryFileSystem files;
  files.AddFile("C:\\P\\Backups\\001.BCK", text);
  testing::RecordingRegistry registry;
  testing::FixedClock clock({{2008, 1, 21}, {14, 5, 9}});
  OsFamily saved = currentOsFamily;
  currentOsFamily = contents.headerOk ? contents.family : 7;
  RestoreResult result = RestoreSnapshot(TuningContext{registry, files, clock, "C:\\P"}, "001.BCK");
  currentOsFamily = saved;
  if (result.status == RestoreStatus::Restored) {
    Check(contents.ok);
    // Every pair attempted once; a key the registry refuses (a path that
    // starts with a backslash, say) counts as failed.
    const ChangeCounts& c = result.changes;
    Check(static_cast<std::size_t>(c.written + c.removed + c.failed) == pairs);
    Check(registry.log.size() <= pairs);
    Check((c.failed == 0) == result.message.empty());
  } else {
    Check(registry.log.empty());
    Check(result.status == RestoreStatus::NothingToDo || !result.message.empty());
  }

  PictureDateTimeFormat format("M/d/yyyy", "h:mm:ss tt");
  BackupEntry entry = BackupEntryFor("001.BCK", text, format);
  (void)format.ParseDateValue(entry.creatingDate);
  (void)format.ParseTimeValue(entry.creatingTime);
  (void)format.ParseDateValue(text.substr(0, 40));
  return 0;
}
