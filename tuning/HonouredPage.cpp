#include "tuning/HonouredPage.h"

#include <string_view>

#include "tuning/HonouredValues.h"

namespace corvane {

namespace {

std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// How a cell shows each effect: its style class and its text.
struct CellLook {
  Effect effect;
  std::string_view cssClass;
  std::string_view text;
};
constexpr CellLook kCellLooks[] = {
    {Effect::Honoured, "h", "H"},   {Effect::Ignored, "i", "I"},
    {Effect::Removed, "r", "R"},    {Effect::OtherName, "w", "W"},
    {Effect::NotWritten, "n", "&ndash;"}, {Effect::Disputed, "d", "D"},
};
// Unknown, and anything the table does not name.
constexpr CellLook kUnknownLook{Effect::Unknown, "u", "?"};

const CellLook& LookOf(Effect effect) {
  for (const CellLook& look : kCellLooks) {
    if (look.effect == effect) return look;
  }
  return kUnknownLook;
}

std::string_view RootName(RootKey root) {
  return root == RootKey::CurrentUser ? "HKCU" : "HKLM";
}

void AppendGroup(std::string& page, MapGroup group, std::string_view heading,
                 std::string_view intro) {
  page += "<h2>" + std::string(heading) + "</h2>\n<p>" + std::string(intro) + "</p>\n";
  page += "<table class=\"honoured\">\n<tr><th>Value</th><th>Key</th>";
  for (WindowsVersion v : kTableVersions) page += "<th>" + std::string(ColumnCaption(v)) + "</th>";
  page += "<th>On later Windows, instead</th><th>Sources</th></tr>\n";
  for (const HonouredRow& row : HonouredTable()) {
    if (row.group != group) continue;
    page += "<tr class=\"value\" data-group=\"";
    page += group == MapGroup::Nt ? "nt" : "9x";
    page += "\" data-key=\"" + Escape(row.keyPattern) + "\" data-name=\"" + Escape(row.valueName) +
            "\" data-cells=\"" + std::string(row.cells) + "\">";
    page += "<td><code>" + Escape(DisplayName(row)) + "</code><br>" + std::string(row.type) +
            (row.valueName.empty() ? ", the key's default value" : "") + "</td>";
    page += "<td><code>" + std::string(RootName(row.root)) + "\\" + Escape(row.keyPattern) +
            "</code></td>";
    for (WindowsVersion v : kTableVersions) {
      const Effect effect = EffectOn(row, v);
      page += "<td class=\"" + std::string(LookOf(effect).cssClass) + "\"";
      // A claim names the sources it rests on when the pointer rests on it.
      if (effect != Effect::Unknown && effect != Effect::NotWritten) {
        std::string ids;
        for (std::string_view id : CellSources(row, v)) ids += (ids.empty() ? "" : " ") + std::string(id);
        page += " title=\"" + Escape(ids) + "\"";
      }
      page += ">" + std::string(LookOf(effect).text) + "</td>";
    }
    page += "<td>" + Escape(row.instead) + "</td><td>" +
            (row.sources.empty() ? std::string("none found") : Escape(SourcesText(row))) +
            "</td></tr>\n";
  }
  page += "</table>\n";
  std::string disputes;
  for (const HonouredRow& row : HonouredTable()) {
    if (row.group != group || DisputeOf(row).empty()) continue;
    disputes += "<li class=\"dispute\"><code>" + Escape(DisplayName(row)) + "</code>: " +
                Escape(DisputeOf(row)) + "</li>\n";
  }
  if (!disputes.empty()) {
    page += "<p>Where the sources disagree (the cells marked D):</p>\n<ul>\n" + disputes + "</ul>\n";
  }
}

}  // namespace

std::string RenderHonouredPage() {
  std::string page =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
      "<title>" + std::string(kHonouredHelpTitle) + "</title>\n"
      "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">\n"
      "<style type=\"text/css\">\n"
      "table.honoured td.h { background: #e4f5e4; text-align: center; }\n"
      "table.honoured td.i, table.honoured td.r, table.honoured td.w { background: #fbe3e0; "
      "text-align: center; }\n"
      "table.honoured td.n { color: #9aa8bd; text-align: center; }\n"
      "table.honoured td.u { background: #f4f4f4; text-align: center; }\n"
      "table.honoured td.d { background: #fdf3d0; text-align: center; }\n"
      "</style>\n</head>\n<body>\n"
      "<div class=\"head\"><h1>" + std::string(kHonouredHelpTitle) +
      "</h1><p>Which tuned values each Windows version still reads</p></div>\n"
      "<div class=\"body\">\n"
      "<p>Corvane writes the same values on every Windows of a family, so that its backups can "
      "always be restored. Later Windows versions no longer act on some of them: after a tuning "
      "or a restore Corvane names the written values that the running Windows ignores. This "
      "table says, for every value and every Windows version, what Windows does with it, where "
      "that is known, and what takes the place of an ignored value.</p>\n"
      "<p>Before anything is written, <a href=\"wizard.htm#changes\">Changes&hellip;</a> shows "
      "every value that a tuning or a restore would change, what it holds now and what it would "
      "get, and marks each value the running Windows ignores (&quot;Windows 10 ignores it&quot;) "
      "with the reason from this table.</p>\n"
      "<h2>Legend</h2>\n<table>\n"
      "<tr><td class=\"h\">H</td><td>Honoured: Windows reads the value as written and acts on "
      "it.</td></tr>\n"
      "<tr><td class=\"i\">I</td><td>Ignored: Windows no longer acts on this value.</td></tr>\n"
      "<tr><td class=\"r\">R</td><td>Removed: the setting no longer exists; nothing can be "
      "set.</td></tr>\n"
      "<tr><td class=\"w\">W</td><td>Written under another name, key or type than the one "
      "Windows reads, so it has no effect.</td></tr>\n"
      "<tr><td class=\"n\">&ndash;</td><td>Not written on that Windows: Corvane writes the other "
      "family's map there, or the key it walks does not exist.</td></tr>\n"
      "<tr><td class=\"d\">D</td><td>Sources disagree: Microsoft's own documents contradict "
      "each other; both are named below the table.</td></tr>\n"
      "<tr><td class=\"u\">?</td><td>Not confirmed by any source at hand.</td></tr>\n"
      "</table>\n"
      "<p>Corvane names the values marked I, R or W for the running Windows, and says of those "
      "marked D that Microsoft's documentation disagrees; it names none marked ?. A cell's "
      "sources show when the pointer rests on it; where they differ by version, the Sources "
      "column names them per column (\"NT4: KB162179\"). Windows Server 2003 stands for XP Professional x64 as well, Vista for Server "
      "2008. Windows 8.1, 10 and 11 are told apart by Corvane's own manifest; Windows 11 by its "
      "build number, 22000 or above.</p>\n";
  AppendGroup(page, MapGroup::Windows9x, "Windows 95, 98 and ME",
              "Text values (REG_SZ) under <code>VxD\\MSTCP</code> and the NetTrans bindings.");
  AppendGroup(page, MapGroup::Nt, "Windows NT, 2000, XP and later",
              "Numbers (REG_DWORD) under <code>Services\\Tcpip</code>; per interface "
              "(<code>*</code> stands for each interface's name).");
  page += "<h2>Sources</h2>\n<table>\n";
  for (const HonouredSource& source : HonouredSources()) {
    page += "<tr><td>" + Escape(source.id) + "</td><td>" + Escape(source.title) + "</td></tr>\n";
  }
  page +=
      "</table>\n"
      "<p>To go back to the values from before a tuning, restore its backup in <a "
      "href=\"backup.htm\">Backups</a>.</p>\n"
      "<div class=\"nav\"><a href=\"index.htm\">Contents</a> &middot; <a "
      "href=\"wizard.htm\">Quick tune</a> &middot; <a href=\"trouble.htm\">Questions and "
      "troubleshooting</a> &middot; Corvane 1.0</div>\n"
      "</div>\n</body>\n</html>\n";
  return page;
}

}  // namespace corvane
