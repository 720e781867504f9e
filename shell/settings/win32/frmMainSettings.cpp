#include "shell/settings/win32/frmMainSettings.h"

#include <string>
#include "platform/win32/ProgramFile.h"

namespace corvane::shell {

namespace {

constexpr char kClassName[] = "CorvaneMainSettings";

struct ControlSpec {
  int id;
  const char* className;
  const char* caption;
  DWORD style;
  int x, y, width, height;
};

// Design positions, in pixels.
constexpr ControlSpec kControls[] = {
    {frmMainSettings::kIdFrameMainSettings, "BUTTON", "Main Settings", BS_GROUPBOX, 6, 4, 448, 236},
    {frmMainSettings::kIdFrameStartup, "BUTTON", "Windows Startup", BS_GROUPBOX, 20, 28, 420, 100},
    {frmMainSettings::kIdChkRunMainProgram, "BUTTON", "Run Main Program when windows start up",
     BS_AUTOCHECKBOX | WS_TABSTOP, 36, 54, 390, 22},
    {frmMainSettings::kIdChkRunProgramMini, "BUTTON", "Run Program In system tray",
     BS_AUTOCHECKBOX | WS_TABSTOP, 36, 88, 390, 22},
    {frmMainSettings::kIdCmdSave, "BUTTON", "&Save", BS_PUSHBUTTON | WS_TABSTOP, 346, 198, 90, 28},
};

}  // namespace

bool frmMainSettings::Load(IShellServices& services, HWND owner) {
  if (IsLoaded()) return true;
  model_ = std::make_unique<MainSettingsModel>(
      services.registry(), StartupEntryData(services.ApplicationFolder(), win32::ProgramFileName()));
  WNDCLASSEXA wc{};
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
  // Not WS_CLIPCHILDREN: the group boxes draw only their outline and
  // caption, so the form's own background must reach the space inside them.
  if (!CreateBound(kClassName, wc, WS_EX_CONTROLPARENT, "Main Settings",
                   WS_POPUP, 0, 0, kWidth, kHeight, owner, nullptr,
                   services.instance())) {
    model_.reset();
    return false;
  }
  CreateControls(services.instance());
  model_->onCheckValue = [this](MainSettingsBox box, std::int16_t value) {
    int id = box == MainSettingsBox::RunMainProgram ? kIdChkRunMainProgram : kIdChkRunProgramMini;
    (void)::SendMessageA(Control(id), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  model_->onSaveEnabled = [this](bool enabled) {
    (void)::EnableWindow(Control(kIdCmdSave), enabled ? TRUE : FALSE);
  };

  // The load event: skin, stored settings, then nothing left to save.
  (void)services.ApplySkin(Window::hwnd(), "controlForm");
  services.applyAllControls(Window::hwnd());
  LoadMainSettings();
  SetSettingsChanged(false);
  return true;
}

void frmMainSettings::CreateControls(HINSTANCE instance) {
  HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (const auto& c : kControls) {
    HWND control = ::CreateWindowExA(0, c.className, c.caption, WS_CHILD | WS_VISIBLE | c.style,
                                     c.x, c.y, c.width, c.height, Window::hwnd(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance,
                                     nullptr);
    if (control != nullptr) (void)::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  }
  // The group boxes lie under the boxes they hold.
  (void)::SetWindowPos(Control(kIdFrameMainSettings), HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmMainSettings::Unload() {
  if (HWND window = Window::hwnd()) ::DestroyWindow(window);
  model_.reset();
}

LRESULT frmMainSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && model_) {
    int id = LOWORD(wParam);
    auto checked = [&] {
      return static_cast<std::int16_t>(
          ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    };
    switch (id) {
      case kIdChkRunMainProgram:
        model_->Click(MainSettingsBox::RunMainProgram, checked());
        return 0;
      case kIdChkRunProgramMini:
        model_->Click(MainSettingsBox::RunProgramMini, checked());
        return 0;
      case kIdCmdSave:
        model_->Save();
        return 0;
      default:
        break;
    }
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace corvane::shell
