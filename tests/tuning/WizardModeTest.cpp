// frmWizardMode's model on the in-memory view: the summaries of the eight
// presets, the option and optimize events, and what the user is told after
// an apply.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/OsVersion.h"
#include "platform/ui/FormHost.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryView.h"
#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tuning/ChangeMessage.h"
#include "tuning/Snapshot.h"
#include "tuning/WizardMode.h"

namespace corvane {
namespace {

using testing::MemoryFileSystem;
using testing::MemoryView;
using testing::RecordingRegistry;
using testing::RegistryFlavor;
using namespace wizard;

struct SummaryCase {
  int index;
  const char* text;
};

// Every line as the label shows it: tabs between the values, CR LF ends,
// one empty line after each group but the RWIN line.
const SummaryCase kSummaries[] = {
    {0, "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
        "BlackHole = False\tRWIN = 4288\t\r\n"
        "Keep Alive = 600000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n"},
    {1, "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
        "BlackHole = False\tRWIN = -1\t\r\n"
        "Keep Alive = 600000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n"},
    {2, "MSS = -1\tMTU = -1\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
        "BlackHole = False\tRWIN = -1\t\r\n"
        "Keep Alive = 600000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n"},
    {3, "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
        "BlackHole = False\tRWIN = 5432\t\r\n"
        "Keep Alive = 7200000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 64\r\n\r\n"},
    {4, "MSS = 1460\tMTU = 1500\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
        "BlackHole = False\tRWIN = 256960\t\r\n"
        "Keep Alive = 7200000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 64\r\n\r\n"},
    {5, "MSS = 1452\tMTU = 1492\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
        "BlackHole = False\tRWIN = 255552\t\r\n"
        "Keep Alive = 7200000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 64\r\n\r\n"},
    {6, "MSS = 1460\tMTU = 1500\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
        "BlackHole = False\tRWIN = 256960\t\r\n"
        "Keep Alive = 6400000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 32\r\n\r\n"},
    {7, "MSS = 1500\tMTU = 1500\t\tICMP = False\r\n\r\n"
        "NDI = 0\tMSCPS0 = 2\t\tMSCPS1 = 4\r\n\r\n"
        "BlackHole = False\tRWIN = 8192\t\r\n"
        "Keep Alive = 3600000\r\n\r\n"
        "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 32\r\n\r\n"},
};

class WizardModeTest : public ::testing::Test {
 public:
  void SetUp() override {
    currentOsFamily = 7;
    files.AddFolder(testing::kFolder);
    view.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
  }

  RecordingRegistry registry{RegistryFlavor::Nt};
  MemoryFileSystem files;
  testing::FixedClock clock{{{2008, 1, 21}, {14, 5, 9}}};
  MemoryView view{WizardModeLayout()};
  testing::FakeTimers timers;
  int homes = 0;
  WizardModeModel model{WizardContext{{registry, files, clock, testing::kFolder}, [this] { ++homes; }}, view, timers};

 private:
  testing::TuningGlobalsGuard globals_;
};

TEST(WizardSummary, TheTextOfEveryPreset) {
  FillPresetProfiles();
  for (const SummaryCase& c : kSummaries) {
    EXPECT_EQ(ProfileSummary(presetProfiles[static_cast<std::size_t>(c.index)]), c.text)
        << kPresetCaptions[static_cast<std::size_t>(c.index)];
  }
}

TEST(WizardSummary, FlagsAreTheWordsTrueAndFalse) {
  TuningProfile p;
  p.icmpRedirects = kTrue;
  p.pmtuBlackHoleDetect = 1;  // anything but 0 reads as true
  std::string text = ProfileSummary(p);
  EXPECT_NE(text.find("ICMP = True\r\n"), std::string::npos);
  EXPECT_NE(text.find("BlackHole = True\t"), std::string::npos);
}

TEST(WizardLayout, TheOptionsStandInTwoColumnsInsideTheFrame) {
  const ui::Layout& layout = WizardModeLayout();
  EXPECT_TRUE(ui::CheckLayout(layout, 440, 250).empty());
  EXPECT_EQ(layout.caption, "Wizard Mode");
  for (std::size_t i = 0; i < kPresetCount; ++i) {
    const ui::Control* option = ui::FindControl(layout, kIdOptMode0 + static_cast<int>(i));
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->caption, kPresetCaptions[i]);
    EXPECT_EQ(option->left, i % 2 == 0 ? 120 : 3750);
    EXPECT_EQ(option->top, 240 + 240 * static_cast<int>(i / 2));
    EXPECT_EQ(option->parent, kIdFrameOptimizationMode);
  }
  EXPECT_EQ(ui::OptionGroup(layout, kIdOptMode0 + 5).size(), kPresetCount);
  EXPECT_EQ(ui::FindControl(layout, kIdCmdOptimize)->caption, "Optimize &Now");
}

TEST_F(WizardModeTest, LoadTakesAutomaticAAndShowsItsSummary) {
  workingProfile = TuningProfile{};
  model.OnLoad();
  EXPECT_EQ(workingProfile, presetProfiles[0]);
  EXPECT_EQ(view.Text(kIdLblModeDescrip), kSummaries[0].text);
  EXPECT_EQ(view.Value(kIdOptMode0), 1);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WizardModeTest, EachOptionCopiesItsPresetWholeAndShowsItsSummary) {
  model.OnLoad();
  for (const SummaryCase& c : kSummaries) {
    workingProfile.defaultTtl = 99;  // left over from the editor
    ASSERT_TRUE(view.Click(kIdOptMode0 + c.index));
    EXPECT_EQ(workingProfile, presetProfiles[static_cast<std::size_t>(c.index)]);
    EXPECT_EQ(view.Text(kIdLblModeDescrip), c.text);
  }
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WizardModeTest, AnIndexOutsideTheEightSaysSoAndChangesNothing) {
  model.OnLoad();
  view.Click(kIdOptMode0 + 3);
  TuningProfile edited = workingProfile;
  edited.mss = 1234;
  workingProfile = edited;
  for (int index : {8, -1, 100}) {
    view.messages.clear();
    model.optModeClick(index);
    EXPECT_EQ(workingProfile, edited);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Error no such this mode");
    EXPECT_EQ(view.messages[0].title, "Pellavon");
    EXPECT_EQ(view.messages[0].flags, ui::kMessageOk);
    EXPECT_EQ(view.Text(kIdLblModeDescrip), ProfileSummary(edited));
  }
}

TEST_F(WizardModeTest, OptimizeAppliesWorkingProfileAsItStandsThenGoesHome) {
  model.OnLoad();
  view.Click(kIdOptMode0 + 4);
  // The advanced editor changed the working values since.
  workingProfile.defaultTtl = 77;
  ASSERT_TRUE(view.Click(kIdCmdOptimize));
  EXPECT_EQ(model.lastApply().status, ApplyStatus::Applied);
  EXPECT_EQ(model.lastApply().snapshot.name, "001.BCK");
  EXPECT_TRUE(files.FileExists("C:\\Corvane\\Backups\\001.BCK"));
  EXPECT_NE(std::find(registry.log.begin(), registry.log.end(),
                      "set HKLM\\SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters\\DefaultTTL = 77"),
            registry.log.end());
  EXPECT_EQ(view.Text(kIdLblModeDescrip), kSummaries[4].text);  // still the chosen mode
  EXPECT_EQ(homes, 1);
  EXPECT_TRUE(view.messages.empty());  // a complete apply says nothing
}

TEST_F(WizardModeTest, AutomaticCRemovesTheWindowAndAdapterValues) {
  testing::ResetAdapters(registry, 7, {"{A1}"});
  model.OnLoad();
  view.Click(kIdOptMode0 + 2);
  registry.log.clear();
  view.Click(kIdCmdOptimize);
  int removals = 0;
  for (const std::string& line : registry.log) {
    if (line.rfind("del ", 0) == 0) ++removals;
    EXPECT_EQ(line.find(" = 4294967295"), std::string::npos) << line;  // never -1 written
  }
  EXPECT_GE(removals, 3);
  EXPECT_NE(std::find_if(registry.log.begin(), registry.log.end(),
                         [](const std::string& l) {
                           return l.rfind("del ", 0) == 0 && l.find("{A1}\\MTU") != std::string::npos;
                         }),
            registry.log.end());
  testing::RemoveAdapters(registry, 7, {"{A1}"});
}

struct RefusalCase {
  const char* what;
  std::function<void(WizardModeTest&)> arrange;
  const char* says;
};

TEST_F(WizardModeTest, ARefusedApplySaysWhyWritesNothingAndStillGoesHome) {
  model.OnLoad();
  const RefusalCase cases[] = {
      {"Windows version not recognised", [](WizardModeTest&) { currentOsFamily = 0; },
       "no network setting was changed"},
      {"Backups cannot be made",
       [](WizardModeTest& t) { t.files.AddFile("C:\\Corvane\\Backups", "a file in the way"); },
       "No network setting was changed."},
      {"snapshot cannot be written",
       [](WizardModeTest& t) {
         t.files.fault = [](testing::FsOp op, std::string_view) {
           return op == testing::FsOp::Write ? fs::kDiskFull : 0u;
         };
       },
       "No network setting was changed."},
      {"no number left",
       [](WizardModeTest& t) { t.files.AddFile("C:\\Corvane\\Backups\\999.BCK", ""); },
       "No network setting was changed."},
  };
  for (const RefusalCase& c : cases) {
    MemoryFileSystem fresh;
    fresh.AddFolder(testing::kFolder);
    std::swap(files, fresh);
    currentOsFamily = 7;
    c.arrange(*this);
    registry.log.clear();
    view.messages.clear();
    homes = 0;
    view.Click(kIdCmdOptimize);
    EXPECT_NE(model.lastApply().status, ApplyStatus::Applied) << c.what;
    EXPECT_TRUE(registry.log.empty()) << c.what;
    ASSERT_EQ(view.messages.size(), 1u) << c.what;
    EXPECT_NE(view.messages[0].text.find(c.says), std::string::npos)
        << c.what << ": " << view.messages[0].text;
    EXPECT_EQ(view.messages[0].title, "Pellavon");
    EXPECT_EQ(homes, 1) << c.what;
  }
}

TEST_F(WizardModeTest, APartialApplySaysHowManyAndWhichAndWhereTheOldValuesAre) {
  model.OnLoad();
  registry.refuse = [](const std::string& keyPath, std::string_view name) -> RegStatus {
    bool tcp = keyPath.find("tcpip\\parameters") != std::string::npos;
    return tcp && (name == "DefaultTTL" || name == "KeepAliveTime") ? reg::kAccessDenied : 0;
  };
  view.Click(kIdCmdOptimize);
  const ApplyResult& result = model.lastApply();
  ASSERT_EQ(result.status, ApplyStatus::Applied);
  ASSERT_EQ(result.changes.failed, 2);
  ASSERT_EQ(view.messages.size(), 1u);
  const std::string& text = view.messages[0].text;
  const int total = result.changes.written + result.changes.removed + result.changes.failed;
  EXPECT_NE(text.find(": 2 of " + std::to_string(total) + "."), std::string::npos) << text;
  EXPECT_NE(text.find("tcpip\\parameters\\DefaultTTL (error 5, access denied)"), std::string::npos) << text;
  EXPECT_NE(text.find("tcpip\\parameters\\KeepAliveTime (error 5, access denied)"), std::string::npos) << text;
  EXPECT_NE(text.find("administrator"), std::string::npos);
  EXPECT_NE(text.find("The backup 001.BCK holds the settings from before the change."), std::string::npos);
  EXPECT_EQ(view.messages[0].flags, ui::kMessageOk | ui::kMessageWarning);
  EXPECT_EQ(homes, 1);
}

// The tray's Exit while the note after an apply is open: the window goes
// under the note; the model lives until its handler returns, the snapshot
// and the values stay written once, and nothing more reaches the view.
TEST_F(WizardModeTest, AnUnloadWhileTheNoteIsOpenKeepsTheApplyWhole) {
  MemoryView shown{WizardModeLayout()};
  ui::FormHost host(shown, timers);
  host.Open();
  host.Attach(std::make_unique<WizardModeModel>(WizardContext{{registry, files, clock, testing::kFolder}, [this] { ++homes; }},
                                                host.view(), host.timers()));
  host.Run([](ui::FormModel& m) { m.OnLoad(); });
  registry.refuse = [](const std::string&, std::string_view name) -> RegStatus {
    return name == "DefaultTTL" ? reg::kAccessDenied : 0;
  };
  shown.whileMessageShows = [&] { host.Unload(); };
  host.Run([](ui::FormModel& m) { m.OnEvent(ui::Event{kIdCmdOptimize, ui::Event::Click, 0}); });
  EXPECT_EQ(host.windingDown(), 0u) << "the model was freed when its handler returned";
  EXPECT_EQ(shown.messages.size(), 1u);
  std::vector<std::string> names;
  ASSERT_EQ(files.ListSnapshotNames("C:\\Corvane\\Backups", names), fs::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"001.BCK"}));
  // Every value the apply wrote, written once.
  EXPECT_EQ(std::count_if(registry.log.begin(), registry.log.end(),
                          [](const std::string& l) {
                            return l.rfind("set ", 0) == 0 && l.find("\\KeepAliveTime = ") != std::string::npos;
                          }),
            1);
  EXPECT_EQ(homes, 1);
}

TEST(ChangeFailureMessage, NamesTwelveAndCountsTheRest) {
  ChangeCounts counts;
  counts.written = 10;
  for (int i = 0; i < 15; ++i) {
    counts.failures.push_back(FailedValue{RootKey::LocalMachine, "K", "V" + std::to_string(i), 2, i == 0});
  }
  counts.failed = 15;
  std::string text = ChangeFailureMessage(counts, "Some failed", "After.");
  EXPECT_EQ(text.rfind("Some failed: 15 of 25.\n", 0), 0u) << text;
  EXPECT_NE(text.find("HKEY_LOCAL_MACHINE\\K\\V0 (removal, error 2)"), std::string::npos) << text;
  EXPECT_NE(text.find("HKEY_LOCAL_MACHINE\\K\\V11 (error 2)"), std::string::npos);
  EXPECT_EQ(text.find("V12"), std::string::npos);
  EXPECT_NE(text.find("and 3 more"), std::string::npos);
  EXPECT_EQ(text.find("administrator"), std::string::npos);  // nothing was refused
  EXPECT_TRUE(text.ends_with("\nAfter."));
  EXPECT_EQ(ChangeFailureMessage(ChangeCounts{}, "x", "y"), "");
}

}  // namespace
}  // namespace corvane
