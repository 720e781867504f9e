#include "shell/tray/TrayModel.h"

namespace corvane::shell {

void TrayModel::FillCommon(std::uint32_t flags) {
  record_.cbSize = NotifyIconRecord::kSize;
  record_.hWnd = host_.WindowHandle();
  record_.uID = kIconId;
  record_.uFlags = flags;
  record_.uCallbackMessage = kCallbackMessage;
  record_.hIcon = iconHandle_;
  FillTextField(record_.szTip, TooltipText(trayToolTip_));
}

void TrayModel::Send(NotifyAction action, const NotifyIconRecord& record) {
  (void)host_.NotifyIcon(action, record);
  lastSent_ = record;
}

void TrayModel::Show(bool UpDateData) {
  if (UpDateData) {
    FillCommon(kShowFlags);
    if (isVisible_) {
      // The record the notification area already has: each modify is a
      // round trip to the shell, which redraws the icon, and callers that
      // refresh the icon on a timer mostly send the same text again.
      if (record_ == lastSent_) return;
      // Only the text changed (the memory figure, each tick): the icon
      // itself is not sent again, so the shell does not copy and redraw it.
      NotifyIconRecord sent = record_;
      NotifyIconRecord sameTip = lastSent_;
      sameTip.szTip = record_.szTip;
      if (sameTip == record_) sent.uFlags = NotifyIconRecord::kFlagTip;
      (void)host_.NotifyIcon(NotifyAction::Modify, sent);
      lastSent_ = record_;
    } else {
      Send(NotifyAction::Add, record_);
      isVisible_ = true;
    }
  } else if (isVisible_) {
    Send(NotifyAction::Delete, record_);
    isVisible_ = false;
  }
}

void TrayModel::showBalloonoolTip(bool UpDateData) {
  if (!UpDateData) return;
  FillCommon(kBalloonFlags);
  record_.dwState = 0;
  record_.dwStateMask = 0;
  FillTextField(record_.szInfo, trayBalloonToolTip_);
  record_.uTimeout = 1;  // the system raises it to its own minimum
  FillTextField(record_.szInfoTitle, trayToolTip_);
  record_.dwInfoFlags = 1;  // NIIF_INFO
  Send(NotifyAction::Modify, record_);
}

bool TrayModel::OnNotification(std::uint32_t mouseMessage) {
  if (clickBusy_) return false;
  std::int32_t button = 0;
  if (mouseMessage == kMouseLeftDown) {
    button = 1;
  } else if (mouseMessage == kMouseRightDown) {
    button = 2;
  } else {
    return false;
  }
  clickBusy_ = true;
  // The event runs before the timer starts, so a handler with a modal loop
  // (the popup menu) keeps further clicks out until it has returned.
  if (eventMode_ == 0) {
    const auto& handler = button == 1 ? LeftClick : RightClick;
    if (handler) handler();
  } else if (MouseClick) {
    MouseClick(button);
  }
  host_.StartTimer1(kClickGateMs);
  return true;
}

void TrayModel::Timer1Tick() {
  host_.StopTimer1();
  clickBusy_ = false;
}

void TrayModel::OnTaskbarCreated() {
  if (!isVisible_) return;
  // A new notification area knows no icon: add it again, without the
  // balloon a kept balloon record would repeat.
  FillCommon(kShowFlags);
  Send(NotifyAction::Add, record_);
}

void TrayModel::EventMode(std::int32_t mode) {
  eventMode_ = mode > 1 ? 1 : (mode < 0 ? 0 : mode);
}

}  // namespace corvane::shell
