// Snapshot files: before the apply changes anything, the current value of
// every parameter of the running family's map goes into a new numbered file
// NNN.BCK in the Backups folder of the program's folder.
#pragma once

#include <string>
#include <string_view>

#include "tuning/TuningContext.h"

namespace corvane {

inline constexpr std::string_view kBackupsFolderName = "Backups";

// programFolder + "\Backups".
std::string BackupsFolder(std::string_view programFolder);

// The number a snapshot file name counts as: the last three characters of
// its base name (all of it when shorter), read as a decimal number from their
// start; 0 when they do not begin with a digit. "1234.BCK" counts 234.
int SnapshotNumber(std::string_view fileName);
// "001.BCK" to "999.BCK".
std::string SnapshotFileName(int number);

enum class SnapshotStatus {
  Written,
  NoFreeNumber,     // 999 or higher is taken: no three-digit name is free
  FolderFailed,     // Backups could not be created or listed
  WriteFailed,      // the file could not be written or given its name
  CannotRecord,     // an adapter key name that the file cannot hold
};

struct NextSnapshot {
  SnapshotStatus status = SnapshotStatus::Written;
  FsStatus code = 0;
  std::string path;  // full path of the next file
  std::string name;  // NNN.BCK
};

// Makes sure Backups exists and chooses the next file: one more than the
// highest number among the *.BCK entries; gaps below it are never filled.
NextSnapshot NextSnapshotPath(IFileSystem& files, std::string_view programFolder);

struct SnapshotResult {
  SnapshotStatus status = SnapshotStatus::Written;
  FsStatus code = 0;
  std::string path;
  std::string name;
  std::string message;  // for the user, when the snapshot failed
};

// Records the registry values of the map of currentOsFamily (1-7). The file
// is written whole under a pending name of its own that no listing takes for
// a snapshot, made to reach the disk, and only then renamed to NNN.BCK, or to
// the next free number when another file has taken NNN.BCK meanwhile (an
// existing file is never replaced); on any failure no NNN.BCK is left behind.
SnapshotResult TakeSnapshot(const TuningContext& context);

}  // namespace corvane
