#include "tuning/NormalMode.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "platform/AppInfo.h"

namespace corvane {

namespace {

constexpr double kMaxLong = 2147483647.0;
constexpr int kSynMinimum = 0;
constexpr int kSynMaximum = 2;

std::int16_t ToInt16(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

// The seven number boxes: inclusive bounds, and the profile field whose value
// a refused entry snaps back to. TTL allows 256, one more than IP can carry.
const NormalModeModel::NumberBox NormalModeModel::kNumberBoxes[7] = {
    {kIdTxtMtuValue, {0, kMaxLong}, &TuningProfile::mtu},
    {kIdTxtMssValue, {0, kMaxLong}, &TuningProfile::mss},
    {kIdTxtTtlValue, {0, 256}, &TuningProfile::defaultTtl},
    {kIdTxtHttp10Value, {4, kMaxLong}, &TuningProfile::maxConnPer10Server},
    {kIdTxtHttp11Value, {2, kMaxLong}, &TuningProfile::maxConnPer11Server},
    {kIdTxtKeepAliveTimeValue, {0, kMaxLong}, &TuningProfile::keepAliveTime},
    {kIdTxtKeepAliveIntervalValue, {0, kMaxLong}, &TuningProfile::keepAliveInterval},
};

const NormalModeModel::NumberBox* NormalModeModel::FindBox(int id) {
  for (const NumberBox& box : kNumberBoxes) {
    if (box.id == id) return &box;
  }
  return nullptr;
}

void NormalModeModel::OnLoad() {
  // The controls are new, in their design state.
  shownPage_ = 0;
  backEnabled_ = false;
  nextEnabled_ = true;
  nextText_ = kNextCaption;
  hideAllExcept(0);
  // The option marked at design time; connectionType keeps its own value.
  view_.SetValue(kIdOptConnType0, 1);
  view_.SetRange(kIdUpdwnDescision, kSynMinimum, kSynMaximum);
  view_.SetValue(kIdUpdwnDescision, kSynMaximum);
  std::vector<std::string> items(kNdiItems.begin(), kNdiItems.end());
  view_.SetItems(kIdCmbNdi, items);
  // Selecting the first item is its click: the cache size becomes 0.
  view_.SetValue(kIdCmbNdi, 0);
  profile_.ndiCacheSize = 0;
}

void NormalModeModel::hideAllExcept(int frmNo) {
  for (int page = 0; page < kNormalModePageCount; ++page) view_.SetVisible(kIdPage0 + page, false);
  if (frmNo >= 0 && frmNo < kNormalModePageCount) view_.SetVisible(kIdPage0 + frmNo, true);
  shownPage_ = frmNo;
}

void NormalModeModel::ShowPage(int page) {
  // One page shows at a time: the one shown goes, the new one comes, and
  // nothing else is touched.
  if (page == shownPage_ || page < 0 || page >= kNormalModePageCount) return;
  if (shownPage_ >= 0 && shownPage_ < kNormalModePageCount) view_.SetVisible(kIdPage0 + shownPage_, false);
  view_.SetVisible(kIdPage0 + page, true);
  shownPage_ = page;
}

void NormalModeModel::SetBackEnabled(bool enabled) {
  if (backEnabled_ == enabled) return;
  view_.SetEnabled(kIdCmdPrevPage, enabled);
  backEnabled_ = enabled;
}

void NormalModeModel::SetNextEnabled(bool enabled) {
  if (nextEnabled_ == enabled) return;
  view_.SetEnabled(kIdCmdNextPage, enabled);
  nextEnabled_ = enabled;
}

void NormalModeModel::SetNextText(std::string_view text) {
  if (nextText_ == text) return;
  view_.SetText(kIdCmdNextPage, text);
  nextText_ = text;
}

void NormalModeModel::OnEvent(const ui::Event& event) {
  using ui::Event;
  const bool marked = event.value == 1;
  switch (event.kind) {
    case Event::Click:
      if (event.id >= kIdOptConnType0 && event.id < kIdOptConnType0 + 4) {
        if (marked) state_.connectionType = static_cast<std::int16_t>(event.id - kIdOptConnType0);
      } else if (event.id == kIdChkBlackHoleValue) {
        profile_.pmtuBlackHoleDetect = marked ? kTrue : kFalse;
      } else if (event.id == kIdChkMtuDisconver) {
        // The box asks whether to disable discovery.
        profile_.pmtuDiscovery = marked ? kFalse : kTrue;
      } else if (event.id == kIdChkIcmpValue) {
        profile_.icmpRedirects = marked ? kTrue : kFalse;
      } else if (event.id == kIdCmdNextPage) {
        Next();
      } else if (event.id == kIdCmdPrevPage) {
        Back();
      } else if (event.id == kIdCmdFindMtu) {
        if (hooks_.findMtu) hooks_.findMtu();
      } else if (event.id == kIdCmdChanges) {
        cmdChangesClick();
      }
      return;
    case Event::Select:
      if (event.id == kIdCmbNdi && event.value >= 0 && event.value < static_cast<int>(kNdiItems.size())) {
        profile_.ndiCacheSize = *TextToInt32(kNdiItems[static_cast<std::size_t>(event.value)]);
      }
      return;
    case Event::Scroll:
      if (event.id == kIdUpdwnDescision) {
        int current = TextToInt32(view_.Text(kIdTxtSynValue)).value_or(kSynMaximum);
        int stepped = std::clamp(current + (event.value > 0 ? 1 : event.value < 0 ? -1 : 0), kSynMinimum, kSynMaximum);
        view_.SetValue(kIdUpdwnDescision, stepped);
        view_.SetText(kIdTxtSynValue, std::to_string(stepped));
      }
      return;
    case Event::Change: {
      const Check check = event.value == kEditedInBox ? Check::Typing : Check::Complete;
      if (event.id == kIdTxtSynValue) {
        if (auto value = TextToInt32(view_.Text(kIdTxtSynValue))) profile_.synAttackProtect = ToInt16(*value);
      } else if (event.id == kIdTxtMultiplier) {
        ValidateMultiplier(check);
      } else if (const NumberBox* box = FindBox(event.id)) {
        ValidateBox(*box, check);
      }
      return;
    }
    default:
      return;
  }
}

void NormalModeModel::ValidateBox(const NumberBox& box, Check check) {
  if (!AcceptNumber(view_.Text(box.id), box.bounds, check)) {
    // Snaps back; the new text's own change is checked once more.
    view_.SetText(box.id, std::to_string(profile_.*box.field));
  }
}

void NormalModeModel::SetMultiplierText(int multiplier) {
  view_.SetText(kIdTxtMultiplier, std::to_string(multiplier));
}

void NormalModeModel::ValidateMultiplier(Check check) {
  const int fallback = DefaultMultiplier(state_.connectionType);
  const std::string text = view_.Text(kIdTxtMultiplier);
  MultiplierVerdict verdict = CheckMultiplier(text, profile_.mss, check);
  if (!ParseNumber(text)) {
    SetMultiplierText(fallback);
    return;
  }
  view_.SetText(kIdTxtRwin, NumberText(verdict.receiveWindow));
  if (verdict.useDefault) SetMultiplierText(fallback);
}

void NormalModeModel::CompleteEntry(int id) {
  if (id == kIdTxtMultiplier) {
    ValidateMultiplier(Check::Complete);
  } else if (const NumberBox* box = FindBox(id)) {
    ValidateBox(*box, Check::Complete);
  }
}

void NormalModeModel::CompleteAllEntries() {
  // Only the shown page can hold an entry still being typed.
  const int page = kIdPage0 + state_.currWizardPage;
  for (const NumberBox& box : kNumberBoxes) {
    if (ui::IsInside(kNormalModeLayout, box.id, page)) ValidateBox(box, Check::Complete);
  }
  if (ui::IsInside(kNormalModeLayout, kIdTxtMultiplier, page)) ValidateMultiplier(Check::Complete);
}

void NormalModeModel::Next() {
  if (state_.currWizardPage < kFinishedPage) CompleteAllEntries();
  state_.currWizardPage = static_cast<std::int16_t>(std::min(state_.currWizardPage + 1, kFinishedPage));
  if (state_.currWizardPage == kFinishedPage) {
    Finish();
    return;
  }
  EnterPage(state_.currWizardPage);
  ShowPage(state_.currWizardPage);
  SetBackEnabled(true);
}

void NormalModeModel::EnterPage(int page) {
  switch (page) {
    case 1: {
      const ConnectionRecommendation* r = RecommendationFor(state_.connectionType);
      if (r == nullptr) {
        (void)view_.ShowMessage("Error", kAppTitle, ui::kMessageOk);
        return;
      }
      // Whatever was typed before is replaced.
      view_.SetText(kIdTxtMtuValue, std::to_string(r->mtu));
      view_.SetText(kIdTxtMssValue, std::to_string(r->mss));
      view_.SetText(kIdLblMtuRecValue, r->mtuLabel);
      view_.SetText(kIdLblMssRecValue, r->mssLabel);
      profile_.mtu = r->mtu;
      profile_.mss = r->mss;
      return;
    }
    case 2:
      // What the two boxes show. They start unmarked, which means discovery
      // on and detection off; a choice made before going back stays.
      profile_.pmtuDiscovery = view_.Value(kIdChkMtuDisconver) == 1 ? kFalse : kTrue;
      profile_.pmtuBlackHoleDetect = view_.Value(kIdChkBlackHoleValue) == 1 ? kTrue : kFalse;
      return;
    case 3: {
      view_.SetText(kIdTxtMssRwinValue, std::to_string(profile_.mss));
      // The type's multiplier; its own check can only put the same one back,
      // so the box holds it, and the window shows what follows from it.
      const int multiplier = DefaultMultiplier(state_.connectionType);
      SetMultiplierText(multiplier);
      const std::string window = NumberText(ReceiveWindow(profile_.mss, multiplier));
      view_.SetText(kIdTxtRwin, window);
      profile_.receiveWindow = TextToInt32(window).value_or(profile_.receiveWindow);
      view_.SetText(kIdLblRwinRecValue, std::to_string(profile_.receiveWindow) + "Bytes");
      return;
    }
    case 4:
      // The boxes keep what they show; Finish reads them.
      profile_.defaultTtl = 64;
      profile_.maxConnPer10Server = 20;
      profile_.maxConnPer11Server = 20;
      return;
    case 5:
      profile_.keepAliveTime = 7200000;
      profile_.keepAliveInterval = 1000;
      return;
    case 6: {
      // What the controls show: "2" and "0" at first, a choice made before
      // going back stays.
      profile_.synAttackProtect = ToInt16(TextToInt32(view_.Text(kIdTxtSynValue)).value_or(kSynMaximum));
      int item = view_.Value(kIdCmbNdi);
      profile_.ndiCacheSize =
          item >= 0 && item < static_cast<int>(kNdiItems.size())
              ? *TextToInt32(kNdiItems[static_cast<std::size_t>(item)])
              : 0;
      return;
    }
    case 7:
      profile_.icmpRedirects = view_.Value(kIdChkIcmpValue) == 1 ? kTrue : kFalse;
      SetNextText(kFinishCaption);
      return;
    default:
      return;
  }
}

void NormalModeModel::ReadBoxes(TuningProfile& profile) const {
  // In this order; check boxes, the SYN box and the NDI list are kept up to
  // date by their own events.
  const std::pair<int, std::int32_t TuningProfile::*> reads[] = {
      {kIdTxtMtuValue, &TuningProfile::mtu},
      {kIdTxtMssValue, &TuningProfile::mss},
      {kIdTxtRwin, &TuningProfile::receiveWindow},
      {kIdTxtTtlValue, &TuningProfile::defaultTtl},
      {kIdTxtHttp10Value, &TuningProfile::maxConnPer10Server},
      {kIdTxtHttp11Value, &TuningProfile::maxConnPer11Server},
      {kIdTxtKeepAliveTimeValue, &TuningProfile::keepAliveTime},
      {kIdTxtKeepAliveIntervalValue, &TuningProfile::keepAliveInterval},
  };
  for (const auto& [id, field] : reads) {
    if (auto value = TextToInt32(view_.Text(id))) profile.*field = *value;
  }
}

TuningProfile NormalModeModel::FinishedProfile() const {
  TuningProfile target = profile_;
  ReadBoxes(target);
  return target;
}

void NormalModeModel::cmdChangesClick() {
  if (state_.currWizardPage != kNormalModePageCount - 1) return;
  CompleteAllEntries();
  if (hooks_.showChanges) hooks_.showChanges(FinishedProfile());
}

void NormalModeModel::FinishFromPreview() {
  if (state_.currWizardPage == kNormalModePageCount - 1) Next();
}

void NormalModeModel::Finish() {
  ReadBoxes(profile_);
  if (hooks_.apply) {
    ApplyResult result = hooks_.apply();
    if (hooks_.afterApply && result.status == ApplyStatus::Applied && result.changes.failed == 0) {
      hooks_.afterApply(profile_);
    }
    if (!result.message.empty()) {
      // Refused: nothing was written. Values that could not be written: a
      // warning. Otherwise only a note (values this Windows ignores).
      const std::uint32_t icon = result.status != ApplyStatus::Applied ? ui::kMessageError
                                 : result.changes.failed > 0         ? ui::kMessageWarning
                                                                     : ui::kMessageInformation;
      (void)view_.ShowMessage(result.message, kAppTitle, ui::kMessageOk | icon);
    }
  }
  SetNextEnabled(false);
  if (hooks_.returnHome) hooks_.returnHome();
}

void NormalModeModel::Back() {
  CompleteAllEntries();
  state_.currWizardPage = static_cast<std::int16_t>(std::max(state_.currWizardPage - 1, 0));
  if (state_.currWizardPage == 0) SetBackEnabled(false);
  // Back from Finish shows the last page again, ready to apply once more.
  if (state_.currWizardPage == 7) SetNextEnabled(true);
  ShowPage(state_.currWizardPage);
  SetNextText(kNextCaption);
}

}  // namespace corvane
