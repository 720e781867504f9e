// The memory windows of the real corvane.exe as a user meets them: the
// system status window from the movie, both graphs sampling every 300 ms,
// the speed sliders slowing them to one sample a second, the zoom sliders,
// the amount slider with its label, range and tooltip, "Optimize Now"
// claiming that amount; the RAM configuration at its first start, its
// refused entries, the tray tooltip switched to percent by "Save"; and the
// alarm of stored settings claiming memory and sounding the warning while
// the window stays hidden. Claims and sounds go to logs (CORVANE_CLAIM_LOG,
// CORVANE_SOUND_LOG).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "memory/RamConfiguration.h"
#include "memory/SystemStatus.h"
#include "platform/win32/GraphControl.h"
#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"
#include "tests/gui/components/ComponentTestSupport.h"
#include "tests/support/TestRegistry.h"

namespace corvane::gui {
namespace {

using namespace corvane::memory;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr char kStatusClass[] = "CorvaneSystemStatus";
constexpr char kRamClass[] = "CorvaneRamConfiguration";
constexpr char kRamKey[] = "SOFTWARE\\Tarvik\\Pellavon\\Settings\\RamSettings";
using win32::kGraphGetCount;
using win32::kGraphGetZoom;

// ---- controls of the other process ------------------------------------------

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, 3000, &result);
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND window) {
  char text[512] = {};
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 3000,
                        nullptr);
  return text;
}

bool Matches(const std::string& text, const char* pattern) { return std::regex_match(text, std::regex(pattern)); }

bool Checked(HWND box) { return Ask(box, BM_GETCHECK) == BST_CHECKED; }

// A click in the middle of a control, and the window given time to answer it.
void ClickAndSettle(HWND control) {
  ClickCentre(control);
  Settle(milliseconds(150));
}

// A slider set as a user sets it from the keyboard: a click gives it the
// focus (and pages it a step), the keys do the rest.
void KeysOnSlider(HWND slider, std::initializer_list<WORD> keys) {
  ClickAndSettle(slider);
  for (WORD key : keys) PressKey(key);
  Settle(milliseconds(200));
}

// Samples the two graphs of the status window take in a time, side by side.
std::pair<LRESULT, LRESULT> SamplesIn(HWND status, milliseconds time) {
  HWND cpu = ::GetDlgItem(status, kIdHistCPU);
  HWND memory = ::GetDlgItem(status, kIdHistMemory);
  LRESULT cpuBefore = Ask(cpu, kGraphGetCount);
  LRESULT memoryBefore = Ask(memory, kGraphGetCount);
  Settle(time);
  return {Ask(cpu, kGraphGetCount) - cpuBefore, Ask(memory, kGraphGetCount) - memoryBefore};
}

// Total physical memory in megabytes as the status window counts it: the
// whole machine, as GlobalMemoryStatusEx reads it.
int TotalMegabytes() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  ::GlobalMemoryStatusEx(&status);
  ULONGLONG kilobytes = (status.ullTotalPhys + 512) / 1024;
  return static_cast<int>((kilobytes + 512) / 1024);
}

// ---- tooltips -----------------------------------------------------------------

BOOL CALLBACK CollectTips(HWND hwnd, LPARAM param) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  if (::IsWindowVisible(hwnd) && std::strcmp(name, "tooltips_class32") == 0) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  }
  return TRUE;
}

// Rests the pointer on a screen point, coming from elsewhere, and reads
// the shown tooltip that matches; nothing when none does in a few seconds.
std::optional<std::string> HoverTip(POINT at, const char* pattern) {
  MoveMouse(680, 600);
  Settle(milliseconds(300));
  MoveMouse(at.x - 2, at.y);
  MoveMouse(at.x, at.y);
  std::optional<std::string> found;
  WaitUntil([&] {
    std::vector<HWND> tips;
    ::EnumWindows(&CollectTips, reinterpret_cast<LPARAM>(&tips));
    for (HWND tip : tips) {
      std::string text = TextOf(tip);
      if (std::regex_search(text, std::regex(pattern))) found = text;
    }
    return found.has_value();
  }, seconds(4));
  return found;
}

// The program's icon, with the main window moved off it if it covers it
// (the notification area is a window of its own at the screen's top).
std::optional<POINT> TrayIconInView(HWND main) {
  auto icon = ShownTrayIcon();
  RECT r{};
  if (icon && ::GetWindowRect(main, &r) && ::PtInRect(&r, *icon)) {
    ::SetWindowPos(main, nullptr, 0, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(milliseconds(400));
    icon = ShownTrayIcon();
  }
  return icon;
}

// The tray tooltip as the user reads it; retried, since the tip shows only
// while the pointer rests and changes with each memory tick.
std::optional<std::string> TrayTip(HWND main, const char* pattern) {
  std::optional<std::string> tip;
  WaitUntil([&] {
    auto icon = TrayIconInView(main);
    return icon && (tip = HoverTip(*icon, pattern)).has_value();
  }, seconds(20));
  return tip;
}

// ---- the stored RAM settings --------------------------------------------------

void ForgetRamSettings() { ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRamKey); }

void StoreRamSetting(const char* name, const char* value) {
  ASSERT_TRUE(corvane::testing::StoreText(HKEY_LOCAL_MACHINE, kRamKey, name, value)) << name;
}

std::string StoredRamSetting(const char* name) {
  return corvane::testing::StoredTextOrMissing(HKEY_LOCAL_MACHINE, kRamKey, name);
}

// Opens a feature window from the movie's side bar; nullptr when it does
// not show in the child frame.
HWND OpenFromMovie(CorvaneApp& app, const char* command, const char* windowClass) {
  if (!app.ClickButton(command)) return nullptr;
  return app.WaitForFeature(windowClass, seconds(5)).value_or(nullptr);
}

// ---- the system status window, one running program for the suite --------------

class SystemStatusWindowTest : public RunningCorvaneTest {
 protected:
  HWND Open() {
    HWND status = OpenFromMovie(app(), "IDC_FS_systemSatus", kStatusClass);
    if (status == nullptr) ADD_FAILURE() << "not shown\n" << DumpTree(app().main());
    return status;
  }
  HWND Item(HWND status, int id) { return ::GetDlgItem(status, id); }
  void Screenshot(const char* name) {
    MoveMouse(680, 600);
    Settle(milliseconds(600));
    SaveScreenshot(name);
  }
};

TEST_F(SystemStatusWindowTest, ShowsItsFramesAndBothGraphsSampleEvery300Ms) {
  HWND status = Open();
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(Describe(status).parent, app().frame());
  RECT place = ClientRectInParent(status);
  EXPECT_EQ(place.right - place.left, 440);
  EXPECT_EQ(place.bottom - place.top, 255);
  EXPECT_EQ(TextOf(Item(status, kIdFrameSystemStatus)), "System Status");
  EXPECT_EQ(TextOf(Item(status, kIdFrameMemoryControl)), "Memory Control");
  EXPECT_EQ(TextOf(Item(status, kIdCmdOptimaize)), "Optimize Now");
  EXPECT_EQ(TextOf(Item(status, kIdLblTargetMemoryNeeded)), "Target Level Of RAM 0MB.");
  for (int id : {kIdHistCPU, kIdHistMemory}) {
    ASSERT_NE(Item(status, id), nullptr) << id << "\n" << DumpTree(status);
    EXPECT_TRUE(::IsWindowVisible(Item(status, id)));
    EXPECT_EQ(Ask(Item(status, id), kGraphGetZoom), 30) << "zoom at start";
  }
  for (int id : {kIdSldCPUSpeed, kIdSldMemorySpeed}) {
    EXPECT_EQ(Ask(Item(status, id), TBM_GETPOS), 1000) << "the speed slider stands where it means 300 ms";
  }
  auto [cpu, memory] = SamplesIn(status, seconds(2));
  std::printf("samples in 2 s at start: processor %ld, memory %ld\n", static_cast<long>(cpu),
              static_cast<long>(memory));
  for (LRESULT taken : {cpu, memory}) {
    EXPECT_GE(taken, 3) << "both graphs sample about every 300 ms";
    EXPECT_LE(taken, 9);
  }
  // The frames' captions carry the latest sample (from the first tick on).
  EXPECT_TRUE(Matches(TextOf(Item(status, kIdFrameCPUUsage)), R"(Processor usage \(-?\d+%\)\.)"))
      << TextOf(Item(status, kIdFrameCPUUsage));
  EXPECT_TRUE(Matches(TextOf(Item(status, kIdFameMemoryUsage)), R"(Memory Usage \(\d+%\)\.)"))
      << TextOf(Item(status, kIdFameMemoryUsage));
  Settle(seconds(4));
  Screenshot("system-status");
}

TEST_F(SystemStatusWindowTest, SpeedSlidersSetTheSamplingIntervals) {
  HWND status = Open();
  ASSERT_NE(status, nullptr);
  struct Row {
    WORD key;
    LRESULT position;
    LRESULT fewest, most;  // samples in 3 s: every 1000 ms or every 300 ms
  };
  // The right end last: the suite goes on at the 300 ms it started with.
  for (const Row& row : {Row{VK_HOME, 300, 1, 5}, Row{VK_END, 1000, 7, 12}}) {
    for (int slider : {kIdSldCPUSpeed, kIdSldMemorySpeed}) {
      KeysOnSlider(Item(status, slider), {row.key});
      EXPECT_TRUE(WaitUntil([&] { return Ask(Item(status, slider), TBM_GETPOS) == row.position; }, seconds(3)))
          << slider << " at " << Ask(Item(status, slider), TBM_GETPOS);
    }
    auto [cpu, memory] = SamplesIn(status, seconds(3));
    std::printf("samples in 3 s at speed %ld: processor %ld, memory %ld\n", static_cast<long>(row.position),
                static_cast<long>(cpu), static_cast<long>(memory));
    for (LRESULT taken : {cpu, memory}) {
      EXPECT_GE(taken, row.fewest) << "at " << row.position;
      EXPECT_LE(taken, row.most) << "at " << row.position;
    }
  }
}

TEST_F(SystemStatusWindowTest, ZoomSlidersZoomTheGraphs) {
  HWND status = Open();
  ASSERT_NE(status, nullptr);
  for (auto [sliderId, graphId] : {std::pair{kIdSldCPUZoom, kIdHistCPU}, std::pair{kIdSldMemoryZoom, kIdHistMemory}}) {
    KeysOnSlider(Item(status, sliderId), {VK_END});
    // On a busy machine the key may still be on its way.
    EXPECT_TRUE(WaitUntil([&] { return Ask(Item(status, sliderId), TBM_GETPOS) == 100; }, seconds(3)))
        << "slider " << sliderId << " at " << Ask(Item(status, sliderId), TBM_GETPOS);
    EXPECT_TRUE(WaitUntil([&] { return Ask(Item(status, graphId), kGraphGetZoom) == 100; }, seconds(2)))
        << "graph " << graphId << " zoom " << Ask(Item(status, graphId), kGraphGetZoom);
  }
  Settle(seconds(3));
  Screenshot("system-status-zoom-100");
  for (int sliderId : {kIdSldCPUZoom, kIdSldMemoryZoom}) KeysOnSlider(Item(status, sliderId), {VK_HOME});
  EXPECT_TRUE(WaitUntil([&] { return Ask(Item(status, kIdHistCPU), kGraphGetZoom) == 30; }, seconds(2)));
}

TEST_F(SystemStatusWindowTest, AmountSliderRunsToTotalMemoryAndItsLabelFollows) {
  HWND status = Open();
  ASSERT_NE(status, nullptr);
  HWND slider = Item(status, kIdSldFreeMomoryReq);
  HWND label = Item(status, kIdLblTargetMemoryNeeded);
  const int total = TotalMegabytes();
  EXPECT_EQ(Ask(slider, TBM_GETRANGEMIN), 0);
  EXPECT_EQ(Ask(slider, TBM_GETRANGEMAX), total);
  struct Row {
    WORD key;
    int position;
  };
  ClickAndSettle(slider);
  for (const Row& row : {Row{VK_END, total}, Row{VK_LEFT, total - 1}, Row{VK_HOME, 0}, Row{VK_RIGHT, 1}}) {
    PressKey(row.key);
    Settle(milliseconds(200));
    EXPECT_EQ(Ask(slider, TBM_GETPOS), row.position);
    EXPECT_EQ(TextOf(label), "Target Level Of RAM " + std::to_string(row.position) + "MB.");
  }
  // Its tooltip tells the amount while the pointer rests on it.
  RECT r{};
  ::GetWindowRect(slider, &r);
  auto tip = HoverTip(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, "MB to free when Optimize is clicked");
  ASSERT_TRUE(tip) << "no tooltip over the amount slider";
  EXPECT_EQ(*tip, "1 MB to free when Optimize is clicked");
  Settle(milliseconds(200));
  SaveScreenshot("system-status-amount-tooltip");
  KeysOnSlider(slider, {VK_HOME});
  EXPECT_EQ(TextOf(label), "Target Level Of RAM 0MB.");
}

// ---- a program of its own for each test, its claims and sounds logged ----------

class MemoryProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetRamSettings(); }
  void TearDown() override {
    app_.reset();
    ForgetRamSettings();  // later programs start without an alarm
  }
  void Start() {
    CorvaneApp::Options options;
    options.environment = {{"CORVANE_CLAIM_LOG", claims_}, {"CORVANE_SOUND_LOG", sounds_}};
    std::string why;
    app_ = CorvaneApp::Start(options, &why);
    ASSERT_TRUE(app_) << why;
  }
  HWND Open(const char* command, const char* windowClass) {
    HWND window = OpenFromMovie(*app_, command, windowClass);
    if (window == nullptr) ADD_FAILURE() << "not shown\n" << DumpTree(app_->main());
    return window;
  }
  std::unique_ptr<CorvaneApp> app_;
  const std::string claims_ = ScratchFile("memory-claims.log");
  const std::string sounds_ = ScratchFile("memory-sounds.log");
};

TEST_F(MemoryProgramTest, FirstStartDefaultsRefusedEntriesAndThePercentTrayTooltip) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // Before any change the tray tooltip tells free megabytes.
  auto before = TrayTip(app_->main(), R"(Memory Usage \(\d+MB\)\.)");
  EXPECT_TRUE(before) << "no tray tooltip in megabytes";
  std::printf("tray tooltip before: %s\n", before.value_or("").c_str());
  HWND ram = Open("IDC_FS_ramConfig", kRamClass);
  ASSERT_NE(ram, nullptr);
  RECT place = ClientRectInParent(ram);
  EXPECT_EQ(place.right - place.left, 440);
  EXPECT_EQ(place.bottom - place.top, 240);
  auto item = [&](int id) { return ::GetDlgItem(ram, id); };
  EXPECT_FALSE(Checked(item(kIdChkSoundon)));
  EXPECT_FALSE(Checked(item(kIdChkAutomatic)));
  const std::pair<int, const char*> texts[] = {{kIdTxtAlarm, "250"}, {kIdTxtFreeAlarm, "10"},
                                               {kIdTxtTimeCheck, "100"}, {kIdTxtRunOnly, "2"},
                                               {kIdTxtRetryOptimization, "10"}};
  for (const auto& [id, text] : texts) EXPECT_EQ(TextOf(item(id)), text) << id;
  EXPECT_TRUE(Checked(item(kIdOptMB)));
  EXPECT_FALSE(Checked(item(kIdOptPer)));
  EXPECT_FALSE(::IsWindowEnabled(item(kIdCmdSave)));
  EXPECT_FALSE(::IsWindowEnabled(item(kIdTxtAlarm))) << "the level waits for the sound";
  MoveMouse(680, 600);
  Settle(milliseconds(500));
  SaveScreenshot("ram-configuration-first-start");

  // A refused text puts back the value in force: letters in the level,
  // more than 1000 MB in the amount. Each box waits for its check box.
  struct Refusal {
    int check, box;
    const char* typed;
    const char* kept;
  };
  for (const Refusal& row : {Refusal{kIdChkSoundon, kIdTxtAlarm, "XY", "250"},
                             Refusal{kIdChkAutomatic, kIdTxtFreeAlarm, "1500", "10"}}) {
    ClickAndSettle(item(row.check));
    ASSERT_TRUE(::IsWindowEnabled(item(row.box))) << row.box;
    ClickAndSettle(item(row.box));
    ::SendMessageA(item(row.box), EM_SETSEL, 0, -1);
    for (const char* c = row.typed; *c != '\0'; ++c) PressKey(static_cast<WORD>(*c));
    Settle(milliseconds(200));
    EXPECT_EQ(TextOf(item(row.box)), row.kept) << row.typed;
    ClickAndSettle(item(row.check));  // off again
    EXPECT_FALSE(Checked(item(row.check)));
  }
  EXPECT_TRUE(::IsWindowEnabled(item(kIdCmdSave)));

  // Percent for the tooltip, saved.
  ClickInWindow(item(kIdOptPer), 8, 9);
  EXPECT_TRUE(Checked(item(kIdOptPer)));
  EXPECT_FALSE(Checked(item(kIdOptMB)));
  ClickAndSettle(item(kIdCmdSave));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(item(kIdCmdSave)); }, seconds(3)));
  EXPECT_EQ(StoredRamSetting("optPer"), "True");
  EXPECT_EQ(StoredRamSetting("optMB"), "False");
  EXPECT_EQ(StoredRamSetting("chkSoundon"), "0");
  EXPECT_EQ(StoredRamSetting("txtAlarm"), "250");
  EXPECT_EQ(StoredRamSetting("txtFreeAlarm"), "10");
  auto after = TrayTip(app_->main(), R"(Memory Usage \(\d+%\)\.)");
  EXPECT_TRUE(after) << "the tray tooltip did not switch to percent";
  std::printf("tray tooltip after: %s\n", after.value_or("").c_str());
  Settle(milliseconds(300));
  SaveScreenshot("tray-tooltip-percent");
  EXPECT_EQ(ReadTextFile(claims_), "") << "the defaults never claim";
}

// "Optimize Now" claims the slider's amount once, and nothing at 0 MB.
TEST_F(MemoryProgramTest, OptimizeNowClaimsTheAmountOnTheSlider) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND status = Open("IDC_FS_systemSatus", kStatusClass);
  ASSERT_NE(status, nullptr);
  HWND optimize = ::GetDlgItem(status, kIdCmdOptimaize);
  ClickAndSettle(optimize);
  Settle(seconds(1));
  EXPECT_EQ(ReadTextFile(claims_), "") << "0 MB claims nothing";
  KeysOnSlider(::GetDlgItem(status, kIdSldFreeMomoryReq), {VK_HOME, VK_RIGHT, VK_RIGHT});
  EXPECT_EQ(TextOf(::GetDlgItem(status, kIdLblTargetMemoryNeeded)), "Target Level Of RAM 2MB.");
  ClickAndSettle(optimize);
  EXPECT_TRUE(WaitUntil([&] { return !ReadTextFile(claims_).empty(); }, seconds(5)));
  Settle(seconds(1));
  EXPECT_EQ(ReadTextFile(claims_), "FreeUpMemory 2097152\r\n");
}

// Free memory below the stored level of 32767 MB from the start: each check
// (every 500 ms) claims 1 MB twice, the window never shown; the warning
// plays at the sound timer's first tick, 65535 ms after the start.
TEST_F(MemoryProgramTest, StoredAlarmClaimsMemoryAndSoundsTheWarning) {
  // The program reads the machine's whole free memory: a level of 32767 MB,
  // the highest the box takes, is above it only on a machine with less free.
  MEMORYSTATUSEX machine{};
  machine.dwLength = sizeof machine;
  ::GlobalMemoryStatusEx(&machine);
  if (machine.ullAvailPhys >= 32767ull * 1048576) GTEST_SKIP() << "more than 32767 MB free";
  const std::pair<const char*, const char*> stored[] = {
      {"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtAlarm", "32767"}, {"txtFreeAlarm", "1"},
      {"txtTimeCheck", "500"}, {"txtRunOnly", "0"}, {"txtRetryOptimization", "2"}};
  for (const auto& [name, value] : stored) StoreRamSetting(name, value);
  auto started = std::chrono::steady_clock::now();
  ASSERT_NO_FATAL_FAILURE(Start());

  ASSERT_TRUE(WaitUntil([&] { return ReadTextFile(claims_).find("FreeUpMemory 1048576") != std::string::npos; },
                        seconds(10)))
      << "no claim: " << ReadTextFile(claims_);
  EXPECT_TRUE(Matches(ReadTextFile(claims_), R"((FreeUpMemory 1048576\r?\n)+)")) << ReadTextFile(claims_);
  EXPECT_EQ(ReadTextFile(sounds_), "") << "the sound timer has not ticked yet";

  // Meanwhile the window shows what was stored.
  HWND ram = Open("IDC_FS_ramConfig", kRamClass);
  ASSERT_NE(ram, nullptr);
  EXPECT_TRUE(Checked(::GetDlgItem(ram, kIdChkSoundon)));
  EXPECT_TRUE(Checked(::GetDlgItem(ram, kIdChkAutomatic)));
  EXPECT_EQ(TextOf(::GetDlgItem(ram, kIdTxtAlarm)), "32767");
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(ram, kIdTxtFreeAlarm)));
  MoveMouse(680, 600);
  Settle(milliseconds(500));
  SaveScreenshot("ram-configuration-alarm");

  const std::string expected = ProgramFolder() + "\\low-memory.wav|0x20001";
  ASSERT_TRUE(WaitUntil([&] { return ReadTextFile(sounds_).find(expected) != std::string::npos; }, seconds(80)))
      << "no warning: " << ReadTextFile(sounds_);
  double after = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_GE(after, 50.0) << "the first warning comes at the sound timer's first tick";
  std::printf("first low-memory warning %.1f s after the start\n", after);
}

}  // namespace
}  // namespace corvane::gui
