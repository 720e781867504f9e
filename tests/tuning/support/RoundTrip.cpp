#include "tests/tuning/support/RoundTrip.h"

#include "tuning/BackupManager.h"

namespace corvane::testing {

namespace {

bool IsFixed(const std::string& name) {
  return name == "SackOpts" || name == "Tcp1323Opts" || name == "TcpMaxDupAcks" ||
         name == "DefaultReceiveWindow";
}

std::string Describe(const ValueLocation& v, const ValueState& s) {
  std::string text = v.keyPath + "\\" + v.valueName + " = ";
  if (!s) return text + "(absent)";
  text += "type " + std::to_string(s->type) + " [";
  for (std::uint8_t b : s->data) text += std::to_string(b) + " ";
  return text + "]";
}

}  // namespace

RoundTripStart GenerateStart(OsFamily family, std::mt19937& random) {
  RoundTripStart start;
  start.family = family;
  const bool nt = IsNtFamily(family);
  std::size_t adapters = random() % 4;
  for (std::size_t i = 0; i < adapters; ++i) {
    start.adapters.push_back((nt ? "{GUID-" : "000") + std::to_string(i) + (nt ? "}" : ""));
  }
  auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
  for (ValueLocation& v : MapLocations(family, start.adapters)) {
    ValueState value;
    if (pick(3) != 0) {  // two in three present
      std::int64_t number;
      if (RestoresZeroAsRemoval(v.valueName)) {
        // A setting whose 0 means nothing: any other number, beyond the
        // signed range too.
        number = pick(4) == 0 ? 2147483648LL + pick(2000000000) : 1 + pick(3000000);
      } else if (v.valueName.empty()) {
        number = pick(3) == 0 ? 0 : pick(100000);  // the NDI cache size
      } else if (v.valueName == "SYNAttackProtect") {
        number = pick(3);
      } else {
        number = pick(2);  // flags, and the fixed values
      }
      value = nt ? Dword(static_cast<std::uint32_t>(number)) : Sz(std::to_string(number));
    }
    start.state.emplace_back(v, value);
  }
  return start;
}

void PrepareStart(IRegistry& registry, const RoundTripStart& start) {
  ResetAdapters(registry, start.family, start.adapters);
  WriteState(registry, start.state);
}

std::vector<std::string> CompareWithStart(IRegistry& registry, const RoundTripStart& start) {
  std::vector<std::string> differences;
  std::vector<ValueLocation> where;
  for (const auto& [v, s] : start.state) where.push_back(v);
  RegistryState now = ReadState(registry, where);
  const bool nt = IsNtFamily(start.family);
  for (std::size_t i = 0; i < where.size(); ++i) {
    const ValueLocation& v = where[i];
    const ValueState& before = start.state[i].second;
    const ValueState& after = now[i].second;
    if (IsFixed(v.valueName)) continue;
    ValueState expected = before;
    if (!before && !RestoresZeroAsRemoval(v.valueName)) expected = nt ? Dword(0) : Sz("0");
    if (after != expected) {
      differences.push_back("was " + Describe(v, before) + ", is " + Describe(v, after));
    }
  }
  return differences;
}

}  // namespace corvane::testing
