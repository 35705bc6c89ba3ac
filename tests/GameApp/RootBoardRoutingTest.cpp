// The root board's event routing between the confirm slot and the map, on a board without a map
// (its map side is recorded).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Core/Math/Point.h"
#include "Game/Screens/GameWindow.h"

namespace {

using RoutingLog = std::vector<std::string>;

std::string RoutingPointText(const char* what, int x, int y) {
  return std::string(what) + " " + std::to_string(x) + " " + std::to_string(y);
}

class RecordingSlotWindow : public HUDWindow {
 public:
  RecordingSlotWindow(RoutingLog* log, const char* name) : mLog(log), mName(name) {}
  ~RecordingSlotWindow() override { mLog->push_back(mName + " deleted"); }
  void onMouseDown(int x, int y) override { mLog->push_back(RoutingPointText((mName + " down").c_str(), x, y)); }
  void onMouseUp(int x, int y) override { mLog->push_back(RoutingPointText((mName + " up").c_str(), x, y)); }
  void onMouseMove(int x, int y) override { mLog->push_back(RoutingPointText((mName + " move").c_str(), x, y)); }
  void update(float) override { mLog->push_back(mName + " update"); }

  RoutingLog* mLog;
  std::string mName;
};

// A board whose map side records; Create is never called, so it has no map.
class RecordingBoard : public GameWindow {
 public:
  explicit RecordingBoard(RoutingLog* log) : mLog(log) {}
  void mapMouseDown(int x, int y) override { mLog->push_back(RoutingPointText("map down", x, y)); }
  void mapMouseUp(int x, int y) override { mLog->push_back(RoutingPointText("map up", x, y)); }
  void mapMouseMove(int x, int y) override { mLog->push_back(RoutingPointText("map move", x, y)); }
  void mapMouseWheel(int delta) override { mLog->push_back("map wheel " + std::to_string(delta)); }
  void mapUpdate(float) override {
    mLog->push_back(std::string("map update, slots ") + (mConfirmDialog ? "confirm " : "") + (mBanner ? "banner" : ""));
  }

  RoutingLog* mLog;
};

TEST(RootBoardRoutingTest, PointerEventsBySlot) {
  using Event = std::function<void(GameWindow&, math::Point3&)>;
  const Event press = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseDown(p, 1); };
  const Event rightPress = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseDown(p, 2); };
  const Event release = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseUp(p, 1); };
  const Event rightRelease = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseUp(p, 2); };
  const Event move = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseMove(p); };
  const Event drag = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseDrag(p); };
  const Event wheel = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseWheel(p, 120); };
  // The wheel delta is read as a signed 16-bit value.
  const Event wheelDown = [](GameWindow& b, math::Point3& p) { b.OnWidgetMouseWheel(p, 0x10000 - 120); };
  struct Case {
    const char* name;
    bool slotFull;
    Event event;
    RoutingLog expected;
  };
  const Case cases[] = {
      {"press, empty slot", false, press, {"map down 12 0"}},
      {"press, dialog", true, press, {"confirm down 12 0", "confirm move 12 0"}},
      {"right press, empty slot", false, rightPress, {}},
      {"right press, dialog", true, rightPress, {}},
      {"release, empty slot", false, release, {"map up 12 0"}},
      {"release, dialog", true, release, {"confirm up 12 0"}},
      {"right release, empty slot", false, rightRelease, {"map up 12 0"}},
      {"right release, dialog", true, rightRelease, {"confirm up 12 0"}},
      {"move, empty slot", false, move, {"map move 12 0"}},
      {"move, dialog", true, move, {"confirm move 12 0"}},
      {"drag, empty slot", false, drag, {"map move 12 0"}},
      {"drag, dialog", true, drag, {"map move 12 0", "confirm move 12 0"}},
      {"wheel, empty slot", false, wheel, {"map wheel 120"}},
      {"wheel, dialog", true, wheel, {"map wheel 120"}},
      {"wheel as signed 16 bits", false, wheelDown, {"map wheel -120"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoutingLog log;
    {
      RecordingBoard board(&log);
      if (c.slotFull) board.mConfirmDialog = new RecordingSlotWindow(&log, "confirm");
      math::Point3 point(12.9f, -0.7f, 0.0f);
      c.event(board, point);
    }
    // The slot's window goes with the board.
    if (c.slotFull) {
      ASSERT_EQ("confirm deleted", log.back());
      log.pop_back();
    }
    EXPECT_EQ(c.expected, log);
  }
}

TEST(RootBoardRoutingTest, CoordinatesTruncateTowardZeroAndOnlyMovesKeepThePointer) {
  const struct {
    float x, y;
    int expectedX, expectedY;
  } cases[] = {{12.9f, -0.7f, 12, 0}, {-3.9f, 767.99f, -3, 767}, {0.0f, 1023.5f, 0, 1023}};
  for (const auto& c : cases) {
    RoutingLog log;
    RecordingBoard board(&log);
    math::Point3 point(c.x, c.y, 0.0f);
    board.OnWidgetMouseDrag(point);
    EXPECT_EQ(0, board.mPointerX);
    EXPECT_EQ(0, board.mPointerY);
    board.OnWidgetMouseMove(point);
    EXPECT_EQ(c.expectedX, board.mPointerX);
    EXPECT_EQ(c.expectedY, board.mPointerY);
    EXPECT_EQ((RoutingLog{RoutingPointText("map move", c.expectedX, c.expectedY), RoutingPointText("map move", c.expectedX, c.expectedY)}),
              log);
  }
}

// A window whose open flag is found cleared leaves its slot before the map's update and is not drawn
// again; an open one is updated first.
TEST(RootBoardRoutingTest, ClosedSlotWindowsGoBeforeTheMapUpdates) {
  RoutingLog log;
  RecordingBoard board(&log);
  auto* confirm = new RecordingSlotWindow(&log, "confirm");
  auto* banner = new RecordingSlotWindow(&log, "banner");
  board.mConfirmDialog = confirm;
  board.mBanner = banner;
  board.OnUpdate(0.016f);
  EXPECT_EQ((RoutingLog{"confirm update", "banner update", "map update, slots confirm banner"}), log);

  log.clear();
  confirm->open = 0;
  board.OnUpdate(0.016f);
  EXPECT_EQ((RoutingLog{"confirm deleted", "banner update", "map update, slots banner"}), log);
  EXPECT_EQ(nullptr, board.mConfirmDialog);

  log.clear();
  banner->open = 0;
  board.OnUpdate(0.016f);
  EXPECT_EQ((RoutingLog{"banner deleted", "map update, slots "}), log);
  EXPECT_EQ(nullptr, board.mBanner);
}

TEST(RootBoardRoutingTest, FullSlotsGoWithTheBoard) {
  RoutingLog log;
  {
    RecordingBoard board(&log);
    board.mConfirmDialog = new RecordingSlotWindow(&log, "confirm");
    board.mBanner = new RecordingSlotWindow(&log, "banner");
  }
  EXPECT_EQ((RoutingLog{"confirm deleted", "banner deleted"}), log);
}

TEST(RootBoardRoutingTest, FillingASlotDeletesTheWindowItHeld) {
  using Fill = void (GameWindow::*)(HUDWindow*);
  const struct {
    Fill fill;
    HUDWindow* GameWindow::*slot;
  } cases[] = {{&GameWindow::setConfirmDialog, &GameWindow::mConfirmDialog},
               {&GameWindow::setBanner, &GameWindow::mBanner}};
  for (const auto& c : cases) {
    RoutingLog log;
    RecordingBoard board(&log);
    auto* second = new RecordingSlotWindow(&log, "second");
    (board.*c.fill)(new RecordingSlotWindow(&log, "first"));
    (board.*c.fill)(second);
    EXPECT_EQ(RoutingLog{"first deleted"}, log);
    EXPECT_EQ(second, board.*c.slot);
    (board.*c.fill)(second);  // the same window again stays
    (board.*c.fill)(nullptr);
    EXPECT_EQ((RoutingLog{"first deleted", "second deleted"}), log);
    EXPECT_EQ(nullptr, board.*c.slot);
  }
}

}  // namespace
