// The drift watch: after an apply, what was applied and when is recorded
// beside the snapshots (Backups\Applied.rec, a text file of its own format,
// written whole under a pending name and then renamed, as the snapshots
// are). Later the registry is compared with the record, and values that
// another program, an update or Windows itself has changed since are told
// once: a difference the user dismissed is not told again until it changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OsVersion.h"
#include "platform/Registry.h"
#include "platform/Clock.h"
#include "tuning/DateTimeFormat.h"
#include "tuning/FileSystem.h"
#include "tuning/Apply.h"
#include "tuning/Plan.h"
#include "tuning/TuningContext.h"
#include <functional>

namespace corvane {

inline constexpr std::string_view kAppliedRecordName = "Applied.rec";
// The first line of a record; the number is the format's version.
inline constexpr std::string_view kAppliedRecordHeader = "Pellavon applied values";
inline constexpr int kAppliedRecordVersion = 1;

struct AppliedValue {
  RootKey root = RootKey::LocalMachine;
  std::string keyPath;
  std::string valueName;
  RegData data;  // present or absent
  bool operator==(const AppliedValue&) const = default;
};

struct AppliedRecord {
  LocalDateTime when{};
  OsFamily family = 0;
  std::vector<AppliedValue> values;
  bool operator==(const AppliedRecord&) const = default;
};

// The target values of a plan, one per place.
AppliedRecord RecordOfPlan(const Plan& plan, LocalDateTime when, OsFamily family);

std::string AppliedRecordText(const AppliedRecord& record);

enum class RecordStatus { Ok, Missing, Corrupt, OtherVersion };
struct LoadedRecord {
  RecordStatus status = RecordStatus::Missing;
  AppliedRecord record;
  std::string message;  // for Corrupt and OtherVersion
};
LoadedRecord ParseAppliedRecord(std::string_view text);

// Backups\Applied.rec, written whole to a pending file, which then takes
// the record's name. Returns a message for the user when it failed (the
// apply itself has happened; only the watch has nothing to compare with).
std::string SaveAppliedRecord(IFileSystem& files, std::string_view programFolder,
                              const AppliedRecord& record);
LoadedRecord LoadAppliedRecord(IFileSystem& files, std::string_view programFolder);

struct Drift {
  int changed = 0;  // places whose data differs from the record
  int total = 0;
  // Identifies the difference (the places and what they hold now), so that
  // a dismissed one is told again only once it changes.
  std::string fingerprint;
};
// Compares the registry with the record; reads only.
Drift FindDrift(IRegistry& registry, const AppliedRecord& record);

// "3 of the values you applied on 09.12.2026 have been changed"
std::string DriftText(const Drift& drift, const AppliedRecord& record,
                      const IDateTimeFormat& format);

// The main settings value that switches the watch off ("0"); on by default.
inline constexpr std::string_view kDriftWatchSetting = "chkDriftWatch";
// The fingerprint of the difference the user dismissed last.
inline constexpr std::string_view kDriftDismissedSetting = "DriftDismissed";

// The plan that puts the recorded values back: old is what the registry
// holds now, new what was applied.
Plan PlanOfRecord(IRegistry& registry, const AppliedRecord& record, WindowsVersion version);
// Writes the recorded values back as the apply does: a snapshot first, then
// every value through SetRegValue. Only on the Windows version of the record.
ApplyResult ReapplyRecord(const TuningContext& context, const AppliedRecord& record);

// The key of the main settings, which hold the watch's switch.
std::string MainSettingsKey();

// How the other tuner windows reach the one drift watch: record after their
// own apply, and ask for a check when they are shown.
struct DriftLink {
  std::function<void(const TuningProfile& applied)> recordApply;
  std::function<void()> checkSoon;
};

// Compares the registry with the record when asked (at start-up, when a
// tuner window is shown) and tells a new difference once, by one question
// whose answers are: yes, apply the values again; no, see the changes;
// cancel, dismiss (not told again until the difference changes).
class DriftWatcher {
 public:
  struct Hooks {
    // Asks the question; returns ui::kAnswerYes, kAnswerNo or kAnswerCancel.
    std::function<int(const std::string& text)> ask;
    // Tells the user something (a damaged record, the result of a re-apply).
    std::function<void(const std::string& text, bool warning)> tell;
    // Shows the plan of putting the values back; apply re-applies.
    std::function<void(Plan plan, std::function<void()> apply)> showChanges;
  };

  DriftWatcher(const TuningContext& context, const IDateTimeFormat& format, Hooks hooks)
      : context_(context), format_(format), hooks_(std::move(hooks)) {}

  // After a successful apply: records what is now in place.
  void RecordApply(const TuningProfile& profile);
  // Compares and, for a difference not told or dismissed yet, asks.
  void Check();
  // Re-applies the record (the answer yes, or apply from the changes).
  void Reapply();

  bool Enabled() const;

 private:
  TuningContext context_;
  const IDateTimeFormat& format_;
  Hooks hooks_;
  std::string told_;  // the fingerprint told in this run
  bool toldBadRecord_ = false;
  bool checking_ = false;
};

}  // namespace corvane
