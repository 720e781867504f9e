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
  int unknown = 0, confirmed = 0, disputed = 0;
  std::set<std::string_view> captions;
  for (V v : kTableVersions) captions.insert(ColumnCaption(v));
  for (const HonouredRow& row : HonouredTable()) {
    SCOPED_TRACE(std::string(row.keyPattern) + "\\" + std::string(row.valueName));
    ASSERT_EQ(row.cells.size(), kTableVersions.size());
    bool claims = false;
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const char c = row.cells[column];
      ASSERT_NE(std::string_view("HIRWD.?").find(c), std::string_view::npos) << c;
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
      if (std::string_view("HIRW").find(c) != std::string_view::npos) ++confirmed;
      // Every claim rests on a source of its own column; a dispute on two,
      // and the row tells what each says.
      const std::vector<std::string_view> cited = CellSources(row, kTableVersions[column]);
      if (c != '?' && c != '.') {
        EXPECT_FALSE(cited.empty()) << "a claim without a source, " << column;
      }
      if (c == 'D') {
        ++disputed;
        EXPECT_GE(cited.size(), 2u) << column;
        EXPECT_FALSE(DisputeOf(row).empty());
      }
    }
    EXPECT_FALSE(row.instead.empty());
    if (claims) {
      EXPECT_FALSE(row.sources.empty()) << "a claim without a source";
    }
    if (!DisputeOf(row).empty()) {
      EXPECT_NE(row.cells.find('D'), std::string_view::npos) << "a dispute without a D cell";
    }
    // "ID" or "COLUMNS:ID,ID", the columns by their captions.
    std::string token;
    for (char c : std::string(row.sources) + " ") {
      if (c != ' ') {
        token += c;
        continue;
      }
      if (token.empty()) continue;
      std::string list = token;
      if (const std::size_t colon = token.find(':'); colon != std::string::npos) {
        std::string columns = token.substr(0, colon) + ",";
        for (std::size_t at = 0, comma; (comma = columns.find(',', at)) != std::string::npos; at = comma + 1) {
          EXPECT_TRUE(captions.count(columns.substr(at, comma - at))) << "no such column in " << token;
        }
        list = token.substr(colon + 1);
      }
      list += ",";
      for (std::size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1) {
        const std::string id = list.substr(at, comma - at);
        EXPECT_TRUE(ids.count(id)) << "no such source " << id << " in " << token;
        used.insert(id);
      }
      token.clear();
    }
  }
  EXPECT_EQ(used.size(), ids.size()) << "a source that no row cites";
  RecordProperty("confirmed_cells", confirmed);
  RecordProperty("disputed_cells", disputed);
  RecordProperty("unknown_cells", unknown);
  std::printf("[ table    ] %zu rows x %zu versions: %d cells confirmed, %d disputed, %d unknown\n",
              HonouredTable().size(), kTableVersions.size(), confirmed, disputed, unknown);
  // The count the help and the release notes give; a changed cell changes it.
  EXPECT_EQ(confirmed, 131);
  EXPECT_EQ(disputed, 8);
  EXPECT_EQ(unknown, 99);
}

TEST(HonouredValues, CellsCiteTheSourcesOfTheirVersion) {
  auto row = [](std::string_view name) {
    return FindHonouredRow(MapGroup::Nt, RootKey::LocalMachine,
                           "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", name);
  };
  using Ids = std::vector<std::string_view>;
  const HonouredRow* dupAcks = row("TcpMaxDupAcks");
  ASSERT_NE(dupAcks, nullptr);
  EXPECT_EQ(CellSources(*dupAcks, V::Nt4), Ids{"KB162179"});
  EXPECT_EQ(CellSources(*dupAcks, V::Windows2000), (Ids{"W2KREF", "WS03REF"}));
  EXPECT_EQ(CellSources(*dupAcks, V::Windows81), Ids{"KB224829"});
  EXPECT_EQ(CellSources(*dupAcks, V::Windows10), Ids{"KB224829"});
  EXPECT_EQ(SourcesText(*dupAcks), "W2KREF WS03REF; NT4: KB162179; 8.1, 10: KB224829");
  const HonouredRow* window = row("TcpWindowSize");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(CellSources(*window, V::Windows81), (Ids{"DEPR", "AUTOTUNE", "KB224829"}));
  EXPECT_EQ(CellSources(*window, V::Vista), (Ids{"DEPR", "AUTOTUNE"}));
  EXPECT_NE(DisputeOf(*window).find("Vista to 8.1"), std::string_view::npos);
  EXPECT_TRUE(DisputeOf(*dupAcks).empty());
}

TEST(HonouredValues, CellsByVersion) {
  const HonouredRow* window = FindHonouredRow(
      MapGroup::Nt, RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
      "TcpWindowSize");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(EffectOn(*window, V::WindowsXp), Effect::Honoured);
  EXPECT_EQ(EffectOn(*window, V::Server2003), Effect::Honoured);
  // Microsoft's pages contradict each other from Vista to 8.1; from 10 on
  // the newer one says the registry no longer sets the window.
  for (V later : {V::Vista, V::Windows7, V::Windows8, V::Windows81}) {
    EXPECT_EQ(EffectOn(*window, later), Effect::Disputed);
    EXPECT_FALSE(HasNoEffect(Effect::Disputed));
  }
  for (V later : {V::Windows10, V::Windows11}) EXPECT_EQ(EffectOn(*window, later), Effect::Ignored);
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
  const std::string nt =
      "DefaultReceiveWindow, GlobalMaxTcpWindowSize, TcpWindowSize, EnableICMPRedirects.";
  const NoteCase cases[] = {
      {V::Windows10, MapGroup::Nt, {}, "Windows 10 ignores 4 of the 24 values written: " + nt},
      {V::Windows11, MapGroup::Nt, {}, "Windows 11 ignores 4 of the 24 values written: " + nt},
      // TcpWindowSize is disputed there: not counted among the ignored.
      {V::Vista, MapGroup::Nt, {},
       "Windows Vista ignores 3 of the 24 values written: DefaultReceiveWindow, "
       "SYNAttackProtect, EnableICMPRedirects."},
      // The adapter key's MTU, written under each of the two adapters.
      {V::WindowsXp, MapGroup::Nt, {},
       "Windows XP ignores 4 of the 24 values written: DefaultReceiveWindow, EnableICMPRedirects, "
       "MTU."},
      // USE_DEFAULT removed the window values: a removal is not named.
      {V::Windows7, MapGroup::Nt, {"TcpWindowSize", "GlobalMaxTcpWindowSize"},
       "Windows 7 ignores 3 of the 22 values written: DefaultReceiveWindow, SYNAttackProtect, "
       "EnableICMPRedirects."},
      {V::Windows98, MapGroup::Windows9x, {},
       "Windows 98 ignores 1 of the 16 values written: GlobalMaxTcpWindowSize."},
      {V::WindowsMe, MapGroup::Windows9x, {}, ""},
      // Nothing confirmed to be ignored; the type the articles disagree on.
      {V::Windows95, MapGroup::Windows9x, {},
       "Microsoft's documentation disagrees on whether Windows 95 acts on PMTUBlackHoleDetect, "
       "PMTUDiscovery, KeepAliveTime and KeepAliveInterval."},
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

TEST(HonouredValues, TheNoteSaysWhereMicrosoftsDocumentationDisagreesInsteadOfGuessing) {
  EXPECT_EQ(IgnoredValuesNote(V::Windows8, MapGroup::Nt, Written(MapNt())),
            "Windows 8 ignores 3 of the 24 values written: DefaultReceiveWindow, SYNAttackProtect, "
            "EnableICMPRedirects.\n"
            "Microsoft's documentation disagrees on whether Windows 8 acts on TcpWindowSize.\n"
            "See \"What each Windows honours\" in the help for what takes their place.");
  // The window values removed: nothing disputed is written, nothing said of it.
  const std::string without =
      IgnoredValuesNote(V::Windows81, MapGroup::Nt, Written(MapNt(), {"TcpWindowSize"}));
  EXPECT_EQ(without.find("disagrees"), std::string::npos) << without;
  // Only disputed values written: the note points to the sources.
  const std::vector<WrittenValueRef> window = {
      {RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "TcpWindowSize"}};
  EXPECT_EQ(IgnoredValuesNote(V::Windows7, MapGroup::Nt, window),
            "Microsoft's documentation disagrees on whether Windows 7 acts on TcpWindowSize.\n"
            "See \"What each Windows honours\" in the help for the sources.");
}

}  // namespace
}  // namespace corvane
