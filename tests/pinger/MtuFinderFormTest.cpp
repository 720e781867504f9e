// frmMtuFinder's rules against the in-memory view and a search the test
// lands by hand: progress, stopping, the offer, and the pinger's host.
#include "pinger/MtuFinderForm.h"

#include <gtest/gtest.h>

#include <optional>

#include "pinger/PingerSettings.h"
#include "platform/RegistryAccess.h"
#include "platform/ui/StoredSettings.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"

namespace corvane {
namespace {

using testing::MemoryRegistry;
using testing::MemoryView;

class ManualSearch final : public IMtuSearch {
 public:
  void Start(const std::string& host, Trying trying, Done done) override {
    hosts.push_back(host);
    trying_ = std::move(trying);
    done_ = std::move(done);
  }
  void Cancel() override {
    ++cancels;
    trying_ = nullptr;
    done_ = nullptr;
  }
  void Try(std::uint16_t size) {
    if (trying_) trying_(size);
  }
  void Land(MtuReport report) {
    if (done_) done_(std::move(report));
  }
  std::vector<std::string> hosts;
  int cancels = 0;

 private:
  Trying trying_;
  Done done_;
};

class MtuFinderFormTest : public ::testing::Test {
 protected:
  MtuFinderFormTest() : view(MtuFinderLayout()) {
    MtuFinderFormHooks hooks;
    hooks.offer = [this](std::uint16_t mtu) { offered.push_back(mtu); };
    hooks.close = [this] { ++closes; };
    form.emplace(view, search, "10.77.0.2", hooks);
    view.onEvent = [this](ui::Event event) { form->OnEvent(event); };
    form->OnLoad();
  }
  static MtuReport Found(std::uint16_t mtu) {
    MtuReport report;
    report.outcome = MtuOutcome::Found;
    report.host = "10.77.0.2";
    report.mtu = mtu;
    report.probes = 12;
    return report;
  }

  MemoryView view;
  ManualSearch search;
  std::optional<MtuFinderForm> form;
  std::vector<std::uint16_t> offered;
  int closes = 0;
};

TEST_F(MtuFinderFormTest, LayoutHoldsTogether) {
  EXPECT_EQ(ui::CheckLayout(MtuFinderLayout(), 360, 142), std::vector<std::string>{});
}

TEST_F(MtuFinderFormTest, ShowsTheSizeTriedThenTheResultAndOffersIt) {
  EXPECT_EQ(view.Text(kIdTxtMtuHost), "10.77.0.2");
  EXPECT_FALSE(view.Enabled(kIdCmdMtuUse));
  view.Type(kIdTxtMtuHost, "10.77.1.2");
  ASSERT_TRUE(view.Click(kIdCmdMtuStart));
  EXPECT_EQ(search.hosts, std::vector<std::string>{"10.77.1.2"});
  EXPECT_EQ(view.Text(kIdCmdMtuStart), "S&top");
  EXPECT_FALSE(view.Enabled(kIdTxtMtuHost));
  search.Try(1500);
  EXPECT_EQ(view.Text(kIdLblMtuStatus), "Trying 1500-byte packets...");
  EXPECT_TRUE(offered.empty());
  search.Land(Found(1400));
  EXPECT_NE(view.Text(kIdLblMtuStatus).find("1400 bytes"), std::string::npos);
  EXPECT_TRUE(view.Enabled(kIdCmdMtuUse));
  EXPECT_EQ(view.Text(kIdCmdMtuUse), "&Use MTU 1400");
  EXPECT_TRUE(offered.empty()) << "nothing is taken until the user says so";
  ASSERT_TRUE(view.Click(kIdCmdMtuUse));
  EXPECT_EQ(offered, std::vector<std::uint16_t>{1400});
  EXPECT_EQ(closes, 1);
}

TEST_F(MtuFinderFormTest, StoppingCancelsAndOffersNothing) {
  ASSERT_TRUE(view.Click(kIdCmdMtuStart));
  search.Try(1000);
  ASSERT_TRUE(view.Click(kIdCmdMtuStart));
  EXPECT_EQ(search.cancels, 1);
  EXPECT_EQ(view.Text(kIdLblMtuStatus), "The search was cancelled.");
  EXPECT_EQ(view.Text(kIdCmdMtuStart), "&Start");
  EXPECT_FALSE(view.Enabled(kIdCmdMtuUse));
  search.Land(Found(1400));  // a late report of the stopped search
  EXPECT_FALSE(view.Enabled(kIdCmdMtuUse));
  view.Click(kIdCmdMtuUse);
  EXPECT_TRUE(offered.empty());
}

TEST_F(MtuFinderFormTest, FailuresOfferNothing) {
  for (MtuOutcome outcome : {MtuOutcome::NoAnswer, MtuOutcome::HostNotFound, MtuOutcome::NoIcmp}) {
    ASSERT_TRUE(view.Click(kIdCmdMtuStart));
    MtuReport report;
    report.outcome = outcome;
    report.host = "x";
    search.Land(report);
    EXPECT_EQ(view.Text(kIdLblMtuStatus), MtuReportText(report));
    EXPECT_FALSE(view.Enabled(kIdCmdMtuUse));
  }
}

TEST_F(MtuFinderFormTest, ClosingWhileSearchingCancels) {
  ASSERT_TRUE(view.Click(kIdCmdMtuStart));
  ASSERT_TRUE(view.Click(kIdCmdMtuClose));
  EXPECT_EQ(search.cancels, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(offered.empty());
}

TEST(PingerHostTest, AutomaticModeOrTheTypedHost) {
  MemoryRegistry registry;
  EXPECT_EQ(PingerHost(registry), kAutomaticPingHost);
  const std::string key = ui::SettingsKey(kNetPingerSection);
  ASSERT_EQ(SaveAppSetting(registry, key, "optAuto", "False"), reg::kSuccess);
  ASSERT_EQ(SaveAppSetting(registry, key, "txtPingHost", "10.77.0.2"), reg::kSuccess);
  EXPECT_EQ(PingerHost(registry), "10.77.0.2");
  ASSERT_EQ(SaveAppSetting(registry, key, "optAuto", "True"), reg::kSuccess);
  EXPECT_EQ(PingerHost(registry), kAutomaticPingHost);
}

}  // namespace
}  // namespace corvane
