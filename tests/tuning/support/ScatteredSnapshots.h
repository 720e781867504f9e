// A Backups folder of many snapshot files whose dates and times lie in no
// particular order (some days shared), for the benchmarks of the listing
// and its sorts.
#pragma once

#include <string>

#include "tuning/FileSystem.h"
#include "tuning/Snapshot.h"
#include "tuning/SnapshotFile.h"

namespace corvane::testing {

inline void WriteScatteredSnapshots(IFileSystem& files, const std::string& backups, int count) {
  (void)files.CreateFolder(backups);
  for (int n = 1; n <= count; ++n) {
    SnapshotWriter out;
    int k = (n * 7919) % 999;
    out.Date({2000 + k % 9, 1 + k % 12, 1 + k % 28});
    out.Time({k % 24, (k * 7) % 60, (k * 13) % 60});
    out.Number(7);
    for (int i = 0; i < 30; ++i) out.Text("\"filler\"");
    (void)files.WriteFileWhole(JoinPath(backups, SnapshotFileName(n)), out.data());
  }
}

}  // namespace corvane::testing
