// The net pinger end to end, as a user meets it: opened from the movie, set
// to manual mode with host 127.0.0.1 and the sound on, saved, and "Ping Now"
// pressed. The sound is heard through the logging sound player
// (CORVANE_SOUND_LOG); the line about the last ping shows the round trip.
// Inside the test's own network namespace (CORVANE_NETNS=1, loopback
// ignoring echoes) the same ping never answers, and the main window must
// keep answering messages the whole time. Echoes go to loopback only.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"
#include "tests/pinger/win/ResponsivenessProbe.h"
#include "tests/support/TestRegistry.h"

namespace corvane::gui {
namespace {

constexpr char kPingerClass[] = "CorvaneNetPingerSettings";
constexpr char kPingerKey[] = "SOFTWARE\\Tarvik\\Pellavon\\Settings\\NetPinger";

bool InNamespace() {
  const char* flag = std::getenv("CORVANE_NETNS");
  return flag != nullptr && std::string(flag) == "1";
}

void ForgetPingerSettings() { ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kPingerKey); }

std::string StoredPingerSetting(const char* name) {
  return corvane::testing::StoredTextOrMissing(HKEY_LOCAL_MACHINE, kPingerKey, name);
}

std::optional<HWND> ChildWithCaption(HWND parent, const std::string& caption) {
  for (const WindowInfo& w : Descendants(parent)) {
    if (w.caption == caption) return w.hwnd;
  }
  return std::nullopt;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        nullptr);
  return text;
}

// The control of the window whose caption starts "Last ping" or "Ping to",
// or whose text is empty at the window's bottom left: the last-ping line.
std::optional<HWND> LastPingLine(HWND pinger) {
  for (const WindowInfo& w : Descendants(pinger)) {
    if (w.caption.rfind("Last ping", 0) == 0 || w.caption.rfind("Ping to ", 0) == 0) return w.hwnd;
  }
  return std::nullopt;
}

void Click(HWND control) {
  RECT r{};
  ::GetClientRect(control, &r);
  ClickInWindow(control, 8, (r.bottom - r.top) / 2);
  Settle(std::chrono::milliseconds(150));
}

// Replaces an edit box's text by typing, as a user would after selecting it.
void TypeInto(HWND edit, const std::string& text) {
  Click(edit);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  PressKey(VK_DELETE);
  for (char c : text) PressKey(c == '.' ? VK_OEM_PERIOD : static_cast<WORD>(c));
  Settle(std::chrono::milliseconds(200));
}

bool Checked(HWND box) { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class NetPingerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetPingerSettings();
    soundLog_ = ScratchFile("net-pinger-sounds.log");
    CorvaneApp::Options options;
    options.environment.emplace_back("CORVANE_SOUND_LOG", soundLog_);
    std::string why;
    app_ = CorvaneApp::Start(options, &why);
    ASSERT_TRUE(app_) << why;
  }
  void TearDown() override {
    app_.reset();
    ForgetPingerSettings();
  }
  // Opens the window from the movie's side bar; nullptr when it is not shown.
  HWND Open() {
    app_->BackHome();
    if (!app_->ClickButton("IDC_FS_pingSetting")) return nullptr;
    HWND pinger = app_->WaitForFeature(kPingerClass, std::chrono::seconds(5)).value_or(nullptr);
    if (pinger == nullptr) SaveScreenshot("net-pinger-not-shown");
    return pinger;
  }
  // Sets manual mode, host, sound on, and saves, with real clicks and keys.
  void SetUpManualLoopback(HWND pinger) {
    auto enable = ChildWithCaption(pinger, "Enable Pinger");
    auto manual = ChildWithCaption(pinger, "Manual Mode");
    auto sound = ChildWithCaption(pinger, "Play &Sound at Ping");
    auto save = ChildWithCaption(pinger, "Save");
    ASSERT_TRUE(enable && manual && sound && save) << DumpTree(pinger);
    Click(*enable);
    ASSERT_TRUE(Checked(*enable));
    Click(*manual);
    ASSERT_TRUE(Checked(*manual));
    auto host = ChildWithCaption(pinger, "www.wikipedia.org");
    ASSERT_TRUE(host) << "manual mode starts with the built-in host\n" << DumpTree(pinger);
    TypeInto(*host, "127.0.0.1");
    ASSERT_EQ(TextOf(*host), "127.0.0.1");
    Click(*sound);
    ASSERT_TRUE(Checked(*sound));
    ASSERT_TRUE(::IsWindowEnabled(*save));
    Click(*save);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(*save); }, std::chrono::seconds(3)));
  }

  // The window open in manual mode on 127.0.0.1, saved; its "Ping Now".
  HWND OpenManualLoopback(HWND* pingNow) {
    HWND pinger = Open();
    EXPECT_NE(pinger, nullptr) << DumpTree(app_->main());
    if (pinger == nullptr) return nullptr;
    SetUpManualLoopback(pinger);
    auto button = ChildWithCaption(pinger, "Ping &Now");
    EXPECT_TRUE(button);
    *pingNow = button ? *button : nullptr;
    return *pingNow != nullptr && !::testing::Test::HasFatalFailure() ? pinger : nullptr;
  }

  std::string AllWindows() {
    std::string dump;
    for (const WindowInfo& w : app_->program().Windows()) dump += DumpTree(w.hwnd);
    return dump;
  }

  std::unique_ptr<CorvaneApp> app_;
  std::string soundLog_;
};

TEST_F(NetPingerTest, ManualLoopbackPingNowSoundsAndShowsTheRoundTrip) {
  if (InNamespace()) GTEST_SKIP() << "loopback ignores echoes in the namespace";
  HWND pinger = Open();
  ASSERT_NE(pinger, nullptr) << AllWindows();
  WindowInfo info = Describe(pinger);
  EXPECT_EQ(info.parent, app_->frame());
  RECT place = ClientRectInParent(pinger);
  EXPECT_EQ(place.right - place.left, 440);
  EXPECT_EQ(place.bottom - place.top, 244);
  EXPECT_EQ(app_->FrameSize().cx, 440);
  EXPECT_EQ(app_->FrameSize().cy, 244);
  for (const char* caption : {"Enable Pinger", "Configuration", "Automatic Mode", "Manual Mode", "Ping Host",
                              "Ping Interval", "Play &Sound at Ping", "Ping &Now", "Save", "Automatic"}) {
    EXPECT_TRUE(ChildWithCaption(pinger, caption)) << caption << "\n" << DumpTree(pinger);
  }
  // First start: nothing stored, pinging off, nothing to save.
  EXPECT_FALSE(::IsWindowEnabled(*ChildWithCaption(pinger, "Save")));
  EXPECT_FALSE(Checked(*ChildWithCaption(pinger, "Enable Pinger")));
  EXPECT_TRUE(Checked(*ChildWithCaption(pinger, "Automatic Mode")));
  EXPECT_FALSE(::IsWindowEnabled(*ChildWithCaption(pinger, "Ping &Now"))) << "pinging is off";
  EXPECT_FALSE(::IsWindowEnabled(*ChildWithCaption(pinger, "Manual Mode")));
  MoveMouse(680, 600);
  Settle(std::chrono::milliseconds(300));
  SaveScreenshot("net-pinger-first-start");

  SetUpManualLoopback(pinger);
  EXPECT_EQ(StoredPingerSetting("chkDoPinging"), "1");
  EXPECT_EQ(StoredPingerSetting("optAuto"), "False");
  EXPECT_EQ(StoredPingerSetting("optManual"), "True");
  EXPECT_EQ(StoredPingerSetting("txtPingHost"), "127.0.0.1");
  // Automatic mode left the list on its first item; manual mode keeps it.
  EXPECT_EQ(StoredPingerSetting("cmbPingInterval"), "0");
  EXPECT_EQ(StoredPingerSetting("chkSound"), "1");
  EXPECT_EQ(ReadTextFile(soundLog_), "") << "saving sounds nothing";

  auto pingNow = ChildWithCaption(pinger, "Ping &Now");
  ASSERT_TRUE(pingNow);
  Click(*pingNow);
  std::optional<HWND> line;
  ASSERT_TRUE(WaitUntil([&] {
    line = LastPingLine(pinger);
    return line && TextOf(*line).rfind("Last ping", 0) == 0;
  }, std::chrono::seconds(15))) << DumpTree(pinger);
  std::string text = TextOf(*line);
  EXPECT_NE(text.find(" to 127.0.0.1: answer in "), std::string::npos) << text;
  EXPECT_NE(text.find(" ms"), std::string::npos) << text;
  ASSERT_TRUE(WaitUntil([&] { return !ReadTextFile(soundLog_).empty(); }, std::chrono::seconds(5)));
  std::string sounds = ReadTextFile(soundLog_);
  std::string expected = ProgramFolder() + "\\Ping.wav|0x20001";
  EXPECT_NE(sounds.find(expected), std::string::npos) << sounds;
  MoveMouse(680, 600);
  Settle(std::chrono::milliseconds(500));
  SaveScreenshot("net-pinger");
}

// The tray's Exit while "Ping Now" waits on a host that never answers: the
// program ends by itself with code 0, without waiting out the ping.
TEST_F(NetPingerTest, TrayExitWhileAPingThatNeverAnswersIsOut) {
  if (!InNamespace()) GTEST_SKIP() << "needs the network-namespace run";
  HWND pingNow = nullptr;
  ASSERT_NE(OpenManualLoopback(&pingNow), nullptr);
  Click(pingNow);
  Settle(std::chrono::milliseconds(1000));  // the echo is out on the worker
  ASSERT_TRUE(app_->program().IsRunning());
  DWORD start = ::GetTickCount();
  (void)app_->ChooseTrayMenu("mnuExit");
  auto code = app_->program().WaitForExit(std::chrono::seconds(20));
  ASSERT_TRUE(code) << "the program did not end";
  EXPECT_EQ(*code, 0u) << "the program ended with a fault";
  std::printf("exit with a ping out took %lu ms\n", static_cast<unsigned long>(::GetTickCount() - start));
}

// In the namespace 127.0.0.1 never answers: "Ping Now" waits its whole 10 s
// on a worker while the main window keeps answering; then the line says so
// and no sound plays.
TEST_F(NetPingerTest, NeverAnsweringHostLeavesTheMainWindowResponsive) {
  if (!InNamespace()) GTEST_SKIP() << "needs the network-namespace run";
  HWND pingNow = nullptr;
  HWND pinger = OpenManualLoopback(&pingNow);
  ASSERT_NE(pinger, nullptr);
  DWORD start = ::GetTickCount();
  testing::ResponsivenessProbe probe(app_->main(), 5);
  Click(pingNow);
  std::optional<HWND> line;
  ASSERT_TRUE(WaitUntil([&] {
    line = LastPingLine(pinger);
    return line && TextOf(*line).rfind("Last ping", 0) == 0;
  }, std::chrono::seconds(25))) << DumpTree(pinger);
  DWORD took = ::GetTickCount() - start;
  probe.Stop();
  EXPECT_NE(TextOf(*line).find(" to 127.0.0.1: no answer"), std::string::npos) << TextOf(*line);
  EXPECT_GE(took, 9000u) << "the echo waits its 10 s timeout";
  EXPECT_GT(probe.Answered(), 100);
  EXPECT_FALSE(probe.GaveUp());
  EXPECT_LT(probe.LongestMs(), 1000u) << "the main window stopped answering during the ping";
  std::printf("longest unanswered time of the main window during a 10 s ping: %lu ms (%ld answers)\n",
              static_cast<unsigned long>(probe.LongestMs()), probe.Answered());
  EXPECT_EQ(ReadTextFile(soundLog_), "") << "Ping Now sounds only on an answer";
}

}  // namespace
}  // namespace corvane::gui
