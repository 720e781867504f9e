#include "tuning/HonouredValues.h"

#include <algorithm>
#include <cctype>

namespace corvane {

namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;
constexpr RootKey HKCU = RootKey::CurrentUser;
constexpr MapGroup G9x = MapGroup::Windows9x;
constexpr MapGroup GNt = MapGroup::Nt;

constexpr std::string_view kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr std::string_view kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::string_view kNdiCache =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
constexpr std::string_view kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\*";
constexpr std::string_view kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::string_view kInterface =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\*";
constexpr std::string_view kAdapter = "SYSTEM\\CurrentControlSet\\Services\\*\\Parameters\\Tcpip";

constexpr std::string_view SZ = "REG_SZ";
constexpr std::string_view DW = "REG_DWORD";

// Columns: 95 98 ME | NT4 2000 XP 2003 Vista 7 8 8.1 10 11 (see Effect for the
// letters; '.' is "not written"). The 95/98/ME map
// is never written on an NT version and the NT map never on 95/98/ME.
constexpr HonouredRow kRows[] = {
    // The 95/98/ME map (REG_SZ texts).
    {G9x, HKLM, kMstcp, "SackOpts", SZ, "?HH..........",
     "On NT versions the program writes SackOpts under Services\\Tcpip\\Parameters.", "KB158474"},
    {G9x, HKLM, kMstcp, "Tcp1323Opts", SZ, "?HH..........",
     "On NT versions the program writes Tcp1323Opts under Services\\Tcpip\\Parameters.",
     "KB158474"},
    {G9x, HKLM, kMstcp, "DefaultTTL", SZ, "?HH..........",
     "On NT versions the program writes DefaultTTL under Services\\Tcpip\\Parameters.", "KB158474"},
    {G9x, HKLM, kMstcp, "DefaultRcvWindow", SZ, "?HH..........",
     "On NT versions the program writes TcpWindowSize and GlobalMaxTcpWindowSize.", "KB158474"},
    {G9x, HKLM, kMstcp, "GlobalMaxTcpWindowSize", SZ, "?W?..........",
     "Windows 98 reads a DWORD named GlobalMaxTcpWindoSize (sic) under MSTCP\\Parameters.",
     "KB239731"},
    {G9x, HKLM, kMstcp, "PMTUBlackHoleDetect", SZ, "DHH..........",
     "On NT versions the program writes EnablePMTUBHDetect.", "KB158474 95:KB158474,KB156438"},
    {G9x, HKLM, kMstcp, "PMTUDiscovery", SZ, "DHH..........",
     "On NT versions the program writes EnablePMTUDiscovery.", "KB158474 95:KB158474,KB156438"},
    {G9x, HKLM, kMstcp, "KeepAliveTime", SZ, "DHH..........",
     "On NT versions the program writes KeepAliveTime under Services\\Tcpip\\Parameters.",
     "KB158474 95:KB158474,KB167833,KB140325"},
    {G9x, HKLM, kMstcp, "KeepAliveInterval", SZ, "DHH..........",
     "On NT versions the program writes KeepAliveInterval under Services\\Tcpip\\Parameters.",
     "KB158474 95:KB158474,KB140325"},
    {G9x, HKCU, kInternet, "MaxConnectionsPer1_0Server", SZ, "???..........",
     "Documented as a REG_DWORD; whether a text is read is not confirmed.", "KB183110"},
    {G9x, HKCU, kInternet, "MaxConnectionsPerServer", SZ, "???..........",
     "Documented as a REG_DWORD; whether a text is read is not confirmed.", "KB183110"},
    {G9x, HKLM, kNdiCache, "", SZ, "???..........",
     "No Microsoft documentation found; it concerns IPX only.", ""},
    {G9x, HKLM, kNetTrans, "MaxMTU", SZ, "HHH..........",
     "Read in the TCP/IP binding subkeys; the other NetTrans subkeys ignore it.", "KB250663"},
    {G9x, HKLM, kNetTrans, "MaxMSS", SZ, "???..........",
     "No Microsoft documentation found.", ""},

    // The NT map (REG_DWORD numbers).
    {GNt, HKLM, kTcpip, "SackOpts", DW, "...?HHH???HH?",
     "Selective acknowledgements are on by default.", "W2KREF WS03REF 8.1,10:KB224829"},
    {GNt, HKLM, kTcpip, "Tcp1323Opts", DW, "...IHHH???HH?",
     "Time stamps: netsh int tcp set global timestamps=enabled; window scaling comes with "
     "receive-window auto-tuning. NT 4.0 never had the window scale option.",
     "W2KREF WS03REF NT4:KB199947 8.1,10:KB224829"},
    {GNt, HKLM, kTcpip, "TcpMaxDupAcks", DW, "...HHHH???HH?", "No later setting found.",
     "W2KREF WS03REF NT4:KB162179 8.1,10:KB224829"},
    {GNt, HKLM, kTcpip, "DefaultReceiveWindow", DW, "...WWWWWWWWWW",
     "Documented only as a value of Services\\Afd\\Parameters; from Vista on, receive-window "
     "auto-tuning sizes the window.",
     "WS03AFD KB947239"},
    {GNt, HKLM, kTcpip, "DefaultTTL", DW, "...?HHH??????",
     "netsh int ipv4 set global defaultcurhoplimit=N.", "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "GlobalMaxTcpWindowSize", DW, "...?HHH????II",
     "Receive-window auto-tuning (netsh int tcp set global autotuninglevel=).",
     "W2KREF WS03REF KB947239 10,11:AUTOTUNE"},
    {GNt, HKLM, kTcpip, "TcpWindowSize", DW, "...HHHHDDDDII",
     "Receive-window auto-tuning (netsh int tcp set global autotuninglevel=); NT 4.0 allows "
     "at most 64 KB.",
     "NT4RK W2KREF WS03REF KB947239 NT4:NT4RK,KB199947 Vista,7,8:DEPR,AUTOTUNE "
     "8.1:DEPR,AUTOTUNE,KB224829 10,11:DEPR,AUTOTUNE"},
    {GNt, HKLM, kTcpip, "EnablePMTUBHDetect", DW, "...HHHH??????", "No later setting found.",
     "W2KREF WS03REF NT4:KB136970"},
    {GNt, HKLM, kTcpip, "EnablePMTUDiscovery", DW, "...?HHH??????",
     "Still documented as the registry value; path MTU discovery is on by default.",
     "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "KeepAliveTime", DW, "...HHHHHHHHHH",
     "Still the registry value; a program can set its own with SIO_KEEPALIVE_VALS.",
     "W2KREF WS03REF NT4:KB140325 Vista,7,8,8.1,10,11:KEEPALIVE"},
    {GNt, HKLM, kTcpip, "KeepAliveInterval", DW, "...HHHHHHHHHH",
     "Still the registry value; a program can set its own with SIO_KEEPALIVE_VALS.",
     "W2KREF WS03REF NT4:KB140325 Vista,7,8,8.1,10,11:KEEPALIVE"},
    {GNt, HKLM, kTcpip, "SYNAttackProtect", DW, "...HH?HRRRR??",
     "SYN attack protection is always on from Vista; there is nothing to set.",
     "W2KREF WS03REF NT4:KB142641 2000:W2KREF,KB142641 Vista,7,8,8.1:SYNBLOG"},
    {GNt, HKLM, kTcpip, "EnableICMPRedirects", DW, "...HWWWWWWWWW",
     "From Windows 2000 on, the value Windows reads is EnableICMPRedirect (without the final "
     "s); NT 4.0 (Service Pack 5 and later) reads it with the s.",
     "KB243427 SECBASE NT4:KB225344"},
    {GNt, HKCU, kInternet, "MaxConnectionsPer1_0Server", DW, "...HHHHHHHHHH",
     "Read by WinINet (Internet Explorer and the programs that use WinINet); other browsers "
     "keep their own limits.",
     "KB183110"},
    {GNt, HKCU, kInternet, "MaxConnectionsPerServer", DW, "...HHHHHHHHHH",
     "Read by WinINet (Internet Explorer and the programs that use WinINet); other browsers "
     "keep their own limits.",
     "KB183110"},
    {GNt, HKLM, kInterface, "MTU", DW, "....HHH??????",
     "netsh interface ipv4 set subinterface \"name\" mtu=N store=persistent. NT 4.0 has no "
     "Interfaces key, so nothing per interface is written there.",
     "W2KREF WS03REF XP:KB314053"},
    {GNt, HKLM, kAdapter, "MTU", DW, "....WWW??????",
     "The adapter key of NT 3.5 and 4.0 (KB102973); from Windows 2000 on the MTU is a value "
     "of the interface's key under Tcpip\\Parameters\\Interfaces, and this write only "
     "creates a key under Services.",
     "2000:W2KREF XP:KB314053 2003:WS03REF"},
    {GNt, HKLM, kInterface, "MSS", DW, "....?????????", "No Microsoft documentation found.", ""},
    {GNt, HKLM, kAdapter, "MSS", DW, "....?????????", "No Microsoft documentation found.", ""},
    {GNt, HKLM, kNdiCache, "", DW, "...??????????",
     "No Microsoft documentation found; it concerns IPX only.", ""},
};

constexpr HonouredSource kSources[] = {
    {"KB158474", "Microsoft Knowledge Base 158474, \"Windows TCP/IP Registry Entries\" "
                 "(Windows 95, 98, 98 SE, ME): the values under VxD\\MSTCP, each of data type "
                 "DWORD, \"For Windows 98, the Data Type is a String value\"; for Windows 95 "
                 "other articles (KB156438, KB140325) say string"},
    {"KB156438", "Microsoft Knowledge Base 156438, \"Internet Mail or News Reader Software Hangs "
                 "or Times Out\" (Windows 95): add PMTUBlackHoleDetect and PMTUDiscovery under "
                 "VxD\\MSTCP as string values"},
    {"KB140325", "Microsoft Knowledge Base 140325, \"How to Determine Loss of Client/Server "
                 "Connection\" (Windows NT 3.5 to 4.0, Windows 95): KeepAliveTime and "
                 "KeepAliveInterval, REG_DWORD under Tcpip\\Parameters on NT, created as string "
                 "values under VxD\\MSTCP on Windows 95"},
    {"KB167833", "Microsoft Knowledge Base 167833, \"TCP/IP Connection Disconnected After "
                 "Inactive Period\" (Windows 95): KeepAliveTime under VxD\\MSTCP, \"a Dword "
                 "value\""},
    {"KB239731", "Microsoft Knowledge Base 239731: Windows 98 reads the window limit as the "
                 "DWORD GlobalMaxTcpWindoSize under VxD\\MSTCP\\Parameters"},
    {"KB250663", "Microsoft Knowledge Base 250663, \"Description of the TCP/IP Registry Entries "
                 "in the NetTrans Subkey\" (Windows 95, 98, ME): MaxMTU, a string"},
    {"KB183110", "Microsoft Knowledge Base 183110: WinINet's connections per server, REG_DWORD "
                 "values under Internet Settings"},
    {"KB199947", "Microsoft Knowledge Base 199947, \"Windows NT 4.0 Does Not Support TCP Scale "
                 "Option\""},
    {"KB224829", "Microsoft support article 224829, \"Description of Windows TCP features\" "
                 "(applies to Windows 10 and Windows Server 2012 R2; 8.1 is taken from its server "
                 "sibling, and its steps still name Windows 2000 and Windows Server 2003): "
                 "TcpWindowSize, Tcp1323Opts, SackOpts and TcpMaxDupAcks under "
                 "Tcpip\\Parameters"},
    {"KB162179", "Microsoft Knowledge Base 162179, \"TCP Fast Retransmit and Recovery Added in "
                 "Windows NT 4.0 Service Pack 2\": TcpMaxDupAcks"},
    {"KB136970", "Microsoft Knowledge Base 136970, \"PMTU Black Hole Detection Algorithm Change "
                 "for Windows NT 3.51\": EnablePMTUBHDetect, in the service packs of 3.51 and "
                 "4.0"},
    {"KB142641", "Microsoft Knowledge Base 142641, \"Internet Server Unavailable Because of "
                 "Malicious SYN Attacks\" (Windows NT 3.51, 4.0, 2000): SynAttackProtect"},
    {"KB225344", "Microsoft Knowledge Base 225344, \"ICMP Redirect Attack Hangs Windows NT "
                 "Server and Workstation\": EnableICMPRedirects from NT 4.0 Service Pack 5"},
    {"KB314053", "Microsoft Knowledge Base 314053, \"TCP/IP and NBT configuration parameters for "
                 "Windows XP\": MTU only under Tcpip\\Parameters\\Interfaces"},
    {"NT4RK", "Windows NT 4.0 Resource Kit, \"TCP/IP Transport Entries\" "
              "(Services\\Tcpip\\Parameters)"},
    {"W2KREF", "\"Microsoft Windows 2000 TCP/IP Implementation Details\", appendix A, TCP/IP "
               "configuration parameters (Microsoft TechNet)"},
    {"WS03REF", "\"TCP/IP Implementation Details\" for Windows Server 2003, appendix A, TCP/IP "
                "Configuration Parameters, and its entries TcpWindowSize and TcpMaxDupAcks "
                "(Microsoft TechNet)"},
    {"WS03AFD", "\"TCP/IP Implementation Details\" for Windows Server 2003, appendix C: "
                "DefaultReceiveWindow as a value of Services\\Afd\\Parameters"},
    {"KB947239", "Microsoft Knowledge Base 947239: Receive Window Auto-Tuning in Windows Vista"},
    {"DEPR", "Microsoft Learn, \"Performance Tuning Network Adapters\", section \"Deprecated "
             "TCP parameters\": TcpWindowSize, among the settings from Windows Server 2003, is "
             "no longer supported and is ignored in later versions"},
    {"AUTOTUNE", "Microsoft Learn, \"Performance Tuning Network Adapters\", note under \"Review "
                 "and configure TCP receive window autotuning level\": unlike in versions before "
                 "Windows 10 and Windows Server 2019, the registry can no longer configure the "
                 "TCP receive window size (it names no value)"},
    {"KEEPALIVE", "Microsoft Learn, Winsock reference, \"SIO_KEEPALIVE_VALS Control Code\" "
                  "(Windows Vista and later): the system-wide keep-alive timeout and interval "
                  "are controllable through the KeepAliveTime and KeepAliveInterval registry "
                  "settings"},
    {"SYNBLOG", "Microsoft networking team, \"SYN attack protection on Windows Vista, Windows "
                "Server 2008, Windows 7 ...\": always on, SynAttackProtect no longer read"},
    {"KB243427", "Microsoft Knowledge Base 243427, \"ICMP Redirect Routes Override OSPF "
                 "Routes\": the value EnableICMPRedirect"},
    {"SECBASE", "Microsoft security baselines for Windows 11 and Windows Server 2022: the MSS "
                "setting EnableICMPRedirect"},
};

// Where Microsoft's documents contradict each other (the cells marked D).
struct Dispute {
  MapGroup group;
  std::string_view valueName;
  std::string_view text;
};

constexpr Dispute kDisputes[] = {
    {G9x, "PMTUBlackHoleDetect",
     "Windows 95: KB158474 gives the values under VxD\\MSTCP as DWORDs (strings only on "
     "Windows 98); KB156438 tells Windows 95 users to add this one as a string value, as "
     "Corvane writes it."},
    {G9x, "PMTUDiscovery",
     "Windows 95: KB158474 gives the values under VxD\\MSTCP as DWORDs (strings only on "
     "Windows 98); KB156438 tells Windows 95 users to add this one as a string value, as "
     "Corvane writes it."},
    {G9x, "KeepAliveTime",
     "Windows 95: KB158474 and KB167833 give KeepAliveTime as a DWORD; KB140325 tells Windows 95 "
     "users to create it as a string value, as Corvane writes it."},
    {G9x, "KeepAliveInterval",
     "Windows 95: KB158474 gives the values under VxD\\MSTCP as DWORDs (strings only on "
     "Windows 98); KB140325 tells Windows 95 users to create this one as a string value, as "
     "Corvane writes it."},
    {GNt, "TcpWindowSize",
     "Windows Vista to 8.1: DEPR says the value, a setting of Windows Server 2003, is ignored in "
     "later versions; AUTOTUNE, on the same page, says only Windows 10 and Windows Server 2019 "
     "can no longer set the receive window in the registry; KB224829 (Windows Server 2012 R2) "
     "still tells how to set it. For Windows 10 KB224829 says the same, but the newer and more "
     "specific Learn page is followed there: ignored."},
};

bool EqualFoldedChar(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool EqualFoldedText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), EqualFoldedChar);
}

// "*" in the pattern stands for one non-empty subkey name.
bool KeyMatches(std::string_view pattern, std::string_view key) {
  const std::size_t star = pattern.find('*');
  if (star == std::string_view::npos) return EqualFoldedText(pattern, key);
  const std::string_view prefix = pattern.substr(0, star);
  const std::string_view suffix = pattern.substr(star + 1);
  if (key.size() <= prefix.size() + suffix.size()) return false;
  if (!EqualFoldedText(prefix, key.substr(0, prefix.size()))) return false;
  if (!EqualFoldedText(suffix, key.substr(key.size() - suffix.size()))) return false;
  const std::string_view name = key.substr(prefix.size(), key.size() - prefix.size() - suffix.size());
  return name.find('\\') == std::string_view::npos;
}

}  // namespace

std::string_view ColumnCaption(WindowsVersion version) {
  using V = WindowsVersion;
  switch (version) {
    case V::Windows95: return "95";
    case V::Windows98: return "98";
    case V::WindowsMe: return "ME";
    case V::Nt4: return "NT4";
    case V::Windows2000: return "2000";
    case V::WindowsXp: return "XP";
    case V::Server2003: return "2003";
    case V::Vista: return "Vista";
    case V::Windows7: return "7";
    case V::Windows8: return "8";
    case V::Windows81: return "8.1";
    case V::Windows10: return "10";
    case V::Windows11: return "11";
    case V::Unknown: break;
  }
  return "?";
}

std::span<const HonouredRow> HonouredTable() { return kRows; }
std::span<const HonouredSource> HonouredSources() { return kSources; }

namespace {

// Calls visit(columns, ids) for each blank-separated token of the sources;
// columns is empty for the row's own.
template <typename Visit>
void ForEachSourceToken(std::string_view sources, Visit visit) {
  std::size_t at = 0;
  while (at < sources.size()) {
    std::size_t end = sources.find(' ', at);
    if (end == std::string_view::npos) end = sources.size();
    const std::string_view token = sources.substr(at, end - at);
    at = end + 1;
    if (token.empty()) continue;
    const std::size_t colon = token.find(':');
    if (colon == std::string_view::npos) {
      visit(std::string_view(), token);
    } else {
      visit(token.substr(0, colon), token.substr(colon + 1));
    }
  }
}

// Whether a comma-separated list holds the item.
bool ListHolds(std::string_view list, std::string_view item) {
  std::size_t at = 0;
  while (at <= list.size()) {
    std::size_t end = list.find(',', at);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(at, end - at) == item) return true;
    at = end + 1;
  }
  return false;
}

void AppendList(std::vector<std::string_view>& ids, std::string_view list) {
  std::size_t at = 0;
  while (at < list.size()) {
    std::size_t end = list.find(',', at);
    if (end == std::string_view::npos) end = list.size();
    if (end > at) ids.push_back(list.substr(at, end - at));
    at = end + 1;
  }
}

}  // namespace

std::vector<std::string_view> CellSources(const HonouredRow& row, WindowsVersion version) {
  std::vector<std::string_view> own, named;
  const std::string_view caption = ColumnCaption(version);
  ForEachSourceToken(row.sources, [&](std::string_view columns, std::string_view ids) {
    if (columns.empty()) {
      AppendList(own, ids);
    } else if (ListHolds(columns, caption)) {
      AppendList(named, ids);
    }
  });
  return named.empty() ? own : named;
}

std::string SourcesText(const HonouredRow& row) {
  auto spaced = [](std::string_view list) {
    std::string text;
    for (char c : list) text += c == ',' ? std::string(", ") : std::string(1, c);
    return text;
  };
  std::string own;
  std::vector<std::string> pieces;
  ForEachSourceToken(row.sources, [&](std::string_view columns, std::string_view ids) {
    if (columns.empty()) {
      own += (own.empty() ? "" : " ") + std::string(ids);
    } else {
      pieces.push_back(spaced(columns) + ": " + spaced(ids));
    }
  });
  if (!own.empty()) pieces.insert(pieces.begin(), own);
  std::string text;
  for (const std::string& piece : pieces) text += (text.empty() ? "" : "; ") + piece;
  return text;
}

std::string_view DisputeOf(const HonouredRow& row) {
  for (const Dispute& dispute : kDisputes) {
    if (dispute.group == row.group && dispute.valueName == row.valueName) return dispute.text;
  }
  return {};
}

Effect EffectOn(const HonouredRow& row, WindowsVersion version) {
  for (std::size_t column = 0; column < kTableVersions.size(); ++column) {
    if (kTableVersions[column] == version && column < row.cells.size()) {
      return static_cast<Effect>(row.cells[column]);
    }
  }
  return Effect::Unknown;
}

const HonouredRow* FindHonouredRow(MapGroup group, RootKey root, std::string_view keyPath,
                                   std::string_view valueName) {
  for (const HonouredRow& row : kRows) {
    if (row.group == group && row.root == root && EqualFoldedText(row.valueName, valueName) &&
        KeyMatches(row.keyPattern, keyPath)) {
      return &row;
    }
  }
  return nullptr;
}

std::string DisplayName(const HonouredRow& row) {
  if (!row.valueName.empty()) return std::string(row.valueName);
  const std::size_t slash = row.keyPattern.rfind('\\');
  return std::string(slash == std::string_view::npos ? row.keyPattern
                                                     : row.keyPattern.substr(slash + 1));
}

namespace {

// "A", "A and B", "A, B and C".
std::string Enumeration(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

}  // namespace

std::string IgnoredValuesNote(WindowsVersion version, MapGroup group,
                              std::span<const WrittenValueRef> written) {
  if (version == WindowsVersion::Unknown || written.empty()) return std::string();
  std::vector<std::string> names, disputed;
  std::size_t ignored = 0;
  for (const WrittenValueRef& value : written) {
    const HonouredRow* row = FindHonouredRow(group, value.root, value.keyPath, value.valueName);
    if (row == nullptr) continue;
    const Effect effect = EffectOn(*row, version);
    std::string name = DisplayName(*row);
    if (effect == Effect::Disputed) {
      if (std::find(disputed.begin(), disputed.end(), name) == disputed.end()) {
        disputed.push_back(std::move(name));
      }
      continue;
    }
    if (!HasNoEffect(effect)) continue;
    ++ignored;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  if (ignored == 0 && disputed.empty()) return std::string();
  const std::string windows(WindowsVersionName(version));
  std::string note;
  if (ignored > 0) {
    note = windows + " ignores " + std::to_string(ignored) + " of the " +
           std::to_string(written.size()) + " values written: ";
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i > 0) note += ", ";
      note += names[i];
    }
    note += ".\n";
  }
  if (!disputed.empty()) {
    note += "Microsoft's documentation disagrees on whether " + windows + " acts on " +
            Enumeration(disputed) + ".\n";
  }
  note += "See \"" + std::string(kHonouredHelpTitle) + "\" in the help for " +
          (ignored > 0 ? "what takes their place." : "the sources.");
  return note;
}

}  // namespace corvane
