// The items of a snapshot file and the reader that the restore relies on.
#include <gtest/gtest.h>

#include "tuning/SnapshotFile.h"

namespace corvane {
namespace {

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) text.append(line).append("\r\n");
  return text;
}

// A well-formed NT snapshot with one interface: 3 + 14 + 5... items.
std::string NtFile(int interfaces = 1, std::string_view family = "7") {
  std::string t = Lines({"#2008-01-21#", "#14:05:09#", family,
                         "\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\""});
  const char* names[] = {"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks", "DefaultReceiveWindow",
                         "DefaultTTL", "GlobalMaxTcpWindowSize", "TcpWindowSize",
                         "EnablePMTUBHDetect", "EnablePMTUDiscovery", "KeepAliveTime",
                         "KeepAliveInterval", "SYNAttackProtect", "EnableICMPRedirects"};
  for (const char* n : names) t += Lines({"\"" + std::string(n) + "\"", "1"});
  t += Lines({"\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
              "\"MaxConnectionsPer1_0Server\"", "10", "\"MaxConnectionsPerServer\"", "0"});
  t += Lines({"\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"",
              "\"\"", "0"});
  for (int i = 0; i < interfaces; ++i) {
    t += Lines({"\"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A}\"",
                "\"MTU\"", "1500", "\"MSS\"", "-1"});
    t += Lines({"\"SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip\"", "\"MTU\"",
                "4294967295", "\"MSS\"", "0"});
  }
  return t;
}

TEST(SnapshotItems, EachKindIsRecognisedByItsForm) {
  auto text = ParseItem("\"DefaultTTL\"");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->kind, ItemKind::Text);
  EXPECT_EQ(text->text, "DefaultTTL");
  EXPECT_EQ(ParseItem("\"\"")->text, "");
  EXPECT_EQ(ParseItem("\"a \"quoted\" name\"")->text, "a \"quoted\" name");  // no escaping
  EXPECT_EQ(ParseItem("-2147483648")->number, -2147483648LL);
  EXPECT_EQ(ParseItem("4294967295")->number, 4294967295LL);
  EXPECT_EQ(ParseItem("0")->kind, ItemKind::Number);
  auto date = ParseItem("#2008-01-21#");
  ASSERT_TRUE(date);
  EXPECT_EQ(date->kind, ItemKind::Date);
  EXPECT_EQ(date->date, (CalendarDate{2008, 1, 21}));
  auto time = ParseItem("#14:05:09#");
  ASSERT_TRUE(time);
  EXPECT_EQ(time->kind, ItemKind::Time);
  EXPECT_EQ(time->time, (TimeOfDay{14, 5, 9}));
}

TEST(SnapshotItems, MalformedLinesAreNoItems) {
  using namespace std::literals;
  for (std::string_view bad : std::initializer_list<std::string_view>
       {"", " 1", "1 ", "+1", "-", "1.5", "1e3", "99999999999999999999", "\"open", "\"",
        "#2008-02-30#", "#2008-13-01#", "#24:00:00#", "#14:60:00#", "#2008-1-21#", "#14:5:09#",
        "#21/01/2008#", "##", "\"tab\there\"", "\"nul\0\""sv}) {
    EXPECT_FALSE(ParseItem(bad).has_value()) << bad;
  }
}

TEST(SnapshotItems, TheWriterEndsEveryItemWithCrLf) {
  SnapshotWriter out;
  out.Date({2008, 1, 21});
  out.Time({4, 5, 9});
  out.Number(7);
  out.Text("System\\X");
  out.Text("");
  out.Number(-2147483648LL);
  out.Date({987, 12, 3});
  EXPECT_EQ(out.data(),
            "#2008-01-21#\r\n#04:05:09#\r\n7\r\n\"System\\X\"\r\n\"\"\r\n-2147483648\r\n"
            "#0987-12-03#\r\n");
  EXPECT_EQ(out.lines(), 7);
  EXPECT_TRUE(CanWriteAsText("MS TCP {x}\"y\""));
  EXPECT_FALSE(CanWriteAsText("line\r\nbreak"));
}

TEST(SnapshotReader, AWholeFileGivesItsGroupsWithTheirRoots) {
  SnapshotContents c = ReadSnapshot(NtFile(2));
  ASSERT_TRUE(c.ok) << c.errorLine << ": " << c.error;
  EXPECT_EQ(c.date, (CalendarDate{2008, 1, 21}));
  EXPECT_EQ(c.time, (TimeOfDay{14, 5, 9}));
  EXPECT_EQ(c.family, 7);
  ASSERT_EQ(c.groups.size(), 7u);
  EXPECT_EQ(c.groups[0].pairs.size(), 13u);
  EXPECT_EQ(c.groups[0].root, RootKey::LocalMachine);
  EXPECT_EQ(c.groups[1].root, RootKey::CurrentUser);
  EXPECT_EQ(c.groups[1].pairs.size(), 2u);
  EXPECT_EQ(c.groups[2].pairs.size(), 1u);
  EXPECT_EQ(c.groups[2].pairs[0].name, "");
  for (std::size_t g = 3; g < 7; ++g) {
    EXPECT_EQ(c.groups[g].root, RootKey::LocalMachine);
    EXPECT_EQ(c.groups[g].pairs.size(), 2u);
  }
  EXPECT_EQ(c.groups[3].pairs[1].value, -1);
  EXPECT_EQ(c.groups[4].pairs[0].value, 4294967295LL);
}

TEST(SnapshotReader, AFileMayEndAfterAnyWholeGroup) {
  std::string file = NtFile(1);
  // Cut after the header, after group 1, after group 2, after group 3.
  std::vector<std::size_t> wholeGroups = {0, 1, 2, 3, 4, 5};
  std::size_t lineCounts[] = {3, 3 + 27, 3 + 27 + 5, 3 + 27 + 5 + 3, 3 + 27 + 5 + 3 + 5, 48};
  for (std::size_t i = 0; i < wholeGroups.size(); ++i) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < lineCounts[i]; ++n) at = file.find("\r\n", at) + 2;
    SnapshotContents c = ReadSnapshot(file.substr(0, at));
    EXPECT_TRUE(c.ok) << "cut after " << lineCounts[i] << " lines: " << c.error;
    EXPECT_EQ(c.groups.size(), wholeGroups[i]);
  }
  // With blank lines an editor left at the end, the last one without its end.
  EXPECT_TRUE(ReadSnapshot(file + "\r\n\r\n").ok);
  EXPECT_TRUE(ReadSnapshot(file + "\r\n\r").ok);
  // Lines ended by LF alone.
  std::string lf;
  for (char ch : file) {
    if (ch != '\r') lf += ch;
  }
  EXPECT_TRUE(ReadSnapshot(lf).ok);
}

TEST(SnapshotReader, AGroupCutShortIsDamaged) {
  std::string file = NtFile(1);
  std::size_t lines = static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n'));
  std::size_t whole[] = {3, 30, 35, 38, 43, 48};
  for (std::size_t n = 1; n < lines; ++n) {
    if (std::find(std::begin(whole), std::end(whole), n) != std::end(whole)) continue;
    std::size_t at = 0;
    for (std::size_t k = 0; k < n; ++k) at = file.find("\r\n", at) + 2;
    SnapshotContents c = ReadSnapshot(file.substr(0, at));
    EXPECT_FALSE(c.ok) << "cut after " << n << " lines";
    EXPECT_FALSE(c.error.empty());
  }
}

// The writer ends every line with CR LF, so a last line without its end was
// cut, perhaps inside its number ("1460" kept as "14"): wherever the cut falls
// inside a line, the file is damaged and the message names that line.
TEST(SnapshotReader, ALastLineThatLostItsLineEndIsDamagedWithItsLine) {
  for (const std::string& file : {NtFile(1), NtFile(3)}) {
    int lineNumber = 1;
    for (std::size_t at = 1; at < file.size(); ++at) {
      if (file[at - 1] == '\n') {
        ++lineNumber;
        continue;  // whole lines: AFileMayEndAfterAnyWholeGroup, AGroupCutShortIsDamaged
      }
      SnapshotContents c = ReadSnapshot(file.substr(0, at));
      ASSERT_FALSE(c.ok) << "cut after byte " << at;
      EXPECT_EQ(c.errorLine, lineNumber) << "cut after byte " << at << ": " << c.error;
      EXPECT_EQ(c.error, "the line has no line end, so the file was cut short") << at;
      EXPECT_EQ(c.headerOk, lineNumber > 3) << at;
    }
  }
  // The same for lines ended by LF alone.
  SnapshotContents c = ReadSnapshot("#2008-01-21#\n#14:05:09#\n7");
  EXPECT_FALSE(c.ok);
  EXPECT_FALSE(c.headerOk);
  EXPECT_EQ(c.errorLine, 3);
}

TEST(SnapshotReader, WrongKindsAndRangesAreDamagedWithTheirLine) {
  auto replaceLine = [](std::string file, int line, std::string_view with) {
    std::size_t at = 0;
    for (int k = 1; k < line; ++k) at = file.find("\r\n", at) + 2;
    std::size_t end = file.find("\r\n", at);
    return file.replace(at, end - at, with);
  };
  struct Case {
    int line;
    std::string_view with;
    std::string_view what;
  };
  for (const Case& k : {Case{1, "7", "date"}, Case{2, "#2008-01-21#", "time"},
                        Case{3, "\"7\"", "version"}, Case{3, "70000", "out of range"},
                        Case{4, "12", "key path"}, Case{4, "\"\"", "empty"},
                        Case{5, "1", "value name"}, Case{6, "\"1\"", "number"},
                        Case{6, "4294967296", "out of range"},
                        Case{6, "-2147483649", "out of range"}, Case{31, "\"\"", "empty"},
                        Case{40, "", "value name"}}) {
    SnapshotContents c = ReadSnapshot(replaceLine(NtFile(1), k.line, k.with));
    EXPECT_FALSE(c.ok) << k.line << " " << k.with;
    EXPECT_EQ(c.errorLine, k.line) << k.with;
    EXPECT_NE(c.error.find(k.what), std::string::npos) << c.error;
    EXPECT_EQ(c.headerOk, k.line > 3) << k.line;
  }
}

TEST(SnapshotReader, AnEmptyKeyPathFromTheThirdGroupOnEndsTheGroups) {
  std::string file = NtFile(1);
  std::string marker = "\"\"\r\n\"MTU\"\r\n1\r\n\"MSS\"\r\n2\r\nnot even an item\r\n";
  std::size_t third = file.find("\"System\\CurrentControlSet\\Services\\VxD");
  SnapshotContents c = ReadSnapshot(file.substr(0, third) + marker);
  EXPECT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.groups.size(), 2u);
  c = ReadSnapshot(file + marker);
  EXPECT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.groups.size(), 5u);
}

TEST(SnapshotReader, OnlyTheHeaderIsReadForAnUnknownVersionCode) {
  SnapshotContents c = ReadSnapshot(Lines({"#2008-01-21#", "#14:05:09#", "9", "whatever"}));
  EXPECT_TRUE(c.ok);
  EXPECT_EQ(c.family, 9);
  EXPECT_TRUE(c.groups.empty());
  EXPECT_FALSE(ReadSnapshot("").headerOk);
  EXPECT_FALSE(ReadSnapshot(Lines({"#2008-01-21#", "#14:05:09#"})).headerOk);
}

TEST(SnapshotReader, The9xFirstGroupHasTenPairs) {
  std::string nt = NtFile(0, "3");
  SnapshotContents c = ReadSnapshot(nt);  // 13 pairs where 10 belong
  EXPECT_FALSE(c.ok);
  // The 11th name is taken for the second group's key path, and its value
  // is where a value name belongs.
  EXPECT_EQ(c.errorLine, 26);
}

TEST(CreationStamp, TheFirstTwoItemsWhateverFollows) {
  CreationStamp s = ReadCreationStamp("#2008-01-21#\r\n#14:05:09#\r\n7\r\n");
  ASSERT_TRUE(s.first && s.second);
  EXPECT_EQ(s.first->kind, ItemKind::Date);
  EXPECT_EQ(s.second->kind, ItemKind::Time);
  s = ReadCreationStamp("hello");
  EXPECT_FALSE(s.first);
  EXPECT_FALSE(s.second);
  s = ReadCreationStamp("");
  EXPECT_FALSE(s.first);
}

}  // namespace
}  // namespace corvane
