// The tray icon control's rules: its properties, the notification record it
// keeps for the icon's whole life, adding once and modifying after, the
// balloon tip, and the click gate that turns the icon's mouse messages into
// LeftClick / RightClick / MouseClick events. The Win32 control (win32/Tray.h)
// gives it a window, a timer and Shell_NotifyIconA.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shell/tray/NotifyIconRecord.h"

namespace corvane::shell {

enum class NotifyAction : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };  // NIM_*

// What the control needs from the system.
class ITrayHost {
 public:
  virtual ~ITrayHost() = default;
  // Shell_NotifyIconA. The control does not act on the result: a failed add
  // still counts as shown (the icon comes back on the next TaskbarCreated).
  virtual bool NotifyIcon(NotifyAction action, const NotifyIconRecord& record) = 0;
  // Timer1: one tick after the interval, until stopped.
  virtual void StartTimer1(unsigned intervalMs) = 0;
  virtual void StopTimer1() = 0;
  // The control's own window, which receives the notification messages.
  virtual std::uint32_t WindowHandle() const = 0;
};

// Mouse messages that arrive in the low word of the notification's lParam.
inline constexpr std::uint32_t kMouseLeftDown = 0x0201;   // WM_LBUTTONDOWN
inline constexpr std::uint32_t kMouseRightDown = 0x0204;  // WM_RBUTTONDOWN

class TrayModel {
 public:
  static constexpr std::uint32_t kIconId = 1;
  // The notification area sends this (WM_MOUSEMOVE) to the control's window.
  static constexpr std::uint32_t kCallbackMessage = 0x0200;
  static constexpr std::uint32_t kShowFlags = 7;      // message, icon, tip
  static constexpr std::uint32_t kBalloonFlags = 23;  // message, icon, tip, info
  static constexpr unsigned kClickGateMs = 15;
  static constexpr char kDefaultToolTip[] = "Program notification";
  static constexpr char kDefaultBalloonToolTip[] = "The Program Still Running Here";

  explicit TrayModel(ITrayHost& host) : host_(host) {}

  // Events. MouseClick's Button is 1 for the left and 2 for the right
  // button; the handler may change it (it is passed by reference).
  std::function<void()> LeftClick;
  std::function<void()> RightClick;
  std::function<void(std::int32_t& Button)> MouseClick;

  // Adds the icon (first call with true), modifies it (later calls), or
  // deletes it with the kept record (false while shown).
  void Show(bool UpDateData);
  // Shows the balloon tip over the icon: the body TrayBalloonToolTip, the
  // title TrayToolTip. Does not change IsVisible.
  void showBalloonoolTip(bool UpDateData);

  // The notification message with the icon's mouse message. True when it
  // raised an event.
  bool OnNotification(std::uint32_t mouseMessage);
  void Timer1Tick();
  // Explorer (re)started: the icon is added again when it was shown.
  void OnTaskbarCreated();

  const std::string& TrayToolTip() const { return trayToolTip_; }
  void TrayToolTip(std::string text) { trayToolTip_ = std::move(text); }
  const std::string& TrayBalloonToolTip() const { return trayBalloonToolTip_; }
  void TrayBalloonToolTip(std::string text) { trayBalloonToolTip_ = std::move(text); }
  std::int32_t EventMode() const { return eventMode_; }
  void EventMode(std::int32_t mode);
  // The icon handle of TrayImage (0: no picture).
  std::uint32_t TrayImageHandle() const { return iconHandle_; }
  void TrayImageHandle(std::uint32_t icon) { iconHandle_ = icon; }
  bool IsVisible() const { return isVisible_; }
  bool clickBusy() const { return clickBusy_; }
  const NotifyIconRecord& record() const { return record_; }

 private:
  void FillCommon(std::uint32_t flags);
  void Send(NotifyAction action, const NotifyIconRecord& record);

  ITrayHost& host_;
  std::string trayToolTip_ = kDefaultToolTip;
  std::string trayBalloonToolTip_ = kDefaultBalloonToolTip;
  std::int32_t eventMode_ = 0;
  std::uint32_t iconHandle_ = 0;
  bool isVisible_ = false;
  bool clickBusy_ = false;
  NotifyIconRecord record_;
  NotifyIconRecord lastSent_{};  // what the notification area last got
};

}  // namespace corvane::shell
