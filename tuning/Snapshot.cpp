#include "tuning/Snapshot.h"

#include <cstdint>
#include <span>
#include <vector>

#include "platform/RegistryAccess.h"
#include "tuning/RegistryMap.h"
#include "tuning/SnapshotFile.h"

namespace corvane {

namespace {

enum class Recorded { Constant, Read, Flag };

struct PairSpec {
  std::string_view name;
  Recorded how;
  std::int32_t constant;
};

using P = PairSpec;
constexpr Recorded C = Recorded::Constant;
constexpr Recorded R = Recorded::Read;
constexpr Recorded F = Recorded::Flag;

// "DefaultRcvWindow" is recorded twice in the first 9x group; the restore
// reads exactly these ten pairs.
constexpr PairSpec k9xFirst[] = {
    {"SackOpts", C, 1},          {"Tcp1323Opts", C, 1},           {"DefaultTTL", R, 0},
    {"DefaultRcvWindow", R, 0},  {"GlobalMaxTcpWindowSize", R, 0}, {"PMTUBlackHoleDetect", F, 0},
    {"DefaultRcvWindow", R, 0},  {"PMTUDiscovery", F, 0},        {"KeepAliveTime", R, 0},
    {"KeepAliveInterval", R, 0},
};
constexpr PairSpec kNtFirst[] = {
    {"SackOpts", C, 1},
    {"Tcp1323Opts", C, 1},
    {"TcpMaxDupAcks", C, 2},
    {"DefaultReceiveWindow", C, 8192},
    {"DefaultTTL", R, 0},
    {"GlobalMaxTcpWindowSize", R, 0},
    {"TcpWindowSize", R, 0},
    {"EnablePMTUBHDetect", R, 0},
    {"EnablePMTUDiscovery", R, 0},
    {"KeepAliveTime", R, 0},
    {"KeepAliveInterval", R, 0},
    {"SYNAttackProtect", R, 0},
    {"EnableICMPRedirects", R, 0},
};
constexpr PairSpec kInternetPairs[] = {{"MaxConnectionsPer1_0Server", R, 0},
                                       {"MaxConnectionsPerServer", R, 0}};
constexpr PairSpec kCachePairs[] = {{"", R, 0}};
constexpr PairSpec k9xAdapterPairs[] = {{"MaxMTU", R, 0}, {"MaxMSS", R, 0}};
constexpr PairSpec kNtAdapterPairs[] = {{"MTU", R, 0}, {"MSS", R, 0}};

// The whole decimal number a text spells from its start ("128", "-5",
// "536 bytes"); 0 for a text without one, and for a number no registry
// parameter can hold (outside what a restore takes back).
std::int64_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    any = true;
    value = value * 10 + (text[i] - '0');
    if (value > kHighestRecorded + 1) return 0;
  }
  if (!any) return 0;
  if (negative) value = -value;
  return value < kLowestRecorded || value > kHighestRecorded ? 0 : value;
}

// Data read as an unsigned little-endian number, cut to its low 32 bits (the
// first four bytes; fewer bytes give a smaller number).
struct LowBits {
  std::uint32_t bits = 0;
  bool higherBitsSet = false;  // a byte past the fourth is not 0
};

LowBits LowBitsOf(const std::vector<std::uint8_t>& data) {
  LowBits low;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i < 4) {
      low.bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    } else if (data[i] != 0) {
      low.higherBitsSet = true;
    }
  }
  return low;
}

// The text of a value as REGGetSetting gives it: its data without the last
// byte (the NUL of a text).
std::string TextOf(const std::vector<std::uint8_t>& data) {
  if (data.size() <= 1) return std::string();
  return std::string(data.begin(), data.end() - 1);
}

class Recorder {
 public:
  Recorder(IRegistry& registry, bool nt, SnapshotWriter& out)
      : registry_(registry), nt_(nt), out_(out) {}

  void Group(RootKey root, std::string_view keyPath, std::string_view readPath,
             std::span<const PairSpec> pairs) {
    out_.Text(keyPath);
    for (const PairSpec& pair : pairs) {
      out_.Text(pair.name);
      // Each value is read just before it is written.
      out_.Number(Value(root, readPath, pair));
    }
  }

  // The first value the file cannot record faithfully enough, named as
  // DescribeValue names it; empty when there is none.
  const std::string& unrecordable() const { return unrecordable_; }

 private:
  std::int64_t Value(RootKey root, std::string_view path, const PairSpec& pair) {
    if (pair.how == Recorded::Constant) return pair.constant;
    // An empty name is the key's default value, which CRegister calls "*".
    std::string_view name = pair.name.empty() ? std::string_view("*") : pair.name;
    auto data = registry_.ReadData(root, path, name);
    std::int64_t value = 0;
    if (data && (nt_ || data->type == reg::kTypeDword)) {
      // NT: the data as an unsigned number, recorded as the signed 32-bit
      // number of the same bits so that the restore writes those bits back.
      // 95/98/ME keeps text there, but a value that another program stored
      // as a DWORD is recorded by its 32-bit value.
      LowBits low = LowBitsOf(data->bytes);
      if (low.bits == 0 && low.higherBitsSet && unrecordable_.empty()) {
        // Its 0 would come back as a removal (or a stored 0) of a value that
        // is not 0.
        unrecordable_ = DescribeValue(FailedValue{root, std::string(path), std::string(pair.name)});
      }
      value = nt_ ? std::int64_t{static_cast<std::int32_t>(low.bits)} : std::int64_t{low.bits};
    } else if (data) {
      value = LeadingNumber(TextOf(data->bytes));
    }
    if (pair.how == Recorded::Flag) return value != 0 ? 1 : 0;
    return value;
  }

  CRegister registry_;
  bool nt_;
  SnapshotWriter& out_;
  std::string unrecordable_;
};

constexpr const char* kNoFreeNumberMessage =
    "No backup file number is free: 999.BCK already exists in the Backups folder.\n"
    "Delete old backups in the Backup Manager, then try again.\n"
    "No network setting was changed.";

std::string Failure(std::string_view what, const std::string& where, IFileSystem& files,
                    FsStatus code) {
  std::string message(what);
  message += " \"" + where + "\": " + files.DescribeError(code);
  message += "\nNo network setting was changed.";
  return message;
}

}  // namespace

std::string BackupsFolder(std::string_view programFolder) {
  return JoinPath(programFolder, kBackupsFolderName);
}

int SnapshotNumber(std::string_view fileName) {
  std::size_t dot = fileName.rfind('.');
  std::string_view base = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  std::string_view last = base.size() > 3 ? base.substr(base.size() - 3) : base;
  int number = 0;
  for (char c : last) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::string SnapshotFileName(int number) {
  std::string digits = std::to_string(number);
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  return digits + ".BCK";
}

NextSnapshot NextSnapshotPath(IFileSystem& files, std::string_view programFolder) {
  NextSnapshot next;
  std::string folder = BackupsFolder(programFolder);
  if (!files.FolderExists(folder)) {
    FsStatus code = files.CreateFolder(folder);
    if (code != fs::kSuccess) {
      next.status = SnapshotStatus::FolderFailed;
      next.code = code;
      next.path = folder;
      return next;
    }
  }
  std::vector<std::string> names;
  FsStatus code = files.ListSnapshotNames(folder, names);
  if (code != fs::kSuccess) {
    next.status = SnapshotStatus::FolderFailed;
    next.code = code;
    next.path = folder;
    return next;
  }
  int highest = 0;
  for (const std::string& name : names) highest = std::max(highest, SnapshotNumber(name));
  if (highest >= 999) {
    next.status = SnapshotStatus::NoFreeNumber;
    next.path = JoinPath(folder, SnapshotFileName(999));
    next.name = SnapshotFileName(999);
    return next;
  }
  next.name = SnapshotFileName(highest + 1);
  next.path = JoinPath(folder, next.name);
  return next;
}

SnapshotResult TakeSnapshot(const TuningContext& context) {
  SnapshotResult result;
  const RegistryMap* map = MapForFamily(currentOsFamily);
  if (map == nullptr) {
    result.status = SnapshotStatus::CannotRecord;
    result.message = "The Windows version is not known, so no backup could be taken.\n"
                     "No network setting was changed.";
    return result;
  }
  NextSnapshot next = NextSnapshotPath(context.files, context.programFolder);
  result.status = next.status;
  result.code = next.code;
  result.path = next.path;
  result.name = next.name;
  if (next.status == SnapshotStatus::NoFreeNumber) {
    result.message = kNoFreeNumberMessage;
    return result;
  }
  if (next.status != SnapshotStatus::Written) {
    result.message = Failure("The backup folder could not be made ready", next.path,
                             context.files, next.code);
    return result;
  }

  SnapshotWriter out;
  const LocalDateTime now = context.clock.Now();
  out.Date(now.date);
  out.Time(now.time);
  out.Number(currentOsFamily);

  const bool nt = IsNtFamily(currentOsFamily);
  Recorder recorder(context.registry, nt, out);
  if (nt) {
    const RegistryMap& m = MapNt();
    recorder.Group(m.entries[0].root, m.entries[0].keyPath, m.entries[4].keyPath, kNtFirst);
    recorder.Group(m.entries[13].root, m.entries[13].keyPath, m.entries[13].keyPath, kInternetPairs);
    const MapEntry& cache = m.trailingEntries[0];
    recorder.Group(cache.root, cache.keyPath, cache.keyPath, kCachePairs);
  } else {
    const RegistryMap& m = Map9x();
    recorder.Group(m.entries[0].root, m.entries[0].keyPath, m.entries[0].keyPath, k9xFirst);
    recorder.Group(m.entries[9].root, m.entries[9].keyPath, m.entries[9].keyPath, kInternetPairs);
    recorder.Group(m.entries[11].root, m.entries[11].keyPath, m.entries[11].keyPath, kCachePairs);
  }

  bool recordable = true;
  (void)EnumerateAdapterSubkeys(context.registry, map->adapterParent, [&](const std::string& n) {
    if (!recordable) return;
    if (!CanWriteAsText(n)) {
      recordable = false;
      return;
    }
    if (nt) {
      // The interface key, then the service key of the same name.
      std::string interfaceKey = AdapterKeyPath(map->adapterEntries[0], n);
      std::string serviceKey = AdapterKeyPath(map->adapterEntries[1], n);
      recorder.Group(RootKey::LocalMachine, interfaceKey, interfaceKey, kNtAdapterPairs);
      recorder.Group(RootKey::LocalMachine, serviceKey, serviceKey, kNtAdapterPairs);
    } else {
      std::string key = AdapterKeyPath(map->adapterEntries[0], n);
      recorder.Group(RootKey::LocalMachine, key, key, k9xAdapterPairs);
    }
  });
  if (!recorder.unrecordable().empty()) {
    result.status = SnapshotStatus::CannotRecord;
    result.message = "The registry value \"" + recorder.unrecordable() +
                     "\" is longer than 32 bits and its low 32 bits are 0. A backup file would "
                     "record it as 0, which a restore takes for an absent value.\n"
                     "No network setting was changed.";
    return result;
  }
  if (!recordable) {
    result.status = SnapshotStatus::CannotRecord;
    result.message = "The name of the adapter key \"" + std::string(map->adapterParent) +
                     "\\...\" holds a control character, which a backup file cannot record.\n"
                     "No network setting was changed.";
    return result;
  }

  // Whole and on the disk before it carries a snapshot's name: a snapshot
  // that a crash cut short would otherwise look restorable. The pending file
  // has a name of its own, so another copy of the program (another user's
  // session) writing into the same folder never writes into it.
  const std::string folder = BackupsFolder(context.programFolder);
  std::string pending;
  FsStatus code = context.files.CreateUniqueFile(folder, pending);
  if (code == fs::kSuccess) code = context.files.WriteFileWhole(pending, out.data());
  // The final name never replaces a file: when another copy has taken the
  // number meanwhile, the next one is tried.
  int number = SnapshotNumber(next.name);
  while (code == fs::kSuccess) {
    result.name = SnapshotFileName(number);
    result.path = JoinPath(folder, result.name);
    code = context.files.RenameFile(pending, result.path);
    if (code != fs::kAlreadyExists && code != fs::kFileExists) break;
    if (number >= 999) {
      (void)context.files.RemoveFile(pending);
      result.status = SnapshotStatus::NoFreeNumber;
      result.code = code;
      result.message = kNoFreeNumberMessage;
      return result;
    }
    ++number;
    code = fs::kSuccess;
  }
  if (code != fs::kSuccess) {
    if (!pending.empty()) (void)context.files.RemoveFile(pending);  // best effort; it is no snapshot
    result.status = SnapshotStatus::WriteFailed;
    result.code = code;
    result.message =
        Failure("The backup file could not be written", result.path, context.files, code);
    return result;
  }
  result.status = SnapshotStatus::Written;
  return result;
}

}  // namespace corvane
