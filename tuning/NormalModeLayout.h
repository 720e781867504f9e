// frmNormalMode's controls: the outer frame "Normal Mode", its eight pages
// frmWizardPages(0..7), one TCP/IP topic each, and the two buttons below
// them, in pixels; the form is the child frame's size for it.
#pragma once

#include <array>
#include <string_view>

#include "platform/ui/Layout.h"

namespace corvane {

enum NormalModeId : int {
  kIdFrameAdvancedMode = 100,
  kIdCmdPrevPage = 101,
  kIdCmdNextPage = 102,
  kIdPage0 = 110,  // frmWizardPages(k) is kIdPage0 + k
  // Step 1: connection type.
  kIdLblHowConnect = 200,
  kIdFrmConnectionType = 201,
  kIdOptConnType0 = 202,  // optConnType(k) is kIdOptConnType0 + k
  kIdLblConnTypeNote = 206,
  // Step 2: MTU and MSS.
  kIdLblMtuText = 210,
  kIdLblMtuRecCaption = 211,
  kIdLblMtuRecValue = 212,
  kIdLblMtuYours = 213,
  kIdTxtMtuValue = 214,
  kIdLblMssText = 215,
  kIdLblMssRecCaption = 216,
  kIdLblMssRecValue = 217,
  kIdLblMssYours = 218,
  kIdTxtMssValue = 219,
  kIdCmdFindMtu = 227,  // opens the MTU finder
  // Step 3: black hole detection and path MTU discovery.
  kIdLblBlackHoleText = 220,
  kIdLblBlackHoleRec = 221,
  kIdChkBlackHoleValue = 222,
  kIdLblPmtuText = 223,
  kIdLblPmtuRecCaption = 224,
  kIdLblOtherMtuRecValue = 225,
  kIdChkMtuDisconver = 226,
  // Step 4: receive window.
  kIdLblRwinText = 230,
  kIdLblRwinMss = 231,
  kIdTxtMssRwinValue = 232,
  kIdLblRwinMultiplier = 233,
  kIdTxtMultiplier = 234,
  kIdLblRwinScale = 235,
  kIdTxtScaleFactor = 236,
  kIdLblRwinRwin = 237,
  kIdTxtRwin = 238,
  kIdLblRwinRecCaption = 239,
  kIdLblRwinRecValue = 240,
  kIdLblRwinTimes1 = 241,
  kIdLblRwinTimes2 = 242,
  kIdLblRwinEquals = 243,
  // Step 5: TTL and Internet Explorer.
  kIdLblTtlText = 250,
  kIdLblTtlRecCaption = 251,
  kIdLblTtlRecValue = 252,
  kIdTxtTtlValue = 253,
  kIdLblIeText = 254,
  kIdLblHttp10RecCaption = 255,
  kIdLblHttp10RecValue = 256,
  kIdTxtHttp10Value = 257,
  kIdLblHttp11RecCaption = 258,
  kIdLblHttp11RecValue = 259,
  kIdTxtHttp11Value = 260,
  // Step 6: keep-alive.
  kIdLblKeepAliveTimeText = 270,
  kIdLblKeepAliveTimeRecCaption = 271,
  kIdLblKeepAliveTimeRecValue = 272,
  kIdTxtKeepAliveTimeValue = 273,
  kIdLblKeepAliveIntervalText = 274,
  kIdLblKeepAliveIntervalRecCaption = 275,
  kIdLblKeepAliveIntervalRecValue = 276,
  kIdTxtKeepAliveIntervalValue = 277,
  // Step 7: SYN flood protection and NDI cache.
  kIdLblSynText = 280,
  kIdLblSyn0 = 281,
  kIdLblSyn1 = 282,
  kIdLblSyn2 = 283,
  kIdLblSynDecision = 284,
  kIdTxtSynValue = 285,
  kIdUpdwnDescision = 286,
  kIdLblNdiText = 287,
  kIdLblNdiRecCaption = 288,
  kIdCmbNdi = 289,
  // Step 8: ICMP redirects.
  kIdLblIcmpText = 290,
  kIdLblIcmpRec = 291,
  kIdChkIcmpValue = 292,
  kIdLblFinishNote = 293,
  kIdCmdChanges = 294,  // "Changes…": the preview of what Finish would change
};

inline constexpr int kNormalModePageCount = 8;
inline constexpr int kNormalModeWidth = 440;
inline constexpr int kNormalModeHeight = 252;

// cmdNextPage's captions: on every page but the last, and on the last.
inline constexpr std::string_view kNextCaption = "Next>>";
inline constexpr std::string_view kFinishCaption = "Finish";

// The items of cmbNDI, in order.
inline constexpr std::array<const char*, 7> kNdiItems{"0", "2", "4", "8", "16", "32", "64"};

// The layout and the controls' design state (captions are the design texts).
extern const ui::Layout kNormalModeLayout;

}  // namespace corvane
