// The tuning globals a test sets (the family, the Windows version, the
// working profile), put back as they were when the test ends, with the
// presets filled afresh for it. A fixture holds one as a member.
#pragma once

#include "platform/OsVersion.h"
#include "tuning/Presets.h"
#include "tuning/TuningProfile.h"

namespace corvane::testing {

class TuningGlobalsGuard {
 public:
  TuningGlobalsGuard() { FillPresetProfiles(); }
  TuningGlobalsGuard(const TuningGlobalsGuard&) = delete;
  TuningGlobalsGuard& operator=(const TuningGlobalsGuard&) = delete;
  ~TuningGlobalsGuard() {
    currentOsFamily = family_;
    currentWindowsVersion = version_;
    workingProfile = profile_;
  }

 private:
  OsFamily family_ = currentOsFamily;
  WindowsVersion version_ = currentWindowsVersion;
  TuningProfile profile_ = workingProfile;
};

}  // namespace corvane::testing
