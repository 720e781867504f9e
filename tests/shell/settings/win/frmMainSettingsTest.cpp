// frmMainSettings against the real registry and window system: what the
// boxes and "&Save" show after a load, what a click and a save store, and
// the start-up entry with this program's own path.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/RegistryAccess.h"
#include "shell/settings/win32/frmMainSettings.h"
#include "tests/support/FakeShellServices.h"

namespace corvane::shell {
namespace {

class FrmMainSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each test starts from a first run: nothing stored, no entry.
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMainSettingsKey.c_str());
    HKEY run = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
      ::RegDeleteValueA(run, kStartupValueName);
      ::RegCloseKey(run);
    }
  }
  void TearDown() override {
    window.Unload();
    SetUp();
  }

  std::optional<std::string> Entry() {
    char data[512] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    HKEY run = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &run) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    LONG status = ::RegQueryValueExA(run, kStartupValueName, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(run);
    if (status != ERROR_SUCCESS) return std::nullopt;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    return std::string(data);
  }
  void StoreEntry(const char* text) {
    SetRegValue(services.registry(), RootKey::CurrentUser, kRunKey, kStartupValueName, 1, text,
                false);
  }
  std::string Stored(const char* name) {
    return GetAppSetting(services.registry(), kMainSettingsKey, name, "(missing)");
  }
  HWND Control(int id) { return ::GetDlgItem(window.hwnd(), id); }
  bool Checked(int id) { return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool SaveEnabled() { return ::IsWindowEnabled(Control(frmMainSettings::kIdCmdSave)) != FALSE; }
  // BM_CLICK: the control clicks itself, its state and its parent's
  // notification as a user's click gives them.
  void Click(int id) { ::SendMessageA(Control(id), BM_CLICK, 0, 0); }
  std::string ThisExe() {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
  }

  testing::FakeShellServices services;
  frmMainSettings window;
};

TEST_F(FrmMainSettingsTest, LoadSkinsTheWindowAndItsControlsThenReadsTheSettings) {
  ASSERT_TRUE(window.Load(services, nullptr));
  EXPECT_TRUE(window.IsLoaded());
  EXPECT_FALSE(::IsWindowVisible(window.hwnd())) << "loaded hidden";
  EXPECT_EQ(services.calls,
            (std::vector<std::string>{"ApplySkin controlForm", "applyAllControls"}));
  char caption[128] = {};
  ::GetWindowTextA(Control(frmMainSettings::kIdChkRunMainProgram), caption, sizeof caption);
  EXPECT_STREQ(caption, "Run Main Program when windows start up");
  ::GetWindowTextA(Control(frmMainSettings::kIdChkRunProgramMini), caption, sizeof caption);
  EXPECT_STREQ(caption, "Run Program In system tray");
  ::GetWindowTextA(Control(frmMainSettings::kIdFrameStartup), caption, sizeof caption);
  EXPECT_STREQ(caption, "Windows Startup");
  ::GetWindowTextA(Control(frmMainSettings::kIdCmdSave), caption, sizeof caption);
  EXPECT_STREQ(caption, "&Save");
  RECT rect{};
  ::GetWindowRect(window.hwnd(), &rect);
  EXPECT_EQ(rect.right - rect.left, 460);
  EXPECT_EQ(rect.bottom - rect.top, 245);
  window.Unload();
  EXPECT_FALSE(window.IsLoaded());
}

TEST_F(FrmMainSettingsTest, FirstRunShowsBothClearSaveDisabledAndTouchesNoEntry) {
  StoreEntry("C:\\Elsewhere\\corvane.exe");
  ASSERT_TRUE(window.Load(services, nullptr));
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunMainProgram));
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunProgramMini));
  EXPECT_FALSE(SaveEnabled());
  EXPECT_FALSE(window.RunsInTray());
  EXPECT_EQ(Entry(), "C:\\Elsewhere\\corvane.exe") << "neither rewritten nor removed";
  EXPECT_EQ(Stored(kChkRunMainProgram), "(missing)") << "a load stores nothing";
}

TEST_F(FrmMainSettingsTest, SavedBoxesComeBackOnTheNextLoadWithTheEntryForThisProgram) {
  ASSERT_TRUE(window.Load(services, nullptr));
  Click(frmMainSettings::kIdChkRunMainProgram);
  EXPECT_TRUE(Checked(frmMainSettings::kIdChkRunMainProgram));
  EXPECT_TRUE(SaveEnabled());
  Click(frmMainSettings::kIdChkRunProgramMini);
  Click(frmMainSettings::kIdCmdSave);
  EXPECT_FALSE(SaveEnabled());
  EXPECT_EQ(Stored(kChkRunMainProgram), "1");
  EXPECT_EQ(Stored(kChkRunProgramMini), "1");
  EXPECT_EQ(Entry(), ThisExe());

  window.Unload();
  StoreEntry("C:\\Old\\Place\\corvane.exe");  // the program was moved
  frmMainSettings again;
  ASSERT_TRUE(again.Load(services, nullptr));
  EXPECT_TRUE(::SendMessageA(::GetDlgItem(again.hwnd(), frmMainSettings::kIdChkRunMainProgram),
                             BM_GETCHECK, 0, 0) == BST_CHECKED);
  EXPECT_TRUE(again.RunsInTray());
  EXPECT_EQ(again.chkRunProgramMini(), 1);
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(again.hwnd(), frmMainSettings::kIdCmdSave)));
  EXPECT_EQ(Entry(), ThisExe()) << "every load rewrites the entry";
  again.Unload();
}

TEST_F(FrmMainSettingsTest, ClearingTheStartupBoxAndSavingRemovesTheEntry) {
  SaveAppSetting(services.registry(), kMainSettingsKey, kChkRunMainProgram, "1");
  ASSERT_TRUE(window.Load(services, nullptr));
  ASSERT_EQ(Entry(), ThisExe());
  Click(frmMainSettings::kIdChkRunMainProgram);
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunMainProgram));
  Click(frmMainSettings::kIdCmdSave);
  EXPECT_FALSE(Entry());
  EXPECT_EQ(Stored(kChkRunMainProgram), "0");
  // Saving again with the entry gone is harmless.
  Click(frmMainSettings::kIdChkRunProgramMini);
  Click(frmMainSettings::kIdCmdSave);
  EXPECT_FALSE(Entry());
}

TEST_F(FrmMainSettingsTest, ADamagedStoredValueLoadsUnchecked) {
  SaveAppSetting(services.registry(), kMainSettingsKey, kChkRunMainProgram, "2");
  SaveAppSetting(services.registry(), kMainSettingsKey, kChkRunProgramMini, "tray");
  ASSERT_TRUE(window.Load(services, nullptr));
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunMainProgram));
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunProgramMini));
  EXPECT_FALSE(Entry());
  EXPECT_FALSE(window.RunsInTray());
}

}  // namespace
}  // namespace corvane::shell
