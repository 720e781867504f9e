// The generated help page lists exactly the rows of the table, with the same
// cells, and carries its legend and every source.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tuning/HonouredPage.h"
#include "tuning/HonouredValues.h"

namespace corvane {
namespace {

struct PageRow {
  std::string group, key, name, cells;
};

std::string Unescape(std::string text) {
  for (auto [from, to] : {std::pair{"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
    for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, std::string(from).size(), to);
  }
  return text;
}

// The text of attribute `name` in the tag that starts at `tag`.
std::string Attribute(const std::string& page, std::size_t tag, const std::string& name) {
  const std::size_t end = page.find('>', tag);
  const std::size_t at = page.find(" " + name + "=\"", tag);
  if (at == std::string::npos || at > end) return "<none>";
  const std::size_t start = at + name.size() + 3;
  return Unescape(page.substr(start, page.find('"', start) - start));
}

std::vector<PageRow> RowsOf(const std::string& page) {
  std::vector<PageRow> rows;
  for (std::size_t at = 0; (at = page.find("<tr class=\"value\"", at)) != std::string::npos; ++at) {
    rows.push_back({Attribute(page, at, "data-group"), Attribute(page, at, "data-key"),
                    Attribute(page, at, "data-name"), Attribute(page, at, "data-cells")});
  }
  return rows;
}

TEST(HonouredPage, ListsTheSameRowsAsTheTable) {
  const std::string page = RenderHonouredPage();
  const std::vector<PageRow> rows = RowsOf(page);
  ASSERT_EQ(rows.size(), HonouredTable().size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const HonouredRow& row = HonouredTable()[i];
    EXPECT_EQ(rows[i].group, row.group == MapGroup::Nt ? "nt" : "9x") << i;
    EXPECT_EQ(rows[i].key, row.keyPattern) << i;
    EXPECT_EQ(rows[i].name, row.valueName) << i;
    EXPECT_EQ(rows[i].cells, row.cells) << i;
  }
  // One table cell per version in each row: the rendered row has 2 + 13 + 2 cells.
  std::size_t at = page.find("<tr class=\"value\"");
  ASSERT_NE(at, std::string::npos);
  const std::string first = page.substr(at, page.find("</tr>", at) - at);
  std::size_t cells = 0;
  for (std::size_t p = 0; (p = first.find("<td", p)) != std::string::npos; ++p) ++cells;
  EXPECT_EQ(cells, 2 + kTableVersions.size() + 2);
}

TEST(HonouredPage, HasTheLegendTheSourcesAndTheTitleTheMessageNames) {
  const std::string page = RenderHonouredPage();
  EXPECT_NE(page.find("<title>What each Windows honours</title>"), std::string::npos);
  for (const char* legend : {"Honoured", "Ignored", "Removed", "another name, key or type",
                             "Sources disagree", "Not written", "Not confirmed"}) {
    EXPECT_NE(page.find(legend), std::string::npos) << legend;
  }
  for (const HonouredSource& source : HonouredSources()) {
    EXPECT_NE(page.find("<td>" + std::string(source.id) + "</td>"), std::string::npos) << source.id;
  }
  for (WindowsVersion v : kTableVersions) {
    EXPECT_NE(page.find("<th>" + std::string(ColumnCaption(v)) + "</th>"), std::string::npos);
  }
  // A disputed cell, its two sources and what each says.
  EXPECT_NE(page.find("<td class=\"d\" title=\"DEPR AUTOTUNE\">D</td>"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"d\" title=\"DEPR AUTOTUNE KB224829\">D</td>"), std::string::npos);
  EXPECT_NE(page.find("<li class=\"dispute\"><code>TcpWindowSize</code>: Windows Vista to 8.1"),
            std::string::npos);
  // Sources per column where they differ by version.
  EXPECT_NE(page.find("W2KREF WS03REF; NT4: KB162179; 8.1, 10: KB224829"), std::string::npos);
  // What takes the place of an ignored value on later Windows.
  EXPECT_NE(page.find("autotuninglevel"), std::string::npos);
  // Plain ASCII: the page declares windows-1252.
  for (char c : page) EXPECT_GE(static_cast<unsigned char>(c), 0x0A);
  for (char c : page) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
}

}  // namespace
}  // namespace corvane
