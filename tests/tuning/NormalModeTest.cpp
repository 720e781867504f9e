#include "tuning/NormalMode.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/MemoryView.h"

namespace corvane {
namespace {

using testing::MemoryView;

// The profile an untouched pass through the eight pages applies, by
// connection type.
TuningProfile Recommended(std::int32_t mtu, std::int32_t mss, std::int32_t window) {
  TuningProfile p;
  p.mtu = mtu;
  p.mss = mss;
  p.receiveWindow = window;
  p.defaultTtl = 64;
  p.maxConnPer10Server = 20;
  p.maxConnPer11Server = 20;
  p.keepAliveTime = 7200000;
  p.keepAliveInterval = 1000;
  p.synAttackProtect = 2;
  p.ndiCacheSize = 0;
  p.pmtuDiscovery = kTrue;
  p.pmtuBlackHoleDetect = kFalse;
  p.icmpRedirects = kFalse;
  return p;
}

// The model's view: counts each call (in the real window each one is a
// round trip to a control) and logs the pages shown ("+3") and hidden
// ("-2"), then hands the call to the in-memory view.
class CountingView final : public ui::IView {
 public:
  MemoryView* view = nullptr;
  mutable int calls = 0;  // the readers count too
  std::vector<std::string> pages;

  void SetText(int id, std::string_view text) override { ++calls, view->SetText(id, text); }
  std::string Text(int id) const override { return ++calls, view->Text(id); }
  void SetValue(int id, int value) override { ++calls, view->SetValue(id, value); }
  int Value(int id) const override { return ++calls, view->Value(id); }
  void SetRange(int id, int minimum, int maximum) override { ++calls, view->SetRange(id, minimum, maximum); }
  void SetEnabled(int id, bool enabled) override { ++calls, view->SetEnabled(id, enabled); }
  bool Enabled(int id) const override { return ++calls, view->Enabled(id); }
  void SetVisible(int id, bool visible) override {
    ++calls;
    pages.push_back((visible ? "+" : "-") + std::to_string(id - kIdPage0));
    view->SetVisible(id, visible);
  }
  bool Visible(int id) const override { return ++calls, view->Visible(id); }
  void SetItems(int id, std::span<const std::string> items) override { ++calls, view->SetItems(id, items); }
  int ItemCount(int id) const override { return ++calls, view->ItemCount(id); }
  void SetRows(int id, std::span<const std::vector<std::string>> rows) override { ++calls, view->SetRows(id, rows); }
  std::vector<std::vector<std::string>> Rows(int id) const override { return ++calls, view->Rows(id); }
  void SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) override {
    ++calls, view->SetSamples(id, visible, zoom, total);
  }
  void SetToolTip(int id, std::string_view text) override { ++calls, view->SetToolTip(id, text); }
  int ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) override {
    return ++calls, view->ShowMessage(text, title, flags);
  }
};

class NormalModeTest : public ::testing::Test {
 protected:
  NormalModeTest() { Load(); }

  // The window's load: new controls in their design state, a model over
  // them; what outlives the window (state, profile) stays.
  void Load() {
    view.emplace(kNormalModeLayout);
    view->onEvent = [this](ui::Event event) { model->OnEvent(event); };
    NormalModeHooks hooks{[this] { return Apply(); },
                          [this] { ++homes; },
                          [this] { ++finds; },
                          [this](const TuningProfile& target) { previews.push_back(target); },
                          [this](const TuningProfile& done) { recorded.push_back(done); }};
    counted.view = &*view;
    model.emplace(counted, state, profile, std::move(hooks));
    model->OnLoad();
  }

  ApplyResult Apply() {
    applied.push_back(profile);
    return nextResult;
  }

  // Selects the box's text and types the keys one by one, as a user does:
  // each key is one change made in the box.
  void TypeKeys(int id, std::string_view keys) {
    std::string text;
    for (char key : keys) {
      text += key;
      view->Type(id, text);  // an edit in the box, as the window reports it
      text = view->Text(id);
    }
  }

  void Next(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(view->Click(kIdCmdNextPage)) << "Next is disabled";
  }
  void Back(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(view->Click(kIdCmdPrevPage)) << "Back is disabled";
  }
  void GoToPage(int page) {
    while (model->currWizardPage() < page) Next();
  }
  std::string Text(int id) const { return view->Text(id); }
  std::vector<int> VisiblePages() const {
    std::vector<int> pages;
    for (int k = 0; k < kNormalModePageCount; ++k) {
      if (view->Visible(kIdPage0 + k)) pages.push_back(k);
    }
    return pages;
  }

  NormalModeState state;
  TuningProfile profile;
  std::optional<MemoryView> view;
  CountingView counted;
  std::optional<NormalModeModel> model;
  std::vector<TuningProfile> applied;
  std::vector<TuningProfile> previews;  // the targets "Changes…" showed
  std::vector<TuningProfile> recorded;  // what the drift watch was given
  ApplyResult nextResult;
  int homes = 0;
  int finds = 0;

 private:
};

TEST_F(NormalModeTest, LoadShowsTheFirstPageInItsDesignState) {
  EXPECT_EQ(VisiblePages(), std::vector<int>{0});
  EXPECT_EQ(view->Value(kIdOptConnType0), 1);
  EXPECT_FALSE(view->Enabled(kIdCmdPrevPage));
  EXPECT_TRUE(view->Enabled(kIdCmdNextPage));
  EXPECT_EQ(Text(kIdCmdNextPage), "Next>>");
  EXPECT_EQ(view->Items(kIdCmbNdi), (std::vector<std::string>{"0", "2", "4", "8", "16", "32", "64"}));
  EXPECT_EQ(view->Value(kIdCmbNdi), 0);
  EXPECT_EQ(Text(kIdTxtSynValue), "2");
  EXPECT_EQ(view->Range(kIdUpdwnDescision), (std::pair<int, int>{0, 2}));
  EXPECT_EQ(Text(kIdTxtMultiplier), "");
  EXPECT_EQ(Text(kIdTxtScaleFactor), "4");
  EXPECT_FALSE(view->Enabled(kIdTxtMssRwinValue));
  EXPECT_FALSE(view->Enabled(kIdTxtRwin));
  EXPECT_FALSE(view->Enabled(kIdTxtScaleFactor));
  EXPECT_EQ(model->currWizardPage(), 0);
}

TEST_F(NormalModeTest, LoadSelectsTheFirstNdiItemAndSoSetsTheCacheSize) {
  profile.ndiCacheSize = 32;
  Load();
  EXPECT_EQ(profile.ndiCacheSize, 0);
}

// Each connection type through all eight pages without touching a value.
TEST_F(NormalModeTest, FourConnectionTypesThroughAllPages) {
  struct Case {
    int type;
    const char *mtu, *mss, *mtuLabel, *mssLabel, *multiplier, *window, *windowLabel;
    TuningProfile applies;
  };
  const Case cases[] = {
      {0, "576", "536", "576 Byte", "536 Byte", "3", "6432", "6432Bytes", Recommended(576, 536, 6432)},
      {1, "1500", "1460", "1500 Byte", "1460 Byte", "44", "256960", "256960Bytes", Recommended(1500, 1460, 256960)},
      {2, "1492", "1452", "1492 Byte", "1452Byte", "44", "255552", "255552Bytes", Recommended(1492, 1452, 255552)},
      {3, "1500", "1460", "1500 Byte", "1460 Byte", "44", "256960", "256960Bytes", Recommended(1500, 1460, 256960)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    state = NormalModeState{};
    profile = TuningProfile{};
    applied.clear();
    homes = 0;
    Load();
    // Dial-up is the option marked at start; the others are clicked.
    if (c.type != 0) {
      ASSERT_TRUE(view->Click(kIdOptConnType0 + c.type));
    }
    EXPECT_EQ(model->connectionType(), c.type);

    Next();
    EXPECT_EQ(VisiblePages(), std::vector<int>{1});
    EXPECT_TRUE(view->Enabled(kIdCmdPrevPage));
    EXPECT_EQ(Text(kIdTxtMtuValue), c.mtu);
    EXPECT_EQ(Text(kIdTxtMssValue), c.mss);
    EXPECT_EQ(Text(kIdLblMtuRecValue), c.mtuLabel);
    EXPECT_EQ(Text(kIdLblMssRecValue), c.mssLabel);
    EXPECT_EQ(profile.mtu, c.applies.mtu);
    EXPECT_EQ(profile.mss, c.applies.mss);

    Next();
    EXPECT_EQ(profile.pmtuDiscovery, kTrue);
    EXPECT_EQ(profile.pmtuBlackHoleDetect, kFalse);

    Next();
    EXPECT_EQ(Text(kIdTxtMssRwinValue), c.mss);
    EXPECT_EQ(Text(kIdTxtMultiplier), c.multiplier);
    EXPECT_EQ(Text(kIdTxtRwin), c.window);
    EXPECT_EQ(Text(kIdLblRwinRecValue), c.windowLabel);
    EXPECT_EQ(profile.receiveWindow, c.applies.receiveWindow);

    Next(4);
    EXPECT_EQ(VisiblePages(), std::vector<int>{7});
    EXPECT_EQ(Text(kIdCmdNextPage), "Finish");
    EXPECT_TRUE(applied.empty());

    Next();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], c.applies);
    EXPECT_EQ(homes, 1);
    EXPECT_EQ(model->currWizardPage(), kFinishedPage);
    EXPECT_EQ(VisiblePages(), std::vector<int>{7}) << "step 8 stays the visible page";
    EXPECT_FALSE(view->Enabled(kIdCmdNextPage));
    EXPECT_TRUE(view->Enabled(kIdCmdPrevPage));
    EXPECT_TRUE(view->messages.empty()) << "a complete apply shows nothing";
  }
}

TEST_F(NormalModeTest, PagesButtonsAndCaptionsFollowTheStateTable) {
  // {after, page, back enabled, next caption, next enabled}
  struct Step {
    const char* action;
    int page;
    bool back;
    const char* caption;
    bool next;
  };
  const Step steps[] = {
      {"next", 1, true, "Next>>", true},  {"next", 2, true, "Next>>", true},  {"back", 1, true, "Next>>", true},
      {"back", 0, false, "Next>>", true}, {"next", 1, true, "Next>>", true},  {"next", 2, true, "Next>>", true},
      {"next", 3, true, "Next>>", true},  {"next", 4, true, "Next>>", true},  {"next", 5, true, "Next>>", true},
      {"next", 6, true, "Next>>", true},  {"next", 7, true, "Finish", true},  {"back", 6, true, "Next>>", true},
      {"next", 7, true, "Finish", true},  {"next", 8, true, "Finish", false}, {"back", 7, true, "Next>>", true},
      {"next", 8, true, "Next>>", false}, {"back", 7, true, "Next>>", true},  {"back", 6, true, "Next>>", true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.action) + " to " + std::to_string(s.page));
    if (std::string_view(s.action) == "next") {
      Next();
    } else {
      Back();
    }
    EXPECT_EQ(model->currWizardPage(), s.page);
    EXPECT_EQ(VisiblePages(), std::vector<int>{s.page == kFinishedPage ? 7 : s.page});
    EXPECT_EQ(view->Enabled(kIdCmdPrevPage), s.back);
    EXPECT_EQ(Text(kIdCmdNextPage), s.caption);
    EXPECT_EQ(view->Enabled(kIdCmdNextPage), s.next);
  }
  EXPECT_EQ(applied.size(), 2u) << "each Finish applies";
  EXPECT_EQ(homes, 2);
}

TEST_F(NormalModeTest, BackFromTheFinishedStateLetsASecondFinishApplyAgain) {
  ASSERT_TRUE(view->Click(kIdOptConnType0 + 2));
  GoToPage(kFinishedPage);
  ASSERT_EQ(applied.size(), 1u);
  Back();
  EXPECT_EQ(VisiblePages(), std::vector<int>{7});
  EXPECT_EQ(Text(kIdCmdNextPage), "Next>>");
  EXPECT_TRUE(view->Enabled(kIdCmdNextPage));
  ASSERT_TRUE(view->Click(kIdChkIcmpValue));
  Next();
  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied[1].icmpRedirects, kTrue);
  EXPECT_EQ(applied[1].mtu, 1492);
}

// Whole texts (a paste, a text set from outside) meet every rule at once.
TEST_F(NormalModeTest, NumberBoxBoundsForWholeTexts) {
  GoToPage(5);  // the TTL, HTTP and keep-alive fields hold their recommendations
  Back(4);
  struct Case {
    int page;
    int box;
    const char* text;
    const char* shows;
  };
  const Case cases[] = {
      {1, kIdTxtMtuValue, "0", "0"},          {1, kIdTxtMtuValue, "-1", "576"},
      {1, kIdTxtMtuValue, "2147483647", "2147483647"}, {1, kIdTxtMtuValue, "2147483648", "576"},
      {1, kIdTxtMtuValue, "1500.4", "1500.4"},  // rounded only at Finish
      {1, kIdTxtMssValue, "", "536"},         {1, kIdTxtMssValue, "12x", "536"},
      {4, kIdTxtTtlValue, "256", "256"},      {4, kIdTxtTtlValue, "257", "64"},
      {4, kIdTxtTtlValue, "0", "0"},          {4, kIdTxtTtlValue, "", "64"},
      {4, kIdTxtHttp10Value, "3", "20"},      {4, kIdTxtHttp10Value, "4", "4"},
      {4, kIdTxtHttp11Value, "2", "2"},       {4, kIdTxtHttp11Value, "1", "20"},
      {5, kIdTxtKeepAliveTimeValue, "-5", "7200000"}, {5, kIdTxtKeepAliveTimeValue, "0", "0"},
      {5, kIdTxtKeepAliveIntervalValue, "abc", "1000"}, {5, kIdTxtKeepAliveIntervalValue, "2147483647", "2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " \"" + c.text + "\"");
    while (model->currWizardPage() < c.page) Next();
    while (model->currWizardPage() > c.page) Back();
    view->SetText(c.box, c.text);  // a text set whole
    EXPECT_EQ(Text(c.box), c.shows);
  }
  EXPECT_TRUE(view->messages.empty()) << "a refused entry is not reported";
}

TEST_F(NormalModeTest, TypedKeysMeetTheLowerBoundOnlyWhenTheEntryIsComplete) {
  GoToPage(4);
  // "1" lies below the minimum 4 of the HTTP 1.0 box, but "10" does not.
  TypeKeys(kIdTxtHttp10Value, "10");
  EXPECT_EQ(Text(kIdTxtHttp10Value), "10");
  model->CompleteEntry(kIdTxtHttp10Value);
  EXPECT_EQ(Text(kIdTxtHttp10Value), "10");

  // Above the maximum snaps back at once, at the key that crosses it.
  TypeKeys(kIdTxtTtlValue, "25");
  EXPECT_EQ(Text(kIdTxtTtlValue), "25");
  TypeKeys(kIdTxtTtlValue, "257");
  EXPECT_EQ(Text(kIdTxtTtlValue), "64");
  // An emptied box and a non-number too.
  TypeKeys(kIdTxtHttp11Value, "x");
  EXPECT_EQ(Text(kIdTxtHttp11Value), "20");

  // A complete entry below the minimum snaps back when the user leaves it...
  TypeKeys(kIdTxtHttp10Value, "3");
  EXPECT_EQ(Text(kIdTxtHttp10Value), "3");
  model->CompleteEntry(kIdTxtHttp10Value);
  EXPECT_EQ(Text(kIdTxtHttp10Value), "20");
  // ... presses Next ...
  TypeKeys(kIdTxtHttp11Value, "1");
  Next();
  EXPECT_EQ(Text(kIdTxtHttp11Value), "20");
  // ... or Back.
  TypeKeys(kIdTxtKeepAliveTimeValue, "-");
  EXPECT_EQ(Text(kIdTxtKeepAliveTimeValue), "7200000") << "no number: at once";
  Back();
  TypeKeys(kIdTxtHttp10Value, "2");
  Back();
  EXPECT_EQ(Text(kIdTxtHttp10Value), "20");
}

TEST_F(NormalModeTest, FinishReadsTheBoxesRoundedToTheNearestInteger) {
  GoToPage(1);
  ASSERT_TRUE(view->Type(kIdTxtMtuValue, "1500.6"));
  ASSERT_TRUE(view->Type(kIdTxtMssValue, "1460"));
  GoToPage(4);
  ASSERT_TRUE(view->Type(kIdTxtTtlValue, "127.5"));
  TypeKeys(kIdTxtHttp10Value, "10");
  GoToPage(5);
  ASSERT_TRUE(view->Type(kIdTxtKeepAliveIntervalValue, "2.5"));
  // The typed MSS is applied, but step 4 uses the recommended one.
  EXPECT_EQ(Text(kIdTxtMssRwinValue), "536");
  EXPECT_EQ(Text(kIdTxtRwin), "6432");
  GoToPage(kFinishedPage);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].mtu, 1501);
  EXPECT_EQ(applied[0].mss, 1460);
  EXPECT_EQ(applied[0].receiveWindow, 6432);
  EXPECT_EQ(applied[0].defaultTtl, 128);  // halves go to the even neighbour
  EXPECT_EQ(applied[0].maxConnPer10Server, 10);
  EXPECT_EQ(applied[0].keepAliveInterval, 2);
}

TEST_F(NormalModeTest, GoingBackToStepOneAndOnAgainPutsTheRecommendationsBack) {
  ASSERT_TRUE(view->Click(kIdOptConnType0 + 1));
  Next();
  ASSERT_TRUE(view->Type(kIdTxtMtuValue, "1400"));
  ASSERT_TRUE(view->Type(kIdTxtMssValue, "1360"));
  Back();
  ASSERT_TRUE(view->Click(kIdOptConnType0 + 2));
  Next();
  EXPECT_EQ(Text(kIdTxtMtuValue), "1492");
  EXPECT_EQ(Text(kIdTxtMssValue), "1452");
  EXPECT_EQ(Text(kIdLblMssRecValue), "1452Byte");
}

class MultiplierTest : public NormalModeTest {
 protected:
  MultiplierTest() {
    EXPECT_TRUE(view->Click(kIdOptConnType0 + 1));  // cable: MSS 1460
    GoToPage(3);
  }
};

TEST_F(MultiplierTest, MultiplierCasesWithMss1460) {
  struct Case {
    const char* text;
    bool typed;  // key by key, then the box is left
    const char* whileTyping;
    const char* windowWhileTyping;
    const char* shows;
    const char* window;
  };
  const Case cases[] = {
      {"0.5", true, "0.5", "2920", "0.5", "2920"},
      {"0.5", false, "0.5", "2920", "0.5", "2920"},
      {"0.1", true, "0.1", "584", "44", "256960"},   // below the MSS once complete
      {"0.1", false, "44", "256960", "44", "256960"},
      {"200000", true, "44", "256960", "44", "256960"},  // 1168000000: at once
      {"200000", false, "44", "256960", "44", "256960"},
      {"", false, "44", "256960", "44", "256960"},
      {"x", true, "44", "256960", "44", "256960"},
      {"2", true, "2", "11680", "2", "11680"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.typed ? " typed" : " set"));
    view->SetText(kIdTxtMultiplier, "44");  // a text set whole
    if (c.typed) {
      TypeKeys(kIdTxtMultiplier, c.text);
    } else {
      view->SetText(kIdTxtMultiplier, c.text);  // a text set whole
    }
    EXPECT_EQ(Text(kIdTxtMultiplier), c.whileTyping);
    EXPECT_EQ(Text(kIdTxtRwin), c.windowWhileTyping);
    model->CompleteEntry(kIdTxtMultiplier);
    EXPECT_EQ(Text(kIdTxtMultiplier), c.shows);
    EXPECT_EQ(Text(kIdTxtRwin), c.window);
    // The multiplier leaves the field and the recommendation alone.
    EXPECT_EQ(profile.receiveWindow, 256960);
    EXPECT_EQ(Text(kIdLblRwinRecValue), "256960Bytes");
  }
}

TEST_F(MultiplierTest, FinishAppliesTheWindowTheMultiplierGave) {
  TypeKeys(kIdTxtMultiplier, "0.5");
  Next();  // completes the entry: 2920 is not below 1460
  GoToPage(kFinishedPage);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].receiveWindow, 2920);
}

TEST_F(MultiplierTest, AnOpenEntryBelowTheMssSnapsBackOnNextOrBack) {
  TypeKeys(kIdTxtMultiplier, "0.1");
  Back();
  EXPECT_EQ(Text(kIdTxtMultiplier), "44");
  EXPECT_EQ(Text(kIdTxtRwin), "256960");
}

// Pages 3, 7 and 8 set their fields on entry from what their controls show,
// which on a first pass is the controls' initial state (the recommendation).
// A choice made before going back past the page stays in both.
TEST_F(NormalModeTest, ReenteringAPageKeepsTheChoiceShownByItsControls) {
  GoToPage(2);
  ASSERT_TRUE(view->Click(kIdChkBlackHoleValue));
  ASSERT_TRUE(view->Click(kIdChkMtuDisconver));
  EXPECT_EQ(profile.pmtuBlackHoleDetect, kTrue);
  EXPECT_EQ(profile.pmtuDiscovery, kFalse);
  GoToPage(6);
  ASSERT_TRUE(view->Arrow(kIdUpdwnDescision, -1));
  ASSERT_TRUE(view->Choose(kIdCmbNdi, 5));
  EXPECT_EQ(profile.synAttackProtect, 1);
  EXPECT_EQ(profile.ndiCacheSize, 32);
  GoToPage(7);
  ASSERT_TRUE(view->Click(kIdChkIcmpValue));

  Back(6);
  ASSERT_EQ(model->currWizardPage(), 1);
  GoToPage(kFinishedPage);
  ASSERT_EQ(applied.size(), 1u);
  const TuningProfile& p = applied[0];
  EXPECT_EQ(p.pmtuBlackHoleDetect, kTrue);
  EXPECT_EQ(p.pmtuDiscovery, kFalse);
  EXPECT_EQ(p.synAttackProtect, 1);
  EXPECT_EQ(p.ndiCacheSize, 32);
  EXPECT_EQ(p.icmpRedirects, kTrue);
  EXPECT_EQ(view->Value(kIdChkBlackHoleValue), 1);
  EXPECT_EQ(Text(kIdTxtSynValue), "1");
}

TEST_F(NormalModeTest, TheFirstPassSetsThePageFieldsWhateverTheProfileHeld) {
  profile.pmtuDiscovery = kFalse;
  profile.pmtuBlackHoleDetect = kTrue;
  profile.synAttackProtect = 0;
  profile.icmpRedirects = kTrue;
  Load();
  GoToPage(7);
  EXPECT_EQ(profile.pmtuDiscovery, kTrue);
  EXPECT_EQ(profile.pmtuBlackHoleDetect, kFalse);
  EXPECT_EQ(profile.synAttackProtect, 2);
  EXPECT_EQ(profile.ndiCacheSize, 0);
  EXPECT_EQ(profile.icmpRedirects, kFalse);
}

TEST_F(NormalModeTest, TheUpDownStepsTheSynBoxWithinZeroToTwo) {
  GoToPage(6);
  const std::pair<int, const char*> arrows[] = {{+1, "2"}, {-1, "1"}, {-1, "0"}, {-1, "0"}, {+1, "1"}};
  for (const auto& [delta, shows] : arrows) {
    ASSERT_TRUE(view->Arrow(kIdUpdwnDescision, delta));
    EXPECT_EQ(Text(kIdTxtSynValue), shows);
    EXPECT_EQ(profile.synAttackProtect, std::stoi(shows));
  }
  EXPECT_FALSE(view->Type(kIdTxtSynValue, "5")) << "the SYN box takes no typing";
  const std::pair<int, int> items[] = {{1, 2}, {6, 64}, {0, 0}};
  for (const auto& [index, size] : items) {
    ASSERT_TRUE(view->Choose(kIdCmbNdi, index));
    EXPECT_EQ(profile.ndiCacheSize, size);
  }
}

TEST_F(NormalModeTest, TheApplyResultReachesTheUser) {
  struct Case {
    ApplyStatus status;
    int failed;
    const char* message;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {ApplyStatus::SnapshotFailed, 0, "No backup could be written, so nothing was changed.", ui::kMessageError},
      {ApplyStatus::NotDetected, 0, "The Windows version has not been recognised.", ui::kMessageError},
      {ApplyStatus::Applied, 2, "Some network settings could not be changed (2 failed).", ui::kMessageWarning},
      {ApplyStatus::Applied, 0, "Windows 10 ignores 4 of the 20 values written.", ui::kMessageInformation},
  };
  for (const Case& c : cases) {
    nextResult.status = c.status;
    nextResult.changes.failed = c.failed;
    nextResult.message = c.message;
    view->messages.clear();
    GoToPage(kFinishedPage);
    ASSERT_EQ(view->messages.size(), 1u);
    EXPECT_EQ(view->messages[0].text, c.message);
    EXPECT_EQ(view->messages[0].title, "Pellavon");
    EXPECT_EQ(view->messages[0].flags, c.flags);
    EXPECT_FALSE(view->Enabled(kIdCmdNextPage));
    Back();
  }
}

TEST_F(NormalModeTest, AConnectionTypeOutsideTheOptionsSaysErrorAndSetsNothing) {
  state.connectionType = 4;
  profile.mtu = 1234;
  Next();
  ASSERT_EQ(view->messages.size(), 1u);
  EXPECT_EQ(view->messages[0].text, "Error");
  EXPECT_EQ(profile.mtu, 1234);
  EXPECT_EQ(Text(kIdTxtMtuValue), "576");
  EXPECT_EQ(model->currWizardPage(), 1);
}

// The editor's command unloads the window, sets currWizardPage to 0 and
// loads it again: the controls start afresh, connectionType and the profile
// stay.
TEST_F(NormalModeTest, ReloadStartsAtTheFirstPageKeepingConnectionTypeAndProfile) {
  ASSERT_TRUE(view->Click(kIdOptConnType0 + 2));
  GoToPage(4);
  TypeKeys(kIdTxtHttp10Value, "10");
  const TuningProfile before = profile;

  state.currWizardPage = 0;
  Load();
  EXPECT_EQ(model->currWizardPage(), 0);
  EXPECT_EQ(VisiblePages(), std::vector<int>{0});
  EXPECT_EQ(view->Value(kIdOptConnType0), 1) << "dial-up marked, as designed";
  EXPECT_EQ(view->Value(kIdOptConnType0 + 2), 0);
  EXPECT_EQ(model->connectionType(), 2);
  EXPECT_FALSE(view->Enabled(kIdCmdPrevPage));
  EXPECT_EQ(Text(kIdTxtHttp10Value), "20");
  EXPECT_EQ(profile, before);
  // connectionType still says DSL.
  Next();
  EXPECT_EQ(Text(kIdTxtMtuValue), "1492");
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// "Find MTU..." only asks the window to open the finder: the page, the box
// and the working profile stay as they are.
TEST_F(NormalModeTest, FindMtuOpensTheFinderAndChangesNothing) {
  Next();
  ASSERT_EQ(model->currWizardPage(), 1);
  const std::string before = Text(kIdTxtMtuValue);
  const TuningProfile profileBefore = profile;
  ASSERT_TRUE(view->Visible(kIdCmdFindMtu));
  ASSERT_TRUE(view->Click(kIdCmdFindMtu));
  EXPECT_EQ(finds, 1);
  EXPECT_EQ(model->currWizardPage(), 1);
  EXPECT_EQ(Text(kIdTxtMtuValue), before);
  EXPECT_EQ(profile, profileBefore);
  Next();
  EXPECT_FALSE(view->Visible(kIdCmdFindMtu));
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST_F(NormalModeTest, ChangesIsOnTheLastPageOnly) {
  for (int page = 0; page < kNormalModePageCount; ++page) {
    GoToPage(page);
    EXPECT_EQ(view->Visible(kIdCmdChanges), page == kNormalModePageCount - 1) << "page " << page;
    EXPECT_EQ(Text(kIdCmdChanges), "Changes\x85");
  }
  // A click that reaches the model on another page shows nothing.
  Back();
  model->cmdChangesClick();
  EXPECT_TRUE(previews.empty());
}

// The preview shows what Finish would apply, writes nothing, and its apply
// is Finish itself: the same profile applied, the same page, the movie home.
TEST_F(NormalModeTest, ChangesPreviewsWhatFinishAppliesAndItsApplyIsFinish) {
  ASSERT_TRUE(view->Click(kIdOptConnType0 + 1));
  GoToPage(4);
  TypeKeys(kIdTxtHttp10Value, "12");
  GoToPage(kNormalModePageCount - 1);
  const TuningProfile before = profile;
  ASSERT_TRUE(view->Click(kIdCmdChanges));
  ASSERT_EQ(previews.size(), 1u);
  EXPECT_EQ(previews[0].maxConnPer10Server, 12);
  EXPECT_TRUE(applied.empty()) << "the preview writes nothing";
  EXPECT_EQ(homes, 0);
  EXPECT_EQ(model->currWizardPage(), kNormalModePageCount - 1);

  model->FinishFromPreview();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0], previews[0]);
  EXPECT_EQ(model->currWizardPage(), kFinishedPage);
  EXPECT_EQ(homes, 1);
  EXPECT_FALSE(view->Enabled(kIdCmdNextPage));
  // A second apply from a stale preview does nothing once finished.
  model->FinishFromPreview();
  EXPECT_EQ(applied.size(), 1u);

  // Finish by its own button applies the same.
  Back();
  Next();
  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied[1], applied[0]);
  EXPECT_NE(before, applied[0]) << "the boxes were read in";
}

TEST_F(NormalModeTest, FinishRecordsForTheDriftWatchOnlyWhatWasWrittenWhole) {
  struct Case {
    ApplyStatus status;
    int failed;
    bool recorded;
  };
  const Case cases[] = {
      {ApplyStatus::Applied, 0, true},
      {ApplyStatus::Applied, 2, false},
      {ApplyStatus::SnapshotFailed, 0, false},
      {ApplyStatus::NotDetected, 0, false},
  };
  for (const Case& c : cases) {
    nextResult.status = c.status;
    nextResult.changes.failed = c.failed;
    recorded.clear();
    GoToPage(kFinishedPage);
    ASSERT_EQ(recorded.size(), c.recorded ? 1u : 0u) << static_cast<int>(c.status) << " " << c.failed;
    if (c.recorded) {
      EXPECT_EQ(recorded[0], applied.back());
    }
    Back();
  }
}

// A page change hides the page shown and shows the next one; the other
// pages are not touched.
TEST_F(NormalModeTest, APageChangeTouchesOnlyTheTwoPages) {
  const char* const steps[] = {"next", "next", "back", "back", "next", "next", "next", "next", "next", "next", "next"};
  int page = 0;
  for (const char* step : steps) {
    SCOPED_TRACE(std::string(step) + " from " + std::to_string(page));
    counted.pages.clear();
    const bool next = std::string_view(step) == "next";
    next ? Next() : Back();
    const int to = page + (next ? 1 : -1);
    EXPECT_EQ(counted.pages, (std::vector<std::string>{"-" + std::to_string(page), "+" + std::to_string(to)}));
    page = to;
  }
  counted.pages.clear();
  Next();
  EXPECT_EQ(model->currWizardPage(), kFinishedPage);
  Back();
  EXPECT_TRUE(counted.pages.empty()) << "Finish and Back from it keep the last page shown";
  EXPECT_EQ(VisiblePages(), std::vector<int>{7});
}

// What Next asks of the view on each page of an untouched pass (cable):
// the texts it sets and the boxes it completes, nested change echoes
// included, and nothing it already knows.
TEST_F(NormalModeTest, NextAsksTheViewOnlyForWhatItNeeds) {
  ASSERT_TRUE(view->Click(kIdOptConnType0 + 1));
  std::vector<int> perNext;
  for (int page = 0; page < kNormalModePageCount; ++page) {
    counted.calls = 0;
    Next();
    perNext.push_back(counted.calls);
  }
  EXPECT_EQ(applied.size(), 1u);
  // Before pages changed by page: 16, 14, 19, 13, 13, 14, 12 and 9.
  EXPECT_EQ(perNext, (std::vector<int>{9, 6, 8, 4, 5, 6, 4, 9}));
}

}  // namespace
}  // namespace corvane
