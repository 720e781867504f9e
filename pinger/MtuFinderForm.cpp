#include "pinger/MtuFinderForm.h"

#include "pinger/PingerSettings.h"
#include "platform/RegistryAccess.h"
#include "platform/ui/StoredSettings.h"

namespace corvane {

namespace {

using ui::Control;
using K = ui::ControlKind;

constexpr char kReadyText[] =
    "Press Start to send echo requests that may not be fragmented and find the largest "
    "packet that reaches the host.";

constexpr Control kControls[] = {
    {kIdLblMtuHost, K::Label, "lblMtuHost", "Host:", 10, 14, 44, 16, 0},
    {kIdTxtMtuHost, K::TextBox, "txtMtuHost", "", 56, 10, 200, 22, 0},
    {kIdCmdMtuStart, K::Button, "cmdMtuStart", "&Start", 264, 9, 86, 24, 0},
    {kIdLblMtuStatus, K::Label, "lblMtuStatus", "", 10, 42, 340, 58, 0},
    {kIdCmdMtuUse, K::Button, "cmdMtuUse", "&Use this MTU", 140, 108, 118, 26, 0, ui::kDisabled},
    {kIdCmdMtuClose, K::Button, "cmdMtuClose", "Close", 264, 108, 86, 26, 0},
};

constexpr ui::Layout kLayout{"frmMtuFinder", "CorvaneMtuFinder", "Find the MTU", ui::Unit::Pixels,
                             360, 142, kControls};

}  // namespace

const ui::Layout& MtuFinderLayout() { return kLayout; }

std::string PingerHost(IRegistry& registry) {
  const std::string key = ui::SettingsKey(kNetPingerSection);
  const std::string automatic = GetAppSetting(registry, key, "optAuto", "True");
  if (ui::ParseStored(ui::As::Option, automatic).value_or(1) == 1) return kAutomaticPingHost;
  std::string host = GetAppSetting(registry, key, "txtPingHost", kAutomaticPingHost);
  return host.empty() ? std::string(kAutomaticPingHost) : host;
}

MtuFinderForm::MtuFinderForm(ui::IView& view, IMtuSearch& search, std::string host,
                             MtuFinderFormHooks hooks)
    : view_(view), search_(search), host_(std::move(host)), hooks_(std::move(hooks)) {}

void MtuFinderForm::OnLoad() {
  view_.SetText(kIdTxtMtuHost, host_);
  view_.SetText(kIdLblMtuStatus, kReadyText);
  view_.SetEnabled(kIdCmdMtuUse, false);
}

void MtuFinderForm::OnEvent(const ui::Event& event) {
  if (event.kind != ui::Event::Click) return;
  switch (event.id) {
    case kIdCmdMtuStart:
      if (searching_) {
        StopSearch();
      } else {
        StartSearch();
      }
      break;
    case kIdCmdMtuUse:
      if (found_ != 0 && !searching_) {
        if (hooks_.offer) hooks_.offer(found_);
        if (hooks_.close) hooks_.close();
      }
      break;
    case kIdCmdMtuClose:
      if (searching_) StopSearch();
      if (hooks_.close) hooks_.close();
      break;
    default:
      break;
  }
}

void MtuFinderForm::OnUnload() {
  if (searching_) search_.Cancel();
  searching_ = false;
}

void MtuFinderForm::ShowSearching(bool searching) {
  searching_ = searching;
  view_.SetText(kIdCmdMtuStart, searching ? "S&top" : "&Start");
  view_.SetEnabled(kIdTxtMtuHost, !searching);
  view_.SetEnabled(kIdCmdMtuUse, !searching && found_ != 0);
  view_.SetText(kIdCmdMtuUse, found_ != 0 ? "&Use MTU " + std::to_string(found_) : "&Use this MTU");
}

void MtuFinderForm::StartSearch() {
  found_ = 0;
  ShowSearching(true);
  const std::string host = view_.Text(kIdTxtMtuHost);
  view_.SetText(kIdLblMtuStatus, "Looking for \"" + host + "\"...");
  search_.Start(
      host,
      [this](std::uint16_t size) {
        if (searching_) view_.SetText(kIdLblMtuStatus, MtuTryingText(size));
      },
      [this](MtuReport report) { Landed(report); });
}

void MtuFinderForm::StopSearch() {
  search_.Cancel();
  ShowSearching(false);
  MtuReport cancelled;
  cancelled.outcome = MtuOutcome::Cancelled;
  view_.SetText(kIdLblMtuStatus, MtuReportText(cancelled));
}

void MtuFinderForm::Landed(const MtuReport& report) {
  if (!searching_) return;
  found_ = report.outcome == MtuOutcome::Found ? report.mtu : 0;
  ShowSearching(false);
  view_.SetText(kIdLblMtuStatus, MtuReportText(report));
}

}  // namespace corvane
