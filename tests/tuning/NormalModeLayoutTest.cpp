#include "tuning/NormalModeLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

using ui::ControlKind;

TEST(NormalModeLayoutTest, HoldsTogetherInItsFrame) {
  EXPECT_EQ(ui::CheckLayout(kNormalModeLayout, 440, 252), std::vector<std::string>{});
}

// The controls the pages are built of, with the texts they show at design
// time and their initial state, exactly as the program names them.
TEST(NormalModeLayoutTest, ControlsCarryTheirNamesTextsAndInitialState) {
  struct Row {
    const char* name;
    ControlKind kind;
    const char* caption;
    std::uint32_t flags;  // of kHidden, kDisabled, kReadOnly
  };
  const Row rows[] = {
      {"frameAdvancedMode", ControlKind::Frame, "Normal Mode", 0},
      {"frmWizardPages(0)", ControlKind::Frame, "Step 1 of 8 : Connection type", 0},
      {"frmWizardPages(1)", ControlKind::Frame, "Step 2 of 8 : MTU Settings", ui::kHidden},
      {"frmWizardPages(2)", ControlKind::Frame, "Step 3 of 8 : Other MTU Settings", ui::kHidden},
      {"frmWizardPages(3)", ControlKind::Frame, "Step 4 of 8 : RWIN Settings", ui::kHidden},
      {"frmWizardPages(4)", ControlKind::Frame, "Step 5 of 8 : TTL && IE Optimization", ui::kHidden},
      {"frmWizardPages(5)", ControlKind::Frame, "Step 6 of 8 :  Keep Alive Settigns", ui::kHidden},
      {"frmWizardPages(6)", ControlKind::Frame, "Step 7 of 8 :  SYN Flood Attack Settings && NDI Cache", ui::kHidden},
      {"frmWizardPages(7)", ControlKind::Frame, "Step 8 of 8 : ICMP Redirect Attack Setting", ui::kHidden},
      {"cmdPrevPage", ControlKind::Button, "<<Back", ui::kDisabled},
      {"cmdNextPage", ControlKind::Button, "Next>>", 0},
      {"frmConnectionType", ControlKind::Frame, "Connection Type", 0},
      {"optConnType(0)", ControlKind::Option, "Dial Up Connection (Modem).", 0},
      {"optConnType(1)", ControlKind::Option, "Cable Modem.", 0},
      {"optConnType(2)", ControlKind::Option, "Digital  Subscriber Line (DSL).", 0},
      {"optConnType(3)", ControlKind::Option, "LAN Connection(Ethernet).", 0},
      {"lblHowConnect", ControlKind::Label, "How do you connect to the internet?", 0},
      {"txtMTUValue", ControlKind::TextBox, "576", 0},
      {"txtMSSValue", ControlKind::TextBox, "536", 0},
      {"lblMTURecValue", ControlKind::Label, "", 0},
      {"lblMSSRecVaklue", ControlKind::Label, "", 0},
      {"lblMtuRecCaption", ControlKind::Label, "Recommended MTU size", 0},
      {"lblMssRecCaption", ControlKind::Label, "Recommended MSS size", 0},
      {"chkBlackHoleValue", ControlKind::CheckBox, "Enable It?", 0},
      {"chkMTUDisconver", ControlKind::CheckBox, "Disable it??", 0},
      {"lblBlackHoleRec", ControlKind::Label, "Recommended to be DISABLED since it imposes extra transmission overhead.", 0},
      {"lblPmtuText", ControlKind::Label, "Remote networks also have an MTU value. Enabling this registry key tells TCP/IP to try to automatically detect the MTU for all networks along the path to a remote host. ", 0},
      {"lblPmtuRecCaption", ControlKind::Label, "Recommended to be.", 0},
      {"lblOtherMTURecValue", ControlKind::Label, "ENABLED", 0},
      {"txtMultiplier", ControlKind::TextBox, "", 0},
      {"txtMSSRWINValue", ControlKind::TextBox, "", ui::kDisabled},
      {"txtScaleFactor", ControlKind::TextBox, "4", ui::kDisabled},
      {"txtRWIN", ControlKind::TextBox, "", ui::kDisabled},
      {"lblRwinMss", ControlKind::Label, "MSS", 0},
      {"lblRwinMultiplier", ControlKind::Label, "Multiplier", 0},
      {"lblRwinScale", ControlKind::Label, "Scale Factor", 0},
      {"lblRwinRwin", ControlKind::Label, "RWIN", 0},
      {"lblRwinRecCaption", ControlKind::Label, "Recommended RWIN size  : ", 0},
      {"lblRWINRecValue", ControlKind::Label, "", 0},
      {"txtTTLValue", ControlKind::TextBox, "64", 0},
      {"txtHTTP10Value", ControlKind::TextBox, "20", 0},
      {"txtHTTP11Value", ControlKind::TextBox, "20", 0},
      {"lblTtlRecCaption", ControlKind::Label, "Recommended TTL  :", 0},
      {"lblTtlRecValue", ControlKind::Label, "64 Seconds", 0},
      {"lblHttp10RecCaption", ControlKind::Label, "Recommended value for HTTP 1.0  :", 0},
      {"lblHttp10RecValue", ControlKind::Label, "20", 0},
      {"lblHttp11RecCaption", ControlKind::Label, "Recommended value for HTTP 1.1  :", 0},
      {"lblHttp11RecValue", ControlKind::Label, "20", 0},
      {"lblIeText", ControlKind::Label, "Optimize Internet Explorer by setting the maximum number of simultaneous requests for accessing type 1.0 or 1.1 HTTP servers.", 0},
      {"txtKeepAliveTimeValue", ControlKind::TextBox, "7200000", 0},
      {"txtKeepAliveIntervalValue", ControlKind::TextBox, "1000", 0},
      {"lblKeepAliveTimeRecCaption", ControlKind::Label, "Recommended Keep Alive Time :", 0},
      {"lblKeepAliveTimeRecValue", ControlKind::Label, "7200000 milliseconds.", 0},
      {"lblKeepAliveIntervalRecCaption", ControlKind::Label, "Recommended Keep Alive Interval  :", 0},
      {"lblKeepAliveIntervalRecValue", ControlKind::Label, "1000 milliseconds.", 0},
      {"lblKeepAliveIntervalText", ControlKind::Label, "Keep Alive Interval is the time in milliseconds between retransmissions of keepalives, once the Keep Alive Time has expired.", 0},
      {"txtSYNValue", ControlKind::TextBox, "2", ui::kReadOnly},
      {"updwnDescision", ControlKind::UpDown, "", 0},
      {"cmbNDI", ControlKind::ComboBox, "", 0},
      {"lblSynDecision", ControlKind::Label, "What will be your decision?", 0},
      {"lblSyn0", ControlKind::Label, "0 - (default) - typical protection against SYN attacks.", 0},
      {"lblSyn1", ControlKind::Label, "1 - better protection against SYN attacks.", 0},
      {"lblSyn2", ControlKind::Label, "2 - (recommended) - best protection against SYN attacks.", 0},
      {"lblNdiText", ControlKind::Label, "The NDI cache size is the size of the cache of the Network Device. This size is set to 16 by default.  16 is appropriate for modem use, 32 is used for all other types of connections.", 0},
      {"lblNdiRecCaption", ControlKind::Label, "NDI recommended Value", 0},
      {"chkICMPValue", ControlKind::CheckBox, "Enable It?", 0},
      {"lblIcmpRec", ControlKind::Label, "Recommended to be DISABLED.", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ui::Control* c = ui::FindControl(kNormalModeLayout, row.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, row.kind);
    EXPECT_EQ(c->caption, row.caption);
    EXPECT_EQ(c->flags & (ui::kHidden | ui::kDisabled | ui::kReadOnly), row.flags);
  }
}

TEST(NormalModeLayoutTest, EachPageHoldsItsOwnControls) {
  const std::pair<const char*, int> where[] = {
      {"optConnType(3)", 0},    {"txtMTUValue", 1},   {"txtMSSValue", 1},           {"chkBlackHoleValue", 2},
      {"chkMTUDisconver", 2},   {"txtMultiplier", 3}, {"txtRWIN", 3},               {"txtTTLValue", 4},
      {"txtHTTP10Value", 4},    {"txtHTTP11Value", 4}, {"txtKeepAliveTimeValue", 5}, {"txtKeepAliveIntervalValue", 5},
      {"txtSYNValue", 6},       {"cmbNDI", 6},        {"chkICMPValue", 7},          {"cmdChanges", 7},
  };
  for (const auto& [name, page] : where) {
    const ui::Control* c = ui::FindControl(kNormalModeLayout, name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_TRUE(ui::IsInside(kNormalModeLayout, c->id, kIdPage0 + page)) << name;
    for (int other = 0; other < kNormalModePageCount; ++other) {
      if (other != page) {
        EXPECT_FALSE(ui::IsInside(kNormalModeLayout, c->id, kIdPage0 + other)) << name;
      }
    }
  }
  // The buttons stand outside every page.
  for (int page = 0; page < kNormalModePageCount; ++page) {
    EXPECT_FALSE(ui::IsInside(kNormalModeLayout, kIdCmdNextPage, kIdPage0 + page));
  }
}

}  // namespace
}  // namespace corvane
