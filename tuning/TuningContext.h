// What the tuning operations reach the system through, and what they report
// back to the window that called them.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Clock.h"
#include "tuning/FileSystem.h"

namespace corvane {

struct TuningContext {
  IRegistry& registry;
  IFileSystem& files;
  const IClock& clock;
  std::string programFolder;  // the folder of the program file; Backups lives in it
};

// One registry value that could not be written or removed.
struct FailedValue {
  RootKey root = RootKey::LocalMachine;
  std::string keyPath;
  std::string valueName;
  RegStatus code = 0;
  bool removal = false;
};

// What a run of writes did.
struct ChangeCounts {
  int written = 0;
  int removed = 0;  // removals, including values that were already absent
  int failed = 0;
  std::vector<FailedValue> failures;  // in the order of the attempts
};

// "HKEY_LOCAL_MACHINE\key\value" for a message ("(Default)" for the empty name).
std::string DescribeValue(const FailedValue& value);

}  // namespace corvane
