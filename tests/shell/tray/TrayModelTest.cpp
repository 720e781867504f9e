// The tray icon's record, its add/modify/delete sequence and the click gate.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/tray/TrayModel.h"

namespace corvane::shell {
namespace {

class FakeTrayHost : public ITrayHost {
 public:
  struct Call {
    NotifyAction action;
    NotifyIconRecord record;
  };
  bool NotifyIcon(NotifyAction action, const NotifyIconRecord& record) override {
    calls.push_back({action, record});
    return result;
  }
  void StartTimer1(unsigned intervalMs) override { timerInterval = intervalMs; }
  void StopTimer1() override { timerInterval = 0; }
  std::uint32_t WindowHandle() const override { return 0x00010ABCu; }

  std::vector<Call> calls;
  bool result = true;
  unsigned timerInterval = 0;
};

std::uint32_t Read32(const std::array<std::uint8_t, NotifyIconRecord::kSize>& bytes,
                     std::size_t offset) {
  return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::string ReadText(const std::array<std::uint8_t, NotifyIconRecord::kSize>& bytes,
                     std::size_t offset) {
  return std::string(reinterpret_cast<const char*>(bytes.data() + offset));
}

TEST(NotifyIconRecord, LaysOutTheFieldsAsThe488ByteAnsiStructure) {
  NotifyIconRecord r;
  r.hWnd = 0x11223344u;
  r.uID = 1;
  r.uFlags = 23;
  r.uCallbackMessage = 0x200;
  r.hIcon = 0x55667788u;
  FillTextField(r.szTip, " tip ");
  r.dwState = 3;
  r.dwStateMask = 4;
  FillTextField(r.szInfo, "body");
  r.uTimeout = 1;
  FillTextField(r.szInfoTitle, "title");
  r.dwInfoFlags = 1;
  auto b = r.Bytes();
  EXPECT_EQ(b.size(), 488u);
  EXPECT_EQ(Read32(b, 0), 488u);
  EXPECT_EQ(Read32(b, nid_offset::kHwnd), 0x11223344u);
  EXPECT_EQ(b[nid_offset::kHwnd], 0x44);  // little-endian
  EXPECT_EQ(Read32(b, nid_offset::kUid), 1u);
  EXPECT_EQ(Read32(b, nid_offset::kFlags), 23u);
  EXPECT_EQ(Read32(b, nid_offset::kCallbackMessage), 0x200u);
  EXPECT_EQ(Read32(b, nid_offset::kIcon), 0x55667788u);
  EXPECT_EQ(ReadText(b, nid_offset::kTip), " tip ");
  EXPECT_EQ(Read32(b, nid_offset::kState), 3u);
  EXPECT_EQ(Read32(b, nid_offset::kStateMask), 4u);
  EXPECT_EQ(ReadText(b, nid_offset::kInfo), "body");
  EXPECT_EQ(Read32(b, nid_offset::kTimeout), 1u);
  EXPECT_EQ(ReadText(b, nid_offset::kInfoTitle), "title");
  EXPECT_EQ(Read32(b, nid_offset::kInfoFlags), 1u);
}

TEST(NotifyIconRecord, CutsLongTextsSoThatTheNulStillFits) {
  NotifyIconRecord r;
  FillTextField(r.szInfoTitle, std::string(100, 'T'));
  EXPECT_EQ(FieldText(r.szInfoTitle), std::string(63, 'T'));
  EXPECT_EQ(r.szInfoTitle[63], '\0');
  FillTextField(r.szTip, std::string(300, 'x'));
  EXPECT_EQ(FieldText(r.szTip).size(), 127u);
  // A shorter text clears what a longer one left behind.
  FillTextField(r.szTip, "ab");
  EXPECT_EQ(r.szTip[2], '\0');
  EXPECT_EQ(r.szTip[100], '\0');
}

TEST(TrayModel, ShowAddsOnceThenModifiesAndDeletesWithTheKeptRecord) {
  FakeTrayHost host;
  TrayModel tray(host);
  tray.Show(false);  // nothing shown yet: nothing to delete
  EXPECT_TRUE(host.calls.empty());

  tray.TrayImageHandle(0x777u);
  tray.Show(true);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].action, NotifyAction::Add);
  EXPECT_TRUE(tray.IsVisible());
  const NotifyIconRecord& added = host.calls[0].record;
  EXPECT_EQ(added.cbSize, 488u);
  EXPECT_EQ(added.hWnd, 0x00010ABCu);
  EXPECT_EQ(added.uID, 1u);
  EXPECT_EQ(added.uFlags, 7u);
  EXPECT_EQ(added.uCallbackMessage, 0x0200u);
  EXPECT_EQ(added.hIcon, 0x777u);
  EXPECT_EQ(FieldText(added.szTip), " Program notification ");

  tray.TrayToolTip("Memory 40%");
  tray.Show(true);
  ASSERT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[1].action, NotifyAction::Modify);
  EXPECT_EQ(FieldText(host.calls[1].record.szTip), " Memory 40% ");

  tray.Show(false);
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[2].action, NotifyAction::Delete);
  NotifyIconRecord whole = host.calls[1].record;
  whole.uFlags = 7u;
  EXPECT_EQ(std::memcmp(host.calls[2].record.Bytes().data(), whole.Bytes().data(), NotifyIconRecord::kSize), 0);
  EXPECT_FALSE(tray.IsVisible());
  tray.Show(false);
  EXPECT_EQ(host.calls.size(), 3u);
}

TEST(TrayModel, ShowingAgainWhatTheAreaAlreadyHasSendsNothing) {
  FakeTrayHost host;
  TrayModel tray(host);
  tray.TrayToolTip("Memory Usage (40%).");
  tray.Show(true);
  tray.Show(true);
  EXPECT_EQ(host.calls.size(), 1u) << "the same record again";
  tray.TrayToolTip("Memory Usage (41%).");
  tray.Show(true);
  tray.Show(true);
  ASSERT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[1].action, NotifyAction::Modify);
  EXPECT_EQ(host.calls[1].record.uFlags, NotifyIconRecord::kFlagTip) << "only the text changed";
  tray.showBalloonoolTip(true);
  tray.Show(true);
  ASSERT_EQ(host.calls.size(), 4u) << "after the balloon, the plain record is new again";
  EXPECT_EQ(host.calls[3].record.uFlags, 7u) << "the flags changed: the whole record";
  tray.TrayImageHandle(0x778);
  tray.Show(true);
  ASSERT_EQ(host.calls.size(), 5u);
  EXPECT_EQ(host.calls[4].record.uFlags, 7u) << "a new icon is sent with the icon";
}

TEST(TrayModel, AFailedAddStillCountsAsShown) {
  FakeTrayHost host;
  host.result = false;
  TrayModel tray(host);
  tray.Show(true);
  EXPECT_TRUE(tray.IsVisible());
}

TEST(TrayModel, EmptyToolTipGivesNoTooltip) {
  FakeTrayHost host;
  TrayModel tray(host);
  tray.TrayToolTip("");
  tray.Show(true);
  EXPECT_EQ(host.calls[0].record.szTip[0], '\0');
}

TEST(TrayModel, BalloonTakesItsTitleFromTheToolTipAndLeavesVisibilityAlone) {
  FakeTrayHost host;
  TrayModel tray(host);
  tray.showBalloonoolTip(false);
  EXPECT_TRUE(host.calls.empty());
  tray.showBalloonoolTip(true);  // modifies even while the icon is absent
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].action, NotifyAction::Modify);
  EXPECT_FALSE(tray.IsVisible());

  tray.Show(true);
  tray.TrayToolTip(std::string(70, 'M'));
  tray.showBalloonoolTip(true);
  const NotifyIconRecord& r = host.calls.back().record;
  EXPECT_EQ(r.uFlags, 23u);
  EXPECT_EQ(r.dwState, 0u);
  EXPECT_EQ(r.dwStateMask, 0u);
  EXPECT_EQ(FieldText(r.szInfo), "The Program Still Running Here");
  EXPECT_EQ(r.uTimeout, 1u);
  EXPECT_EQ(FieldText(r.szInfoTitle), std::string(63, 'M'));
  EXPECT_EQ(r.dwInfoFlags, 1u);
  EXPECT_TRUE(tray.IsVisible());

  // A later Show keeps the balloon fields but no longer asks for them.
  tray.Show(true);
  EXPECT_EQ(host.calls.back().record.uFlags, 7u);
  EXPECT_EQ(FieldText(host.calls.back().record.szInfo), "The Program Still Running Here");
}

TEST(TrayModel, EventModeIsClampedToZeroOrOne) {
  FakeTrayHost host;
  TrayModel tray(host);
  EXPECT_EQ(tray.EventMode(), 0);
  tray.EventMode(5);
  EXPECT_EQ(tray.EventMode(), 1);
  tray.EventMode(-3);
  EXPECT_EQ(tray.EventMode(), 0);
}

TEST(TrayModel, ClicksRaiseTheirEventsAndCloseTheGateUntilTimer1) {
  FakeTrayHost host;
  TrayModel tray(host);
  int left = 0, right = 0;
  bool gateClosedDuringHandler = false;
  unsigned timerDuringHandler = 99;
  tray.LeftClick = [&] { ++left; };
  tray.RightClick = [&] {
    ++right;
    gateClosedDuringHandler = tray.clickBusy();
    timerDuringHandler = host.timerInterval;
    // A click that arrives while the handler runs (the popup menu's own
    // loop) is ignored.
    EXPECT_FALSE(tray.OnNotification(kMouseRightDown));
  };

  EXPECT_FALSE(tray.OnNotification(0x0200));  // a move
  EXPECT_FALSE(tray.OnNotification(0x0202));  // left button up
  EXPECT_FALSE(tray.OnNotification(0x0203));  // double click
  EXPECT_EQ(host.timerInterval, 0u);

  EXPECT_TRUE(tray.OnNotification(kMouseRightDown));
  EXPECT_EQ(right, 1);
  EXPECT_TRUE(gateClosedDuringHandler);
  EXPECT_EQ(timerDuringHandler, 0u) << "the timer starts after the handler returns";
  EXPECT_EQ(host.timerInterval, 15u);
  EXPECT_FALSE(tray.OnNotification(kMouseLeftDown)) << "within 15 ms after the handler";
  EXPECT_EQ(left, 0);

  tray.Timer1Tick();
  EXPECT_EQ(host.timerInterval, 0u);
  EXPECT_FALSE(tray.clickBusy());
  EXPECT_TRUE(tray.OnNotification(kMouseLeftDown));
  EXPECT_EQ(left, 1);
  EXPECT_EQ(right, 1);
}

TEST(TrayModel, EventModeOneRaisesMouseClickWithTheButton) {
  FakeTrayHost host;
  TrayModel tray(host);
  tray.EventMode(1);
  std::vector<std::int32_t> buttons;
  bool otherEvent = false;
  tray.LeftClick = [&] { otherEvent = true; };
  tray.RightClick = [&] { otherEvent = true; };
  tray.MouseClick = [&](std::int32_t& Button) { buttons.push_back(Button); };
  tray.OnNotification(kMouseLeftDown);
  tray.Timer1Tick();
  tray.OnNotification(kMouseRightDown);
  EXPECT_EQ(buttons, (std::vector<std::int32_t>{1, 2}));
  EXPECT_FALSE(otherEvent);
}

TEST(TrayModel, TaskbarCreatedAddsTheShownIconAgainWithoutTheBalloon) {
  FakeTrayHost host;
  TrayModel tray(host);
  tray.OnTaskbarCreated();
  EXPECT_TRUE(host.calls.empty());
  tray.Show(true);
  tray.showBalloonoolTip(true);
  tray.OnTaskbarCreated();
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[2].action, NotifyAction::Add);
  EXPECT_EQ(host.calls[2].record.uFlags, 7u);
}

}  // namespace
}  // namespace corvane::shell
