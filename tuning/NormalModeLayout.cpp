#include "tuning/NormalModeLayout.h"

#include "tuning/ChangesPreview.h"

namespace corvane {

namespace {

using ui::Control;
using K = ui::ControlKind;

// Each page lies at 6, 16 in the outer frame, 424 x 200; its own texts
// start below its caption, 10 pixels in, at most 404 wide.
constexpr int kPageLeft = 6, kPageTop = 16, kPageWidth = 424, kPageHeight = 200;
constexpr int kText = 10, kTextWidth = 404;
// A row: what is recommended, the recommendation, and the box for the value.
constexpr int kRecLeft = 200, kRecWidth = 110, kBoxLeft = 318, kBoxWidth = 90, kBoxHeight = 20;
// Rows with longer captions ("Recommended value for HTTP 1.0  :").
constexpr int kWideCaption = 226, kWideRecLeft = 240, kWideRecWidth = 74;

constexpr Control kControls[] = {
    {kIdFrameAdvancedMode, K::Frame, "frameAdvancedMode", "Normal Mode", 2, 0, 436, 250, 0},
    {kIdPage0 + 0, K::Frame, "frmWizardPages(0)", "Step 1 of 8 : Connection type", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode},
    {kIdPage0 + 1, K::Frame, "frmWizardPages(1)", "Step 2 of 8 : MTU Settings", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdPage0 + 2, K::Frame, "frmWizardPages(2)", "Step 3 of 8 : Other MTU Settings", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdPage0 + 3, K::Frame, "frmWizardPages(3)", "Step 4 of 8 : RWIN Settings", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdPage0 + 4, K::Frame, "frmWizardPages(4)", "Step 5 of 8 : TTL && IE Optimization", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdPage0 + 5, K::Frame, "frmWizardPages(5)", "Step 6 of 8 :  Keep Alive Settigns", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdPage0 + 6, K::Frame, "frmWizardPages(6)", "Step 7 of 8 :  SYN Flood Attack Settings && NDI Cache", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdPage0 + 7, K::Frame, "frmWizardPages(7)", "Step 8 of 8 : ICMP Redirect Attack Setting", kPageLeft, kPageTop, kPageWidth, kPageHeight, kIdFrameAdvancedMode, ui::kHidden},
    {kIdCmdPrevPage, K::Button, "cmdPrevPage", "<<Back", 262, 222, 80, 24, kIdFrameAdvancedMode, ui::kDisabled},
    {kIdCmdNextPage, K::Button, "cmdNextPage", kNextCaption, 348, 222, 80, 24, kIdFrameAdvancedMode},

    // Step 1.
    {kIdLblHowConnect, K::Label, "lblHowConnect", "How do you connect to the internet?", kText, 22, 260, 16, kIdPage0 + 0},
    {kIdFrmConnectionType, K::Frame, "frmConnectionType", "Connection Type", kText, 42, 230, 120, kIdPage0 + 0},
    {kIdOptConnType0 + 0, K::Option, "optConnType(0)", "Dial Up Connection (Modem).", 12, 20, 210, 20, kIdFrmConnectionType, ui::kGroupStart},
    {kIdOptConnType0 + 1, K::Option, "optConnType(1)", "Cable Modem.", 12, 44, 210, 20, kIdFrmConnectionType},
    {kIdOptConnType0 + 2, K::Option, "optConnType(2)", "Digital  Subscriber Line (DSL).", 12, 68, 210, 20, kIdFrmConnectionType},
    {kIdOptConnType0 + 3, K::Option, "optConnType(3)", "LAN Connection(Ethernet).", 12, 92, 210, 20, kIdFrmConnectionType},
    {kIdLblConnTypeNote, K::Label, "lblConnTypeNote",
     "Your choice decides the values the next pages recommend: packet sizes and the receive "
     "window suit a modem, a cable or DSL line, or a local network differently.\n\n"
     "Every recommendation can still be changed on its page before anything is applied.",
     252, 46, 166, 148, kIdPage0 + 0},

    // Step 2.
    {kIdLblMtuText, K::Label, "lblMtuText",
     "The MTU (Maximum Transmission Unit) is the largest packet, in bytes, that your "
     "connection sends in one piece. Larger packets are split by routers on the way; smaller "
     "ones waste room on headers. The recommendation suits your line.",
     kText, 20, kTextWidth, 56, kIdPage0 + 1},
    {kIdLblMtuRecCaption, K::Label, "lblMtuRecCaption", "Recommended MTU size", kText, 80, 180, 16, kIdPage0 + 1},
    {kIdLblMtuRecValue, K::Label, "lblMTURecValue", "", kRecLeft, 80, kRecWidth, 16, kIdPage0 + 1},
    {kIdTxtMtuValue, K::TextBox, "txtMTUValue", "576", kBoxLeft, 77, kBoxWidth, kBoxHeight, kIdPage0 + 1},
    {kIdLblMssText, K::Label, "lblMssText",
     "The MSS (Maximum Segment Size) is the most data one TCP packet carries: a marginally "
     "smaller value than MTU, since every packet also holds 40 bytes of IP and TCP headers "
     "(MSS = MTU - 40).",
     kText, 108, kTextWidth, 44, kIdPage0 + 1},
    {kIdLblMssRecCaption, K::Label, "lblMssRecCaption", "Recommended MSS size", kText, 158, 180, 16, kIdPage0 + 1},
    {kIdLblMssRecValue, K::Label, "lblMSSRecVaklue", "", kRecLeft, 158, kRecWidth, 16, kIdPage0 + 1},
    {kIdTxtMssValue, K::TextBox, "txtMSSValue", "536", kBoxLeft, 155, kBoxWidth, kBoxHeight, kIdPage0 + 1},
    // In the free strip below the last row, under the boxes.
    {kIdCmdFindMtu, K::Button, "cmdFindMtu", "&Find MTU...", kBoxLeft, 177, kBoxWidth, 18, kIdPage0 + 1},

    // Step 3.
    {kIdLblBlackHoleText, K::Label, "lblBlackHoleText",
     "A \"black hole\" router silently drops packets too big for it, without sending back "
     "Destination Host Unreachable. Detection notices the silence and resends smaller packets.",
     kText, 20, kTextWidth, 44, kIdPage0 + 2},
    {kIdLblBlackHoleRec, K::Label, "lblBlackHoleRec",
     "Recommended to be DISABLED since it imposes extra transmission overhead.", kText, 66, kTextWidth, 30, kIdPage0 + 2},
    {kIdChkBlackHoleValue, K::CheckBox, "chkBlackHoleValue", "Enable It?", kText, 96, 160, 20, kIdPage0 + 2},
    {kIdLblPmtuText, K::Label, "lblPmtuText",
     "Remote networks also have an MTU value. Enabling this registry key tells TCP/IP to try to "
     "automatically detect the MTU for all networks along the path to a remote host. ",
     kText, 122, kTextWidth, 44, kIdPage0 + 2},
    {kIdLblPmtuRecCaption, K::Label, "lblPmtuRecCaption", "Recommended to be.", kText, 170, 124, 16, kIdPage0 + 2},
    {kIdLblOtherMtuRecValue, K::Label, "lblOtherMTURecValue", "ENABLED", 136, 170, 70, 16, kIdPage0 + 2},
    {kIdChkMtuDisconver, K::CheckBox, "chkMTUDisconver", "Disable it??", 230, 167, 150, 20, kIdPage0 + 2},

    // Step 4.
    {kIdLblRwinText, K::Label, "lblRwinText",
     "The receive window (RWIN) is how many bytes the other side may send before it must wait "
     "for your computer to confirm them. A larger window keeps a fast line busy; one too small "
     "makes it pause after every batch. It is worked out as MSS x Multiplier x Scale Factor, so "
     "change the multiplier to change it. Keep it an even multiple of the MSS, so that every "
     "packet arrives full.",
     kText, 20, kTextWidth, 106, kIdPage0 + 3},
    {kIdLblRwinMss, K::Label, "lblRwinMss", "MSS", kText, 128, 80, 16, kIdPage0 + 3},
    {kIdTxtMssRwinValue, K::TextBox, "txtMSSRWINValue", "", kText, 144, 80, kBoxHeight, kIdPage0 + 3, ui::kDisabled},
    {kIdLblRwinTimes1, K::Label, "lblRwinTimes1", "x", 94, 146, 14, 16, kIdPage0 + 3, ui::kCentered},
    {kIdLblRwinMultiplier, K::Label, "lblRwinMultiplier", "Multiplier", 110, 128, 80, 16, kIdPage0 + 3},
    {kIdTxtMultiplier, K::TextBox, "txtMultiplier", "", 110, 144, 80, kBoxHeight, kIdPage0 + 3},
    {kIdLblRwinTimes2, K::Label, "lblRwinTimes2", "x", 194, 146, 14, 16, kIdPage0 + 3, ui::kCentered},
    {kIdLblRwinScale, K::Label, "lblRwinScale", "Scale Factor", 210, 128, 80, 16, kIdPage0 + 3},
    {kIdTxtScaleFactor, K::TextBox, "txtScaleFactor", "4", 210, 144, 80, kBoxHeight, kIdPage0 + 3, ui::kDisabled},
    {kIdLblRwinEquals, K::Label, "lblRwinEquals", "=", 294, 146, 14, 16, kIdPage0 + 3, ui::kCentered},
    {kIdLblRwinRwin, K::Label, "lblRwinRwin", "RWIN", 310, 128, 98, 16, kIdPage0 + 3},
    {kIdTxtRwin, K::TextBox, "txtRWIN", "", 310, 144, 98, kBoxHeight, kIdPage0 + 3, ui::kDisabled},
    {kIdLblRwinRecCaption, K::Label, "lblRwinRecCaption", "Recommended RWIN size  : ", kText, 174, 186, 16, kIdPage0 + 3},
    {kIdLblRwinRecValue, K::Label, "lblRWINRecValue", "", 200, 174, 140, 16, kIdPage0 + 3},

    // Step 5.
    {kIdLblTtlText, K::Label, "lblTtlText",
     "The value of TTL (Time To Live) defines how long a packet can stay active before it is "
     "thrown away: each router on the way counts it down by one. 64 lets a packet cross any "
     "real route, while lost packets die out quickly.",
     kText, 20, kTextWidth, 56, kIdPage0 + 4},
    {kIdLblTtlRecCaption, K::Label, "lblTtlRecCaption", "Recommended TTL  :", kText, 80, kWideCaption, 16, kIdPage0 + 4},
    {kIdLblTtlRecValue, K::Label, "lblTtlRecValue", "64 Seconds", kWideRecLeft, 80, kWideRecWidth, 16, kIdPage0 + 4},
    {kIdTxtTtlValue, K::TextBox, "txtTTLValue", "64", kBoxLeft, 77, kBoxWidth, kBoxHeight, kIdPage0 + 4},
    {kIdLblIeText, K::Label, "lblIeText",
     "Optimize Internet Explorer by setting the maximum number of simultaneous requests for "
     "accessing type 1.0 or 1.1 HTTP servers.",
     kText, 106, kTextWidth, 30, kIdPage0 + 4},
    {kIdLblHttp10RecCaption, K::Label, "lblHttp10RecCaption", "Recommended value for HTTP 1.0  :", kText, 142, kWideCaption, 16, kIdPage0 + 4},
    {kIdLblHttp10RecValue, K::Label, "lblHttp10RecValue", "20", kWideRecLeft, 142, kWideRecWidth, 16, kIdPage0 + 4},
    {kIdTxtHttp10Value, K::TextBox, "txtHTTP10Value", "20", kBoxLeft, 139, kBoxWidth, kBoxHeight, kIdPage0 + 4},
    {kIdLblHttp11RecCaption, K::Label, "lblHttp11RecCaption", "Recommended value for HTTP 1.1  :", kText, 168, kWideCaption, 16, kIdPage0 + 4},
    {kIdLblHttp11RecValue, K::Label, "lblHttp11RecValue", "20", kWideRecLeft, 168, kWideRecWidth, 16, kIdPage0 + 4},
    {kIdTxtHttp11Value, K::TextBox, "txtHTTP11Value", "20", kBoxLeft, 165, kBoxWidth, kBoxHeight, kIdPage0 + 4},

    // Step 6: each recommendation stands under its caption, the box beside it.
    {kIdLblKeepAliveTimeText, K::Label, "lblKeepAliveTimeText",
     "When a connection has been idle for the Keep Alive Time, TCP/IP sends a small keep-alive "
     "packet to check that the other side is still there, so that dead connections get closed. "
     "7200000 milliseconds is two hours, the usual value.",
     kText, 20, kTextWidth, 56, kIdPage0 + 5},
    {kIdLblKeepAliveTimeRecCaption, K::Label, "lblKeepAliveTimeRecCaption", "Recommended Keep Alive Time :", kText, 80, 290, 16, kIdPage0 + 5},
    {kIdLblKeepAliveTimeRecValue, K::Label, "lblKeepAliveTimeRecValue", "7200000 milliseconds.", kText + 14, 96, 280, 16, kIdPage0 + 5},
    {kIdTxtKeepAliveTimeValue, K::TextBox, "txtKeepAliveTimeValue", "7200000", kBoxLeft, 80, kBoxWidth, kBoxHeight, kIdPage0 + 5},
    {kIdLblKeepAliveIntervalText, K::Label, "lblKeepAliveIntervalText",
     "Keep Alive Interval is the time in milliseconds between retransmissions of keepalives, "
     "once the Keep Alive Time has expired.",
     kText, 120, kTextWidth, 30, kIdPage0 + 5},
    {kIdLblKeepAliveIntervalRecCaption, K::Label, "lblKeepAliveIntervalRecCaption", "Recommended Keep Alive Interval  :", kText, 154, 290, 16, kIdPage0 + 5},
    {kIdLblKeepAliveIntervalRecValue, K::Label, "lblKeepAliveIntervalRecValue", "1000 milliseconds.", kText + 14, 170, 280, 16, kIdPage0 + 5},
    {kIdTxtKeepAliveIntervalValue, K::TextBox, "txtKeepAliveIntervalValue", "1000", kBoxLeft, 154, kBoxWidth, kBoxHeight, kIdPage0 + 5},

    // Step 7.
    {kIdLblSynText, K::Label, "lblSynText",
     "A SYN flood ties your computer up with half-opened connections; protection makes TCP/IP "
     "drop them sooner.",
     kText, 20, kTextWidth, 30, kIdPage0 + 6},
    {kIdLblSyn0, K::Label, "lblSyn0", "0 - (default) - typical protection against SYN attacks.", kText, 52, kTextWidth, 14, kIdPage0 + 6},
    {kIdLblSyn1, K::Label, "lblSyn1", "1 - better protection against SYN attacks.", kText, 66, kTextWidth, 14, kIdPage0 + 6},
    {kIdLblSyn2, K::Label, "lblSyn2", "2 - (recommended) - best protection against SYN attacks.", kText, 80, kTextWidth, 14, kIdPage0 + 6},
    {kIdLblSynDecision, K::Label, "lblSynDecision", "What will be your decision?", kText, 100, 186, 16, kIdPage0 + 6},
    {kIdTxtSynValue, K::TextBox, "txtSYNValue", "2", kRecLeft, 97, 40, kBoxHeight, kIdPage0 + 6, ui::kReadOnly | ui::kCentered},
    {kIdUpdwnDescision, K::UpDown, "updwnDescision", "", kRecLeft + 40, 97, 16, kBoxHeight, kIdPage0 + 6},
    {kIdLblNdiText, K::Label, "lblNdiText",
     "The NDI cache size is the size of the cache of the Network Device. This size is set to 16 "
     "by default.  16 is appropriate for modem use, 32 is used for all other types of connections.",
     kText, 122, kTextWidth, 44, kIdPage0 + 6},
    {kIdLblNdiRecCaption, K::Label, "lblNdiRecCaption", "NDI recommended Value", kText, 172, 186, 16, kIdPage0 + 6},
    {kIdCmbNdi, K::ComboBox, "cmbNDI", "", kRecLeft, 169, 60, 22, kIdPage0 + 6},

    // Step 8.
    {kIdLblIcmpText, K::Label, "lblIcmpText",
     "Routers send ICMP Redirect packets to point a computer to a better route. A flood of false "
     "redirects can fill its route table until the computer stops responding, or send its "
     "traffic the wrong way. Home and office computers seldom need them.",
     kText, 20, kTextWidth, 56, kIdPage0 + 7},
    {kIdLblIcmpRec, K::Label, "lblIcmpRec", "Recommended to be DISABLED.", kText, 80, kTextWidth, 16, kIdPage0 + 7},
    {kIdChkIcmpValue, K::CheckBox, "chkICMPValue", "Enable It?", kText, 98, 160, 20, kIdPage0 + 7},
    {kIdLblFinishNote, K::Label, "lblFinishNote",
     "Finish first saves today's settings as a backup, which the Backup page can restore, and "
     "then applies every value of these eight pages.",
     kText, 136, kTextWidth, 30, kIdPage0 + 7},
    // In the free strip below the note, on the last page only.
    {kIdCmdChanges, K::Button, "cmdChanges", kChangesCaption, kText, 170, 90, 24, kIdPage0 + 7},
};

}  // namespace

const ui::Layout kNormalModeLayout{"frmNormalMode", "CorvaneNormalMode", "Normal Mode", ui::Unit::Pixels,
                                   kNormalModeWidth, kNormalModeHeight, kControls};

}  // namespace corvane
