// What each Windows version does with every value the tuner writes: one
// table, read by the apply and the restore (to say which written values have
// no effect on the running Windows) and by the help page generator (so that
// the help and the program cannot disagree).
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OsVersion.h"
#include "platform/Registry.h"

namespace corvane {

enum class Effect : char {
  Honoured = 'H',    // that Windows reads the value as written and acts on it
  Ignored = 'I',     // the value is still known by name but no longer acts
  Removed = 'R',     // the setting no longer exists; nothing takes the value
  OtherName = 'W',   // that Windows reads another name, key or type: as written it does nothing
  Disputed = 'D',    // Microsoft's own documents contradict each other on it
  NotWritten = '.',  // the program never writes this value on that Windows
  Unknown = '?',     // not confirmed by any source at hand
};

// Whether a written value has no effect (the ones the result message names).
constexpr bool HasNoEffect(Effect effect) {
  return effect == Effect::Ignored || effect == Effect::Removed || effect == Effect::OtherName;
}

// The Windows versions of the table's columns, in order.
inline constexpr std::array<WindowsVersion, 13> kTableVersions{
    WindowsVersion::Windows95, WindowsVersion::Windows98,  WindowsVersion::WindowsMe,
    WindowsVersion::Nt4,       WindowsVersion::Windows2000, WindowsVersion::WindowsXp,
    WindowsVersion::Server2003, WindowsVersion::Vista,      WindowsVersion::Windows7,
    WindowsVersion::Windows8,  WindowsVersion::Windows81,  WindowsVersion::Windows10,
    WindowsVersion::Windows11};

// Short column captions: "95", "98", "ME", "NT4", ..., "11".
std::string_view ColumnCaption(WindowsVersion version);

enum class MapGroup { Windows9x, Nt };

struct HonouredRow {
  MapGroup group;
  RootKey root;
  // The key as the tuner writes it; "*" stands for each adapter or interface
  // subkey name.
  std::string_view keyPattern;
  std::string_view valueName;  // empty: the key's default value
  std::string_view type;       // "REG_SZ" or "REG_DWORD", as written
  // One cell per column of kTableVersions, as the Effect characters.
  std::string_view cells;
  // For later Windows: what takes the place of the value, or why it does
  // nothing as written.
  std::string_view instead;
  // The ids of the sources the cells rest on, separated by blanks. An id
  // alone is a source of the row; "NT4:KB162179" or "8.1,10:KB224829,DEPR"
  // names the sources of those columns (by ColumnCaption), which then stand
  // for those cells instead of the row's.
  std::string_view sources;
};

struct HonouredSource {
  std::string_view id;
  std::string_view title;  // the document's title and where it is published
};

std::span<const HonouredRow> HonouredTable();
std::span<const HonouredSource> HonouredSources();

// The cell of a row for a version; Unknown for WindowsVersion::Unknown.
Effect EffectOn(const HonouredRow& row, WindowsVersion version);
// The ids of the sources a cell rests on: those named for its column, else
// the row's own.
std::vector<std::string_view> CellSources(const HonouredRow& row, WindowsVersion version);
// The row's sources as the help shows them: "W2KREF WS03REF; NT4: KB162179".
std::string SourcesText(const HonouredRow& row);
// For a row with cells marked Disputed: what each source says; else empty.
std::string_view DisputeOf(const HonouredRow& row);
// The row of a value the tuner writes (keys compared without regard to case,
// "*" matching one subkey name); nullptr when the table has none.
const HonouredRow* FindHonouredRow(MapGroup group, RootKey root, std::string_view keyPath,
                                   std::string_view valueName);
// The name the message and the help give a value: its name, or the last part
// of its key for the default value.
std::string DisplayName(const HonouredRow& row);

// One value that an apply or a restore wrote (removals are not writes).
struct WrittenValueRef {
  RootKey root = RootKey::LocalMachine;
  std::string keyPath;
  std::string valueName;
};

// The title of the help page that shows the table.
inline constexpr std::string_view kHonouredHelpTitle = "What each Windows honours";
inline constexpr std::string_view kHonouredHelpPage = "honoured.htm";

// The sentences for the result message when some of the written values have
// no effect on that Windows, e.g. "Windows 10 ignores 4 of the 20 values
// written: TcpWindowSize, ...", and when Microsoft's documents disagree on
// some: "Microsoft's documentation disagrees on whether Windows 8 acts on
// TcpWindowSize." Empty when every written value is known to act or not
// known either way, when nothing was written, or when the version is not
// known.
std::string IgnoredValuesNote(WindowsVersion version, MapGroup group,
                              std::span<const WrittenValueRef> written);

}  // namespace corvane
