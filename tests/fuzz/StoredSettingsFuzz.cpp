// Every window's stored settings read from junk registry data: the input is
// a list of values (a name picked from the windows' tables, any type, any
// bytes, empty or over-long) written under the windows' sections; then the
// RAM configuration and the main settings load and save, and the reader
// takes every value. A window always loads, whatever it finds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memory/RamConfiguration.h"
#include "platform/RegistryAccess.h"
#include "shell/settings/MainSettings.h"
#include "tests/memory/FakeMemoryServices.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"

namespace {

using namespace corvane;

struct Target {
  std::string_view section;
  std::string_view name;
};

// The names of both windows' tables and a pinger host, by the value's
// section.
std::vector<Target> Targets() {
  std::vector<Target> targets;
  for (const ui::Stored& row : memory::kRamSettingsStored) {
    targets.push_back({memory::kRamSettingsSection, ui::FindControl(memory::kRamConfigurationLayout, row.control)->name});
  }
  for (const ui::Stored& row : shell::kMainSettingsStored) {
    targets.push_back({shell::kMainSettingsSection, ui::FindControl(shell::kMainSettingsLayout, row.control)->name});
  }
  targets.push_back({"NetPinger", "txtHost"});
  return targets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<Target> targets = Targets();
  testing::MemoryRegistry registry(size > 0 && (data[0] & 1) != 0 ? testing::RegistryFlavor::Win9x
                                                                   : testing::RegistryFlavor::Nt);
  // Records: target, type, length (two bytes), the bytes.
  std::size_t at = size > 0 ? 1 : 0;
  while (at + 4 <= size) {
    const Target& target = targets[data[at] % targets.size()];
    std::uint32_t type = data[at + 1] % 12;
    std::size_t length = static_cast<std::size_t>(data[at + 2]) | static_cast<std::size_t>(data[at + 3]) << 8;
    at += 4;
    if (length > size - at) length = size - at;
    std::vector<std::uint8_t> bytes(data + at, data + at + length);
    at += length;
    // A long run of one byte stands for an over-long value.
    if (!bytes.empty() && bytes[0] == 0xFF) bytes.resize(bytes.size() + 5000, 'x');
    RegHandle handle = 0;
    if (registry.CreateKey(RootHandle(RootKey::LocalMachine), ui::SettingsKey(target.section), reg::kKeyAllAccess,
                           handle) != reg::kSuccess) {
      continue;
    }
    RegKey key(registry, handle);
    // A NUL past the given size: 95/98/ME measure a text themselves, and a
    // caller's text always ends somewhere.
    const auto given = static_cast<std::uint32_t>(bytes.size());
    bytes.push_back(0);
    (void)registry.SetValue(key.get(), target.name, type, bytes.data(), given);
  }
  for (const Target& target : targets) {
    std::string text = GetAppSetting(registry, ui::SettingsKey(target.section), target.name, "default");
    (void)text;
  }

  testing::MemoryView ramView{memory::kRamConfigurationLayout};
  testing::FakeTimers timers;
  testing::FixedMemoryStatus status;
  testing::RecordingReleaser releaser;
  testing::RecordingSounds sounds;
  memory::RamConfigurationModel ram({registry, status, releaser, sounds, [] {}, "C:\\Corvane"}, ramView, timers);
  ram.OnLoad();
  ramView.Click(memory::kIdCmdSave);
  ram.OnUnload();

  testing::MemoryView mainView{shell::kMainSettingsLayout};
  shell::MainSettingsModel settings({registry, "\"C:\\Corvane\\corvane.exe\""}, mainView, timers);
  settings.OnLoad();
  settings.OnUnload();
  return 0;
}
