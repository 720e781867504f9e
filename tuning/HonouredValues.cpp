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
    {G9x, HKLM, kMstcp, "PMTUBlackHoleDetect", SZ, "?HH..........",
     "On NT versions the program writes EnablePMTUBHDetect.", "KB158474"},
    {G9x, HKLM, kMstcp, "PMTUDiscovery", SZ, "?HH..........",
     "On NT versions the program writes EnablePMTUDiscovery.", "KB158474"},
    {G9x, HKLM, kMstcp, "KeepAliveTime", SZ, "?HH..........",
     "On NT versions the program writes KeepAliveTime under Services\\Tcpip\\Parameters.",
     "KB158474"},
    {G9x, HKLM, kMstcp, "KeepAliveInterval", SZ, "?HH..........",
     "On NT versions the program writes KeepAliveInterval under Services\\Tcpip\\Parameters.",
     "KB158474"},
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
    {GNt, HKLM, kTcpip, "SackOpts", DW, "...?HHH??????",
     "Selective acknowledgements are on by default.", "KB224829 W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "Tcp1323Opts", DW, "...IHHH??????",
     "Time stamps: netsh int tcp set global timestamps=enabled; window scaling comes with "
     "receive-window auto-tuning.",
     "KB199947 W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "TcpMaxDupAcks", DW, "...?HHH??????", "No later setting found.",
     "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "DefaultReceiveWindow", DW, "...WWWWWWWWWW",
     "Documented only as a value of Services\\Afd\\Parameters; from Vista on, receive-window "
     "auto-tuning sizes the window.",
     "WS03AFD KB947239"},
    {GNt, HKLM, kTcpip, "DefaultTTL", DW, "...?HHH??????",
     "netsh int ipv4 set global defaultcurhoplimit=N.", "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "GlobalMaxTcpWindowSize", DW, "...?HHH??????",
     "Receive-window auto-tuning (netsh int tcp set global autotuninglevel=).",
     "W2KREF WS03REF KB947239"},
    {GNt, HKLM, kTcpip, "TcpWindowSize", DW, "...HHHHIIIIII",
     "Receive-window auto-tuning (netsh int tcp set global autotuninglevel=); NT 4.0 allows "
     "at most 64 KB.",
     "NT4RK W2KREF WS03REF DEPR KB947239"},
    {GNt, HKLM, kTcpip, "EnablePMTUBHDetect", DW, "...?HHH??????", "No later setting found.",
     "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "EnablePMTUDiscovery", DW, "...?HHHHH??H?",
     "Still the registry value; path MTU discovery is on by default.", "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "KeepAliveTime", DW, "...?HHHHHHHHH",
     "Still the registry value; a program can set its own with SIO_KEEPALIVE_VALS.",
     "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "KeepAliveInterval", DW, "...?HHHHHHHHH",
     "Still the registry value; a program can set its own with SIO_KEEPALIVE_VALS.",
     "W2KREF WS03REF"},
    {GNt, HKLM, kTcpip, "SYNAttackProtect", DW, "...?H?HRRRR??",
     "SYN attack protection is always on from Vista; there is nothing to set.",
     "W2KREF WS03REF SYNBLOG"},
    {GNt, HKLM, kTcpip, "EnableICMPRedirects", DW, "...?WWWWWWWWW",
     "The value Windows reads is EnableICMPRedirect (without the final s).",
     "KB243427 SECBASE"},
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
     "W2KREF WS03REF"},
    {GNt, HKLM, kAdapter, "MTU", DW, "....?????????",
     "The adapter key of NT 3.5 and 4.0 (KB102973); from Windows 2000 on the write only "
     "creates a key under Services.",
     ""},
    {GNt, HKLM, kInterface, "MSS", DW, "....?????????", "No Microsoft documentation found.", ""},
    {GNt, HKLM, kAdapter, "MSS", DW, "....?????????", "No Microsoft documentation found.", ""},
    {GNt, HKLM, kNdiCache, "", DW, "...??????????",
     "No Microsoft documentation found; it concerns IPX only.", ""},
};

constexpr HonouredSource kSources[] = {
    {"KB158474", "Microsoft Knowledge Base 158474, \"Windows TCP/IP Registry Entries\" "
                 "(Windows 95, 98, 98 SE, ME): the values under VxD\\MSTCP, strings on "
                 "Windows 98, DWORDs on Windows 95"},
    {"KB239731", "Microsoft Knowledge Base 239731: Windows 98 reads the window limit as the "
                 "DWORD GlobalMaxTcpWindoSize under VxD\\MSTCP\\Parameters"},
    {"KB250663", "Microsoft Knowledge Base 250663, \"Description of the TCP/IP Registry Entries "
                 "in the NetTrans Subkey\" (Windows 95, 98, ME): MaxMTU, a string"},
    {"KB183110", "Microsoft Knowledge Base 183110: WinINet's connections per server, REG_DWORD "
                 "values under Internet Settings"},
    {"KB199947", "Microsoft Knowledge Base 199947, \"Windows NT 4.0 Does Not Support TCP Scale "
                 "Option\""},
    {"KB224829", "Microsoft Knowledge Base 224829, \"Description of Windows 2000 and Windows "
                 "Server 2003 TCP Features\""},
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
    {"DEPR", "Microsoft Learn, performance tuning of network adapters, \"Deprecated TCP "
             "parameters\": TcpWindowSize is ignored from Windows Server 2008 and Vista on"},
    {"SYNBLOG", "Microsoft networking team, \"SYN attack protection on Windows Vista, Windows "
                "Server 2008, Windows 7 ...\": always on, SynAttackProtect no longer read"},
    {"KB243427", "Microsoft Knowledge Base 243427, \"ICMP Redirect Routes Override OSPF "
                 "Routes\": the value EnableICMPRedirect"},
    {"SECBASE", "Microsoft security baselines for Windows 11 and Windows Server 2022: the MSS "
                "setting EnableICMPRedirect"},
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

std::string IgnoredValuesNote(WindowsVersion version, MapGroup group,
                              std::span<const WrittenValueRef> written) {
  if (version == WindowsVersion::Unknown || written.empty()) return std::string();
  std::vector<std::string> names;
  std::size_t ignored = 0;
  for (const WrittenValueRef& value : written) {
    const HonouredRow* row = FindHonouredRow(group, value.root, value.keyPath, value.valueName);
    if (row == nullptr || !HasNoEffect(EffectOn(*row, version))) continue;
    ++ignored;
    std::string name = DisplayName(*row);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  if (ignored == 0) return std::string();
  std::string note = std::string(WindowsVersionName(version)) + " ignores " +
                     std::to_string(ignored) + " of the " + std::to_string(written.size()) +
                     " values written: ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) note += ", ";
    note += names[i];
  }
  note += ".\nSee \"" + std::string(kHonouredHelpTitle) +
          "\" in the help for what takes their place.";
  return note;
}

}  // namespace corvane
