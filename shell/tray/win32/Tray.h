// The tray icon control Tray: a hidden window of its own that receives the
// icon's notification messages and the shell's TaskbarCreated broadcast,
// Timer1 for the click gate, and Shell_NotifyIconA. The rules live in
// TrayModel; this window carries them out.
#pragma once

#include <windows.h>

#include "platform/win32/Handle.h"
#include "platform/win32/Window.h"
#include "shell/tray/TrayModel.h"

namespace corvane::shell {

class Tray final : public win32::Window<Tray>, private ITrayHost {
 public:
  Tray();
  ~Tray() override;

  // Creates the control's window (hidden; a top-level window, because
  // message-only windows do not receive the TaskbarCreated broadcast).
  bool Create(HINSTANCE instance);

  TrayModel& model() { return model_; }

  // The properties and methods, as the control offers them.
  void Show(bool UpDateData) { model_.Show(UpDateData); }
  void showBalloonoolTip(bool UpDateData) { model_.showBalloonoolTip(UpDateData); }
  bool IsVisible() const { return model_.IsVisible(); }
  // An icon is used as it is (the caller keeps it alive); nullptr clears
  // the picture.
  void TrayImage(HICON icon);
  // Any other picture is turned into a 32 x 32 icon through an image list;
  // the control owns that icon.
  bool TrayImageFromBitmap(HBITMAP bitmap);
  HICON TrayImage() const { return icon_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool NotifyIcon(NotifyAction action, const NotifyIconRecord& record) override;
  void StartTimer1(unsigned intervalMs) override;
  void StopTimer1() override;
  std::uint32_t WindowHandle() const override;

  TrayModel model_;
  UINT taskbarCreated_ = 0;
  HICON icon_ = nullptr;
  win32::UniqueHicon ownedIcon_;
};

// The tray menu of the main window: "Main Window", "&Help", a separator and
// "&Exit", popped up at the position of the last message (the click on the
// icon). Brings owner to the foreground first so that the menu closes when
// the user clicks elsewhere. Returns the item chosen.
enum class TrayMenuChoice { None, MainWindow, Help, Exit };
TrayMenuChoice ShowTrayPopupMenu(HWND owner);

}  // namespace corvane::shell
