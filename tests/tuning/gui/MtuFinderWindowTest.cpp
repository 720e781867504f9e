// The MTU finder opened from the editor's MTU page, under Wine on the
// namespaces of tools/lib/mtu-netns.sh (run by tools/suites.d/
// wine-mtu-netns.sh, which names the hosts in CORVANE_MTU_HOSTS; skipped
// elsewhere): real clicks on "Find MTU...", Start and "Use MTU", the size
// being tried while the window keeps answering, the result offered for the
// box and nothing applied. Screenshots "mtu-finder-progress",
// "mtu-finder-result" and "mtu-finder-no-answer".
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "pinger/MtuFinderForm.h"
#include "pinger/PingerSettings.h"
#include "platform/OsVersion.h"
#include "platform/win32/Win32OsVersion.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/FakeShellServices.h"
#include "tests/tuning/gui/EditorOnThisThread.h"
#include "tuning/win32/frmNormalMode.h"

namespace corvane::testing {
namespace {

using gui::SaveScreenshot;


// "address=mtu" words; the first with that size ("none" for silence).
std::string HostWith(const std::string& size) {
  const char* hosts = std::getenv("CORVANE_MTU_HOSTS");
  if (hosts == nullptr) return {};
  const std::string text = hosts;
  const std::size_t at = text.find("=" + size);
  if (at == std::string::npos) return {};
  const std::size_t start = text.rfind(' ', at);
  return text.substr(start == std::string::npos ? 0 : start + 1, at - (start == std::string::npos ? 0 : start + 1));
}

class MtuFinderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (HostWith("1400").empty()) GTEST_SKIP() << "no MTU test network";
    ASSERT_TRUE(ShowEditor(window, services, HWND_TOP));
    ClickPumping(window.Control(kIdCmdNextPage));
    ASSERT_TRUE(::IsWindowVisible(window.Control(kIdCmdFindMtu)));
  }
  void TearDown() override { window.Unload(); }

  win32::frmMtuFinder& finder() { return window.mtuFinder(); }

  // Opens the finder, types the host over the pinger's and presses Start.
  void Search(const std::string& host) {
    ClickPumping(window.Control(kIdCmdFindMtu));
    ASSERT_TRUE(finder().IsOpen());
    EXPECT_EQ(finder().Text(kIdTxtMtuHost), kAutomaticPingHost);
    EXPECT_FALSE(::IsWindowEnabled(window.hwnd())) << "the editor waits while the finder is open";
    finder().SetText(kIdTxtMtuHost, host);
    ClickPumping(finder().Control(kIdCmdMtuStart));
  }

  FakeShellServices services;
  win32::frmNormalMode window;
};

TEST_F(MtuFinderWindowTest, FindsThe1400PathAndOffersItForTheBox) {
  const std::string before = window.Text(kIdTxtMtuValue);
  Search(HostWith("1400"));
  ASSERT_TRUE(PumpUntil([&] { return finder().Text(kIdLblMtuStatus).rfind("Trying", 0) == 0; }, 5000));
  SaveScreenshot("mtu-finder-progress");
  ASSERT_TRUE(PumpUntil([&] { return finder().Enabled(kIdCmdMtuUse); }, 40000))
      << finder().Text(kIdLblMtuStatus);
  EXPECT_NE(finder().Text(kIdLblMtuStatus).find("1400 bytes"), std::string::npos)
      << finder().Text(kIdLblMtuStatus);
  EXPECT_EQ(window.Text(kIdTxtMtuValue), before) << "nothing is taken before Use";
  SaveScreenshot("mtu-finder-result");
  ClickPumping(finder().Control(kIdCmdMtuUse));
  Pump(200);
  EXPECT_FALSE(finder().IsOpen());
  EXPECT_TRUE(::IsWindowEnabled(window.hwnd()));
  EXPECT_EQ(window.Text(kIdTxtMtuValue), "1400");
  EXPECT_EQ(window.currWizardPage(), 1);
}

TEST_F(MtuFinderWindowTest, A1500PathIsSaidPlainly) {
  Search(HostWith("1500"));
  ASSERT_TRUE(PumpUntil([&] { return finder().Enabled(kIdCmdMtuUse); }, 20000))
      << finder().Text(kIdLblMtuStatus);
  EXPECT_NE(finder().Text(kIdLblMtuStatus).find("allows 1500 bytes"), std::string::npos);
  ClickPumping(finder().Control(kIdCmdMtuClose));
  Pump(200);
  EXPECT_FALSE(finder().IsOpen());
}

TEST_F(MtuFinderWindowTest, AHostThatNeverAnswersGetsNoSizeAndStopCancels) {
  Search(HostWith("none"));
  ASSERT_TRUE(PumpUntil([&] { return !finder().finder()->searching(); }, 20000))
      << finder().Text(kIdLblMtuStatus);
  EXPECT_NE(finder().Text(kIdLblMtuStatus).find("does not answer"), std::string::npos)
      << finder().Text(kIdLblMtuStatus);
  EXPECT_FALSE(finder().Enabled(kIdCmdMtuUse));
  SaveScreenshot("mtu-finder-no-answer");
  // Again, stopped while its first probe waits.
  ClickPumping(finder().Control(kIdCmdMtuStart));
  EXPECT_TRUE(finder().finder()->searching());
  ClickPumping(finder().Control(kIdCmdMtuStart));
  EXPECT_FALSE(finder().finder()->searching());
  EXPECT_EQ(finder().Text(kIdLblMtuStatus), "The search was cancelled.");
}

}  // namespace
}  // namespace corvane::testing
