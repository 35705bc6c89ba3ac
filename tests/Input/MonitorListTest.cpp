#include <gtest/gtest.h>

#include "Core/Input/Win32/MonitorList.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

TEST(MonitorListTest, HoldsEveryMonitorWithItsWorkAreaAndPrimaryFlag) {
  fakes::ScriptedWindowSystem system;
  app::MonitorList list;
  EXPECT_FALSE(list.Refresh());  // no display at all
  EXPECT_EQ(list.GetCount(), 0);

  system.monitors = {win32::MONITORINFO{40, {-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, 0},
                     win32::MONITORINFO{40, {0, 0, 1920, 1080}, {0, 30, 1920, 1080}, win32::MONITORINFOF_PRIMARY}};
  ASSERT_TRUE(list.Refresh());
  ASSERT_EQ(list.GetCount(), 2);
  const app::MonitorInfo* first = list.GetMonitor(0);
  EXPECT_EQ(first->monitor.x, -1280);
  EXPECT_EQ(first->monitor.width, 1280);
  EXPECT_EQ(first->work.height, 984);
  EXPECT_FALSE(first->primary);
  const app::MonitorInfo* second = list.GetMonitor(1);
  EXPECT_TRUE(second->primary);
  EXPECT_EQ(second->work.y, 30);
  EXPECT_EQ(second->work.height, 1050);
  EXPECT_EQ(list.GetMonitor(2), nullptr);
  EXPECT_EQ(list.GetMonitor(-1), nullptr);

  system.monitors.pop_back();
  ASSERT_TRUE(list.Refresh());  // emptied and enumerated again
  EXPECT_EQ(list.GetCount(), 1);
}

}  // namespace
