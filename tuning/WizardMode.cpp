#include "tuning/WizardMode.h"

#include "platform/AppInfo.h"
#include "platform/OsVersion.h"
#include "tuning/HonouredValues.h"
#include "tuning/ChangeMessage.h"
#include "tuning/ChangesPreview.h"

namespace corvane {

namespace {

using ui::Control;
using ui::ControlKind;
using namespace wizard;

constexpr int kOptionHeight = 255;

constexpr int kModeCount = static_cast<int>(kPresetCount);
constexpr std::string_view kModeNames[kModeCount] = {
    "optMode(0)", "optMode(1)", "optMode(2)", "optMode(3)",
    "optMode(4)", "optMode(5)", "optMode(6)", "optMode(7)"};

// Positions in twips; the options and the label lie inside the frame. The
// modes' options (captions kPresetCaptions) stand in two columns, row by row;
// the last row is narrower.
constexpr std::array<Control, kModeCount + 4> MakeControls() {
  std::array<Control, kModeCount + 4> controls{};
  controls[0] = {kIdFrameOptimizationMode, ControlKind::Frame, "frameOptimizationMode",
                 "Optimization Modes", 75, 165, 6285, 2995, 0};
  for (int mode = 0; mode < kModeCount; ++mode) {
    const auto index = static_cast<std::size_t>(mode);
    controls[index + 1] = {
        kIdOptMode0 + mode, ControlKind::Option, kModeNames[index], kPresetCaptions[index],
        mode % 2 == 0 ? 120 : 3750, 240 + 240 * (mode / 2), mode < 6 ? 2055 : 1695,
        kOptionHeight, kIdFrameOptimizationMode, mode == 0 ? ui::kGroupStart : 0u};
  }
  controls[kModeCount + 1] = {kIdLblModeDescrip, ControlKind::Label, "lblModeDescrip",
                              "Modes Description", 75, 1245, 6075, 1575, kIdFrameOptimizationMode};
  controls[kModeCount + 2] = {kIdCmdOptimize, ControlKind::Button, "cmdOptimize", "Optimize &Now",
                              2670, 3210, 1390, 405, 0};
  // Beside "Optimize Now", below the frame, in space no other control uses.
  controls[kModeCount + 3] = {kIdCmdChanges, ControlKind::Button, "cmdChanges", kChangesCaption,
                              4200, 3210, 1390, 405, 0};
  return controls;
}
constexpr std::array<Control, kModeCount + 4> kControls = MakeControls();

constexpr ui::Layout kLayout{"frmWizardMode", "CorvaneWizardMode", "Wizard Mode", ui::Unit::Twips, kFormWidth,
                             kFormHeight, kControls};

std::string Flag(VbBool value) { return value != kFalse ? "True" : "False"; }

}  // namespace

const ui::Layout& WizardModeLayout() { return kLayout; }

std::string ProfileSummary(const TuningProfile& p) {
  const std::string tab = "\t";
  const std::string nl = "\r\n";
  auto n = [](auto value) { return std::to_string(value); };
  std::string text;
  text += "MSS = " + n(p.mss) + tab + "MTU = " + n(p.mtu) + tab + tab + "ICMP = " +
          Flag(p.icmpRedirects) + nl + nl;
  text += "NDI = " + n(p.ndiCacheSize) + tab + "MSCPS0 = " + n(p.maxConnPer10Server) + tab + tab +
          "MSCPS1 = " + n(p.maxConnPer11Server) + nl + nl;
  text += "BlackHole = " + Flag(p.pmtuBlackHoleDetect) + tab + "RWIN = " + n(p.receiveWindow) +
          tab + nl;
  text += "Keep Alive = " + n(p.keepAliveTime) + nl + nl;
  text += "Keep Alive Interval= " + n(p.keepAliveInterval) + tab + "SYN = " +
          n(p.synAttackProtect) + tab + tab + "TTL= " + n(p.defaultTtl) + nl + nl;
  return text;
}

ApplyNotice ApplyNoticeFor(const ApplyResult& result) {
  ApplyNotice notice;
  if (result.status != ApplyStatus::Applied) {
    // Refused before anything was written; the engine's text says why.
    notice.text = result.message;
    notice.flags = ui::kMessageOk;
    return notice;
  }
  if (result.changes.failed > 0) {
    // Which values failed, and what the running Windows ignores of those written.
    notice.text = JoinMessages(
        ChangeFailureMessage(result.changes, "Some network settings could not be changed",
                             "The backup " + result.snapshot.name +
                                 " holds the settings from before the change."),
        IgnoredHereNote(result.written));
    notice.flags = ui::kMessageOk | ui::kMessageWarning;
    return notice;
  }
  // Anything else the apply has to say (nothing after a complete apply).
  notice.text = result.message;
  notice.flags = ui::kMessageOk | ui::kMessageInformation;
  return notice;
}

WizardModeModel::WizardModeModel(const WizardContext& context, ui::IView& view, ui::ITimers& /*timers*/)
    : view_(view), context_(context.tuning), returnHome_(context.returnHome) {}

void WizardModeModel::OnLoad() {
  workingProfile = presetProfiles[0];
  view_.SetValue(kIdOptMode0, 1);
  ShowProfileSummary();
}

void WizardModeModel::OnEvent(const ui::Event& event) {
  if (event.kind != ui::Event::Click) return;
  if (event.id >= kIdOptMode0 && event.id < kIdOptMode0 + static_cast<int>(kPresetCount)) {
    optModeClick(event.id - kIdOptMode0);
  } else if (event.id == kIdCmdOptimize) {
    cmdOptimizeClick();
  } else if (event.id == kIdCmdChanges && showChanges_) {
    showChanges_();
  }
}

void WizardModeModel::optModeClick(int index) {
  if (index >= 0 && index < static_cast<int>(kPresetCount)) {
    workingProfile = presetProfiles[static_cast<std::size_t>(index)];
  } else {
    (void)view_.ShowMessage(kNoSuchModeMessage, kAppTitle, ui::kMessageOk);
  }
  ShowProfileSummary();
}

void WizardModeModel::cmdOptimizeClick() {
  lastApply_ = ApplyTuningProfile(context_);
  if (afterApply_ && lastApply_.status == ApplyStatus::Applied && lastApply_.changes.failed == 0) {
    afterApply_(workingProfile);
  }
  ApplyNotice notice = ApplyNoticeFor(lastApply_);
  if (!notice.text.empty()) (void)view_.ShowMessage(notice.text, kAppTitle, notice.flags);
  if (returnHome_) returnHome_();
}

void WizardModeModel::ShowProfileSummary() {
  view_.SetText(kIdLblModeDescrip, ProfileSummary(workingProfile));
}

}  // namespace corvane
