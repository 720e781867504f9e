// frmMainSettings against the real registry and window system: what the
// boxes and "&Save" show after a load, what a click and a save store, and
// the start-up entry with this program's own path.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/RegistryAccess.h"
#include "shell/settings/win32/frmMainSettings.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/MessageBoxReader.h"
#include "tests/support/TestRegistry.h"

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
    auto value = corvane::testing::ReadStoredValue(HKEY_CURRENT_USER, kRunKey, kStartupValueName);
    if (!value) return std::nullopt;
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    return value->text();
  }
  void StoreEntry(const char* text) {
    EXPECT_EQ(SetRegValue(services.registry(), RootKey::CurrentUser, kRunKey, kStartupValueName, 1, text,
                false), reg::kSuccess);
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
  EXPECT_EQ(SaveAppSetting(services.registry(), kMainSettingsKey, kChkRunMainProgram, "1"), reg::kSuccess);
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
  EXPECT_EQ(SaveAppSetting(services.registry(), kMainSettingsKey, kChkRunMainProgram, "2"), reg::kSuccess);
  EXPECT_EQ(SaveAppSetting(services.registry(), kMainSettingsKey, kChkRunProgramMini, "tray"), reg::kSuccess);
  ASSERT_TRUE(window.Load(services, nullptr));
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunMainProgram));
  EXPECT_FALSE(Checked(frmMainSettings::kIdChkRunProgramMini));
  EXPECT_FALSE(Entry());
  EXPECT_FALSE(window.RunsInTray());
}

}  // namespace
}  // namespace corvane::shell

namespace corvane::shell {
namespace {

// Gives a key a descriptor (SDDL) and puts full access back when it goes:
// "D:P(A;;KR;;;WD)" lets everyone read it and nobody write it, as a
// standard user meets the program's key under HKEY_LOCAL_MACHINE.
class KeyDescriptor {
 public:
  KeyDescriptor(HKEY root, const char* path) : root_(root), path_(path) {
    HKEY key = nullptr;
    ::RegCreateKeyExA(root_, path_, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (key != nullptr) ::RegCloseKey(key);
    applied_ = Set("D:P(A;;KR;;;WD)");
  }
  ~KeyDescriptor() { (void)Set("D:P(A;;KA;;;WD)"); }
  bool applied() const { return applied_; }

 private:
  bool Set(const char* sddl) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root_, path_, 0, WRITE_DAC | KEY_READ, &key) != ERROR_SUCCESS) return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool ok = ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr) != 0;
    if (ok) {
      ok = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
      ::LocalFree(descriptor);
    }
    ::RegCloseKey(key);
    return ok;
  }
  HKEY root_;
  const char* path_;
  bool applied_ = false;
};

struct ReadOnlyCase {
  const char* what;
  HKEY root;
  const char* key;
};

class FrmMainSettingsReadOnly : public FrmMainSettingsTest, public ::testing::WithParamInterface<ReadOnlyCase> {};

// Tick both boxes and Save with one of the two keys refusing writes: a
// message names what failed, "&Save" stays enabled, and the next start
// finds the setting and the start-up entry agreeing (neither changed).
TEST_P(FrmMainSettingsReadOnly, SaveSaysSoKeepsSaveEnabledAndNeverSplitsSettingFromEntry) {
  const ReadOnlyCase& c = GetParam();
  ASSERT_TRUE(window.Load(services, nullptr));
  KeyDescriptor readOnly(c.root, c.key);
  // As the registry contract: a key that refuses writes exists only where
  // the registry has security.
  if (!readOnly.applied()) GTEST_SKIP() << "the 95/98/ME registry has no security";
  testing::MessageBoxReader boxes;
  Click(frmMainSettings::kIdChkRunMainProgram);
  Click(frmMainSettings::kIdChkRunProgramMini);
  Click(frmMainSettings::kIdCmdSave);
  auto texts = boxes.texts();
  std::string all;
  for (const auto& t : texts) all += "[" + t + "]\n";
  ASSERT_EQ(texts.size(), 1u) << c.what << "\n" << all;
  EXPECT_NE(texts[0].find("could not be saved"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find("access denied"), std::string::npos) << texts[0];
  EXPECT_TRUE(SaveEnabled()) << c.what;
  EXPECT_NE(Stored(kChkRunMainProgram), "1") << c.what;
  EXPECT_FALSE(Entry()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Keys, FrmMainSettingsReadOnly,
                         ::testing::Values(ReadOnlyCase{"settings key", HKEY_LOCAL_MACHINE, kMainSettingsKey.c_str()},
                                           ReadOnlyCase{"Run key", HKEY_CURRENT_USER, kRunKey}),
                         [](const ::testing::TestParamInfo<ReadOnlyCase>& param) {
                           return std::string(param.index == 0 ? "SettingsKey" : "RunKey");
                         });

}  // namespace
}  // namespace corvane::shell
