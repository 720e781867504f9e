// The table of what each Windows does with the tuned values: complete for
// both registry maps and every version, every claim with its source; and the
// sentence that names the written values a Windows ignores.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tuning/HonouredValues.h"
#include "tuning/RegistryMap.h"

namespace corvane {
namespace {

using V = WindowsVersion;

// Every value one map writes, as the apply writes it, adapters under two
// made-up subkey names.
std::vector<WrittenValueRef> ValuesOf(const RegistryMap& map) {
  std::vector<WrittenValueRef> values;
  for (const MapEntry& e : map.entries) {
    values.push_back({e.root, std::string(e.keyPath), std::string(e.valueName)});
  }
  for (std::string_view subkey : {"0000", "{4D36E972-E325-11CE-BFC1-08002BE10318}"}) {
    for (const AdapterEntry& e : map.adapterEntries) {
      values.push_back({RootKey::LocalMachine, AdapterKeyPath(e, subkey), std::string(e.valueName)});
    }
  }
  for (const MapEntry& e : map.trailingEntries) {
    values.push_back({e.root, std::string(e.keyPath), std::string(e.valueName)});
  }
  return values;
}

struct Group {
  MapGroup group;
  const RegistryMap& map;
  const char* type;
};

TEST(HonouredValues, EveryValueOfBothMapsHasExactlyOneRowAndEveryRowAValue) {
  std::set<const HonouredRow*> reached;
  for (const Group& g : {Group{MapGroup::Windows9x, Map9x(), "REG_SZ"},
                         Group{MapGroup::Nt, MapNt(), "REG_DWORD"}}) {
    for (const WrittenValueRef& v : ValuesOf(g.map)) {
      SCOPED_TRACE(v.keyPath + "\\" + v.valueName);
      const HonouredRow* row = FindHonouredRow(g.group, v.root, v.keyPath, v.valueName);
      ASSERT_NE(row, nullptr);
      EXPECT_EQ(row->type, g.type);
      int matches = 0;
      for (const HonouredRow& other : HonouredTable()) {
        if (FindHonouredRow(g.group, v.root, v.keyPath, v.valueName) == &other) ++matches;
      }
      EXPECT_EQ(matches, 1);
      reached.insert(row);
    }
  }
  EXPECT_EQ(reached.size(), HonouredTable().size()) << "a row that no map value reaches";
  // 14 values in the 95/98/ME map and 20 in the NT map, the fixed ones included.
  EXPECT_EQ(HonouredTable().size(), 34u);
}

TEST(HonouredValues, EveryRowHasACellForEveryVersionAndASourceForEveryClaim) {
  std::set<std::string_view> ids;
  for (const HonouredSource& s : HonouredSources()) {
    EXPECT_TRUE(ids.insert(s.id).second) << "twice: " << s.id;
    EXPECT_FALSE(s.title.empty()) << s.id;
  }
  std::set<std::string> used;
  int unknown = 0;
  for (const HonouredRow& row : HonouredTable()) {
    SCOPED_TRACE(std::string(row.keyPattern) + "\\" + std::string(row.valueName));
    ASSERT_EQ(row.cells.size(), kTableVersions.size());
    bool claims = false;
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const char c = row.cells[column];
      ASSERT_NE(std::string_view("HIRW.?").find(c), std::string_view::npos) << c;
      // The other group's map is never written: those cells say so, and only those
      // and the NT 4.0 interface walk (no Interfaces key there) are "not written".
      const bool nineX = column < 3;
      if (nineX != (row.group == MapGroup::Windows9x)) {
        EXPECT_EQ(c, '.') << column;
      }
      if (c == '.' && nineX == (row.group == MapGroup::Windows9x)) {
        EXPECT_EQ(kTableVersions[column], V::Nt4);
        EXPECT_NE(row.keyPattern.find('*'), std::string_view::npos);
      }
      if (c == '?') ++unknown;
      if (c != '?' && c != '.') claims = true;
    }
    EXPECT_FALSE(row.instead.empty());
    if (claims) {
      EXPECT_FALSE(row.sources.empty()) << "a claim without a source";
    }
    std::string id;
    for (char c : std::string(row.sources) + " ") {
      if (c != ' ') {
        id += c;
      } else if (!id.empty()) {
        EXPECT_TRUE(ids.count(id)) << "no such source " << id;
        used.insert(id);
        id.clear();
      }
    }
  }
  EXPECT_EQ(used.size(), ids.size()) << "a source that no row cites";
  RecordProperty("unknown_cells", unknown);
  std::printf("[ table    ] %zu rows x %zu versions, %d cells unknown\n", HonouredTable().size(),
              kTableVersions.size(), unknown);
}

TEST(HonouredValues, CellsByVersion) {
  const HonouredRow* window = FindHonouredRow(
      MapGroup::Nt, RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
      "TcpWindowSize");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(EffectOn(*window, V::WindowsXp), Effect::Honoured);
  EXPECT_EQ(EffectOn(*window, V::Server2003), Effect::Honoured);
  for (V later : {V::Vista, V::Windows7, V::Windows8, V::Windows81, V::Windows10, V::Windows11}) {
    EXPECT_EQ(EffectOn(*window, later), Effect::Ignored);
  }
  EXPECT_EQ(EffectOn(*window, V::Windows98), Effect::NotWritten);
  EXPECT_EQ(EffectOn(*window, V::Unknown), Effect::Unknown);
  // A subkey name stands for "*" only as one whole key name.
  EXPECT_EQ(FindHonouredRow(MapGroup::Nt, RootKey::LocalMachine,
                            "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\",
                            "MTU"),
            nullptr);
  EXPECT_EQ(FindHonouredRow(MapGroup::Nt, RootKey::LocalMachine,
                            "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\a\\b",
                            "MTU"),
            nullptr);
  // The same value name under HKEY_CURRENT_USER is another value.
  EXPECT_EQ(FindHonouredRow(MapGroup::Nt, RootKey::CurrentUser,
                            "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "SackOpts"),
            nullptr);
}

std::vector<WrittenValueRef> Written(const RegistryMap& map, std::set<std::string> leaveOut = {}) {
  std::vector<WrittenValueRef> values;
  for (WrittenValueRef& v : ValuesOf(map)) {
    if (!leaveOut.count(v.valueName)) values.push_back(std::move(v));
  }
  return values;
}

struct NoteCase {
  V version;
  MapGroup group;
  std::set<std::string> leaveOut;  // values removed or refused, not written
  std::string note;                // its first line; empty: no note
};

TEST(HonouredValues, TheNoteNamesTheWrittenValuesThatHaveNoEffect) {
  const std::string nt = "DefaultReceiveWindow, TcpWindowSize, EnableICMPRedirects.";
  const NoteCase cases[] = {
      {V::Windows10, MapGroup::Nt, {}, "Windows 10 ignores 3 of the 24 values written: " + nt},
      {V::Windows11, MapGroup::Nt, {}, "Windows 11 ignores 3 of the 24 values written: " + nt},
      {V::Vista, MapGroup::Nt, {},
       "Windows Vista ignores 4 of the 24 values written: DefaultReceiveWindow, TcpWindowSize, "
       "SYNAttackProtect, EnableICMPRedirects."},
      {V::WindowsXp, MapGroup::Nt, {},
       "Windows XP ignores 2 of the 24 values written: DefaultReceiveWindow, EnableICMPRedirects."},
      // USE_DEFAULT removed the window values: a removal is not named.
      {V::Windows7, MapGroup::Nt, {"TcpWindowSize", "GlobalMaxTcpWindowSize"},
       "Windows 7 ignores 3 of the 22 values written: DefaultReceiveWindow, SYNAttackProtect, "
       "EnableICMPRedirects."},
      {V::Windows98, MapGroup::Windows9x, {},
       "Windows 98 ignores 1 of the 16 values written: GlobalMaxTcpWindowSize."},
      {V::WindowsMe, MapGroup::Windows9x, {}, ""},
      {V::Windows95, MapGroup::Windows9x, {}, ""},  // nothing confirmed: nothing named
      {V::Unknown, MapGroup::Nt, {}, ""},
  };
  for (const NoteCase& c : cases) {
    SCOPED_TRACE(std::string(WindowsVersionName(c.version)));
    const RegistryMap& map = c.group == MapGroup::Nt ? MapNt() : Map9x();
    std::string note = IgnoredValuesNote(c.version, c.group, Written(map, c.leaveOut));
    EXPECT_EQ(note.substr(0, note.find('\n')), c.note);
    if (!c.note.empty()) {
      EXPECT_NE(note.find("\"What each Windows honours\" in the help"), std::string::npos);
    }
  }
  EXPECT_EQ(IgnoredValuesNote(V::Windows10, MapGroup::Nt, {}), "");
}

}  // namespace
}  // namespace corvane
