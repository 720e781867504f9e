#include "tuning/DriftWatch.h"

#include <charconv>
#include <cstdio>

#include "platform/RegistryAccess.h"
#include "platform/ui/StoredSettings.h"
#include "platform/ui/View.h"
#include "tuning/Snapshot.h"

namespace corvane {

namespace {

// A record holds a few hundred places at most; far more is no record.
constexpr std::size_t kMaxRecordBytes = 1u << 20;

std::string RootCode(RootKey root) { return root == RootKey::CurrentUser ? "HKCU" : "HKLM"; }

// Each place is one line of tab-separated fields; a tab, CR or LF cannot be
// part of a key or value name that the map writes, and is refused on reading.
bool Writable(std::string_view text) {
  for (char c : text) {
    if (c == '\t' || c == '\r' || c == '\n') return false;
  }
  return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <typename T>
bool ReadNumber(std::string_view text, T& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::uint64_t Fnv1a(std::string_view text, std::uint64_t hash = 1469598103934665603ull) {
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

AppliedRecord RecordOfPlan(const Plan& plan, LocalDateTime when, OsFamily family) {
  AppliedRecord record;
  record.when = when;
  record.family = family;
  for (const PlanEntry& e : plan.entries) {
    record.values.push_back(AppliedValue{e.root, e.keyPath, e.valueName, e.newData});
  }
  return record;
}

std::string AppliedRecordText(const AppliedRecord& r) {
  std::string text = std::string(kAppliedRecordHeader) + " " + std::to_string(kAppliedRecordVersion) + "\r\n";
  text += std::to_string(r.when.date.year) + "-" + TwoDigits(r.when.date.month) + "-" +
          TwoDigits(r.when.date.day) + " " + TwoDigits(r.when.time.hour) + ":" +
          TwoDigits(r.when.time.minute) + ":" + TwoDigits(r.when.time.second) + "\r\n";
  text += std::to_string(r.family) + "\r\n";
  for (const AppliedValue& v : r.values) {
    if (!Writable(v.keyPath) || !Writable(v.valueName)) continue;
    text += RootCode(v.root) + "\t" + v.keyPath + "\t" + v.valueName + "\t";
    if (v.data.state != RegData::State::Present) {
      text += "absent\t";
    } else if (v.data.type == reg::kTypeDword) {
      text += "dword\t" + std::to_string(v.data.number);
    } else {
      text += "sz\t" + (Writable(v.data.text) ? v.data.text : std::string());
    }
    text += "\r\n";
  }
  text += "end\r\n";
  return text;
}

LoadedRecord ParseAppliedRecord(std::string_view text) {
  LoadedRecord loaded;
  auto corrupt = [&](int line, std::string_view why) {
    loaded.status = RecordStatus::Corrupt;
    loaded.record = AppliedRecord{};
    loaded.message = "The record of the last apply (" + std::string(kAppliedRecordName) +
                     ") is damaged (line " + std::to_string(line) + ": " + std::string(why) +
                     "), so the applied values are not watched. It is made again at the next apply.";
    return loaded;
  };
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return corrupt(static_cast<int>(lines.size()) + 1, "cut short");
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (lines.empty()) return corrupt(1, "empty");
  const std::string head = std::string(kAppliedRecordHeader) + " ";
  if (lines[0].rfind(head, 0) != 0) return corrupt(1, "not a record of applied values");
  int version = 0;
  if (!ReadNumber(lines[0].substr(head.size()), version)) return corrupt(1, "no version");
  if (version != kAppliedRecordVersion) {
    loaded.status = RecordStatus::OtherVersion;
    loaded.message = "The record of the last apply (" + std::string(kAppliedRecordName) +
                     ") was written by another version of the program (format " +
                     std::to_string(version) + "), so the applied values are not watched. "
                     "It is made again at the next apply.";
    return loaded;
  }
  if (lines.size() < 4 || lines.back() != "end") return corrupt(static_cast<int>(lines.size()), "cut short");
  AppliedRecord& r = loaded.record;
  if (std::sscanf(std::string(lines[1]).c_str(), "%d-%d-%d %d:%d:%d", &r.when.date.year,
                  &r.when.date.month, &r.when.date.day, &r.when.time.hour, &r.when.time.minute,
                  &r.when.time.second) != 6 ||
      !IsValidDate(r.when.date) || !IsValidTime(r.when.time)) {
    return corrupt(2, "no date and time");
  }
  int family = 0;
  if (!ReadNumber(lines[2], family) || family < 1 || family > 7) return corrupt(3, "no Windows version code");
  r.family = static_cast<OsFamily>(family);
  for (std::size_t i = 3; i + 1 < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    auto f = Fields(lines[i]);
    if (f.size() != 5 || (f[0] != "HKLM" && f[0] != "HKCU") || f[1].empty()) {
      return corrupt(lineNumber, "not a registry place");
    }
    AppliedValue v;
    v.root = f[0] == "HKCU" ? RootKey::CurrentUser : RootKey::LocalMachine;
    v.keyPath = std::string(f[1]);
    v.valueName = std::string(f[2]);
    if (f[3] == "dword") {
      v.data.state = RegData::State::Present;
      v.data.type = reg::kTypeDword;
      if (!ReadNumber(f[4], v.data.number)) return corrupt(lineNumber, "not a 32-bit number");
    } else if (f[3] == "sz") {
      v.data.state = RegData::State::Present;
      v.data.type = reg::kTypeSz;
      v.data.text = std::string(f[4]);
    } else if (f[3] != "absent" || !f[4].empty()) {
      return corrupt(lineNumber, "unknown kind of data");
    }
    r.values.push_back(std::move(v));
  }
  loaded.status = RecordStatus::Ok;
  return loaded;
}

std::string SaveAppliedRecord(IFileSystem& files, std::string_view programFolder,
                              const AppliedRecord& record) {
  const std::string folder = BackupsFolder(programFolder);
  const std::string path = JoinPath(folder, kAppliedRecordName);
  std::string pending;
  FsStatus code = files.CreateUniqueFile(folder, pending);
  if (code == fs::kSuccess) code = files.WriteFileWhole(pending, AppliedRecordText(record));
  if (code == fs::kSuccess) {
    // The old record goes only once the new one is whole on the disk; a
    // rename never replaces a file.
    FsStatus removed = files.RemoveFile(path);
    if (removed != fs::kSuccess && removed != fs::kFileNotFound) code = removed;
  }
  if (code == fs::kSuccess) code = files.RenameFile(pending, path);
  if (code == fs::kSuccess) return std::string();
  if (!pending.empty()) (void)files.RemoveFile(pending);
  return "The record of the applied values \"" + path + "\" could not be written: " +
         files.DescribeError(code) + "\nThe values were applied; they are not watched.";
}

LoadedRecord LoadAppliedRecord(IFileSystem& files, std::string_view programFolder) {
  const std::string path = JoinPath(BackupsFolder(programFolder), kAppliedRecordName);
  std::string text;
  FsStatus code = files.ReadFileText(path, kMaxRecordBytes + 1, text);
  if (code == fs::kFileNotFound || code == fs::kPathNotFound) return LoadedRecord{};
  if (code != fs::kSuccess || text.size() > kMaxRecordBytes) {
    LoadedRecord loaded;
    loaded.status = RecordStatus::Corrupt;
    loaded.message = "The record of the last apply \"" + path + "\" could not be read" +
                     (code != fs::kSuccess ? ": " + files.DescribeError(code) : std::string(".")) +
                     "\nThe applied values are not watched.";
    return loaded;
  }
  return ParseAppliedRecord(text);
}

Drift FindDrift(IRegistry& registry, const AppliedRecord& record) {
  Drift drift;
  std::uint64_t hash = Fnv1a("drift");
  for (const AppliedValue& v : record.values) {
    ++drift.total;
    RegData now = ReadPlanData(registry, v.root, v.keyPath, v.valueName);
    bool same = now.state == v.data.state &&
                (now.state != RegData::State::Present ||
                 (now.type == v.data.type &&
                  (now.type == reg::kTypeDword ? now.number == v.data.number : now.text == v.data.text)));
    if (same) continue;
    ++drift.changed;
    hash = Fnv1a(RootCode(v.root) + "\\" + v.keyPath + "\\" + v.valueName + "=" + DataText(now) +
                     "\n",
                 hash);
  }
  if (drift.changed > 0) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    drift.fingerprint = hex;
  }
  return drift;
}

std::string DriftText(const Drift& drift, const AppliedRecord& record,
                      const IDateTimeFormat& format) {
  std::string date = format.FormatDate(record.when.date);
  if (drift.changed == 1) return "1 of the values you applied on " + date + " has been changed";
  return std::to_string(drift.changed) + " of the values you applied on " + date +
         " have been changed";
}

Plan PlanOfRecord(IRegistry& registry, const AppliedRecord& record, WindowsVersion version) {
  Plan plan;
  plan.version = version;
  plan.group = IsNtFamily(record.family) ? MapGroup::Nt : MapGroup::Windows9x;
  const RegistryMap& map = IsNtFamily(record.family) ? MapNt() : Map9x();
  for (const AppliedValue& v : record.values) {
    PlanEntry e;
    e.root = v.root;
    e.keyPath = v.keyPath;
    e.valueName = v.valueName;
    for (const AdapterEntry& a : map.adapterEntries) {
      if (v.keyPath.size() > a.keyPrefix.size() + a.keySuffix.size() &&
          v.keyPath.compare(0, a.keyPrefix.size(), a.keyPrefix) == 0 &&
          v.keyPath.compare(v.keyPath.size() - a.keySuffix.size(), a.keySuffix.size(), a.keySuffix) == 0) {
        e.adapter = v.keyPath.substr(a.keyPrefix.size(),
                                     v.keyPath.size() - a.keyPrefix.size() - a.keySuffix.size());
        break;
      }
    }
    e.oldData = ReadPlanData(registry, v.root, v.keyPath, v.valueName);
    e.newData = v.data;
    const bool same = e.oldData.state == e.newData.state &&
                      (e.oldData.state != RegData::State::Present ||
                       (e.oldData.type == e.newData.type && e.oldData.number == e.newData.number &&
                        e.oldData.text == e.newData.text));
    e.changes = !same;
    if (const HonouredRow* row = FindHonouredRow(plan.group, v.root, v.keyPath, v.valueName)) {
      e.effect = EffectOn(*row, version);
      if (HasNoEffect(e.effect)) e.reason = row->instead;
    }
    plan.entries.push_back(std::move(e));
  }
  return plan;
}

ApplyResult ReapplyRecord(const TuningContext& context, const AppliedRecord& record) {
  if (record.family != currentOsFamily) {
    return RefusedApply("The values were applied on another Windows version, so no network "
                        "setting was changed.");
  }
  return ApplyAfterSnapshot(context, [&](ApplyResult& result) {
    for (const AppliedValue& v : record.values) {
      const bool remove = v.data.state != RegData::State::Present;
      if (!remove && v.data.type == reg::kTypeSz) {
        // The text as it was applied (always a number's decimal form).
        RegStatus code = SetRegValue(context.registry, v.root, v.keyPath, v.valueName,
                                     reg::kTypeSz, RegValue(v.data.text), false);
        CountChange(code, v.root, v.keyPath, v.valueName, false, result.changes, &result.written);
        continue;
      }
      ChangeValue(context.registry, v.root, v.keyPath, v.valueName, reg::kTypeDword,
                  static_cast<std::int32_t>(v.data.number), remove, result.changes, &result.written);
    }
  });
}

std::string MainSettingsKey() { return ui::SettingsKey("MainSettings"); }

bool DriftWatcher::Enabled() const {
  return GetAppSetting(context_.registry, MainSettingsKey(), kDriftWatchSetting, "1") != "0";
}

void DriftWatcher::RecordApply(const TuningProfile& profile) {
  // What is in place now is what the apply wrote: a plan of the same profile
  // has it as its new data.
  Plan plan = PlanProfile(context_.registry, currentOsFamily, currentWindowsVersion, profile);
  if (plan.status != PlanStatus::Ready) return;
  std::string failed = SaveAppliedRecord(context_.files, context_.programFolder,
                                         RecordOfPlan(plan, context_.clock.Now(), currentOsFamily));
  told_.clear();
  if (!failed.empty() && hooks_.tell) hooks_.tell(failed, true);
}

void DriftWatcher::Check() {
  if (checking_ || !Enabled()) return;
  checking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{checking_};
  LoadedRecord loaded = LoadAppliedRecord(context_.files, context_.programFolder);
  if (loaded.status == RecordStatus::Missing) return;
  if (loaded.status != RecordStatus::Ok) {
    if (!toldBadRecord_ && hooks_.tell) hooks_.tell(loaded.message, true);
    toldBadRecord_ = true;
    return;
  }
  // A record of another Windows version (an older installation) is not compared.
  if (loaded.record.family != currentOsFamily) return;
  Drift drift = FindDrift(context_.registry, loaded.record);
  if (drift.changed == 0) return;
  if (drift.fingerprint == told_) return;
  if (drift.fingerprint ==
      GetAppSetting(context_.registry, MainSettingsKey(), kDriftDismissedSetting, "")) {
    return;
  }
  told_ = drift.fingerprint;
  if (!hooks_.ask) return;
  const std::string text =
      DriftText(drift, loaded.record, format_) +
      ".\n\nYes: apply them again.\nNo: see the changes.\nCancel: leave them as they are "
      "(you are told again only when they change once more).";
  const int answer = hooks_.ask(text);
  if (answer == ui::kAnswerYes) {
    Reapply();
  } else if (answer == ui::kAnswerNo) {
    if (hooks_.showChanges) {
      hooks_.showChanges(PlanOfRecord(context_.registry, loaded.record, currentWindowsVersion),
                         [this] { Reapply(); });
    }
  } else {
    // A dismissal that cannot be stored (the settings key refuses writes)
    // only means the same difference is told once more at the next check.
    (void)SaveAppSetting(context_.registry, MainSettingsKey(), kDriftDismissedSetting, drift.fingerprint);
  }
}

void DriftWatcher::Reapply() {
  LoadedRecord loaded = LoadAppliedRecord(context_.files, context_.programFolder);
  if (loaded.status != RecordStatus::Ok) {
    if (hooks_.tell) hooks_.tell(loaded.message, true);
    return;
  }
  ApplyResult result = ReapplyRecord(context_, loaded.record);
  told_.clear();
  if (!result.message.empty() && hooks_.tell) hooks_.tell(result.message, true);
}

}  // namespace corvane
