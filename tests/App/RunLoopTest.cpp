#include <gtest/gtest.h>

#include <vector>

#include "Core/App/Application.h"
#include "Core/App/Thread.h"
#include "Platform/Win32/Process.h"
#include "fakes/FreshApplication.h"

namespace {

// Counter values in nanoseconds, one per read; the frequency is 1e9.
std::vector<win32::LONGLONG> sCounter;
std::size_t sCounterReads = 0;
win32::LONGLONG ScriptedCounter() { return sCounter[std::min(sCounterReads++, sCounter.size() - 1)]; }

class ScriptedClock : public ::testing::Test {
 protected:
  void SetUp() override {
    sCounterReads = 0;
    win32::SetPerformanceCounterSource(ScriptedCounter);
  }
  void TearDown() override {
    win32::SetPerformanceCounterSource(nullptr);
    fakes::ResetApplication();
  }
};

// Records the frame times it is given and stops after a number of ticks.
class CountingTask : public base::Task {
 public:
  explicit CountingTask(int ticks) : Task(false, false, true, false), mTicksLeft(ticks) {}
  VNResultEnum Update(float dt) override {
    mDeltas.push_back(dt);
    if (--mTicksLeft == 0) Stop();
    return VN_OK;
  }
  std::vector<float> mDeltas;

 private:
  int mTicksLeft;
};

// A thread shaped like the application: stops when its children are done.
class LoopThread : public app::Thread {
 public:
  LoopThread() : Thread(false, true, true, false) {}
  int mOwnTicks = 0;
  VNResultEnum Update(float) override {
    ++mOwnTicks;
    return VN_OK;
  }
};

TEST_F(ScriptedClock, RunLoopPassesRawDeltasAndEndsAfterLastChildStops) {
  sCounter = {0, 1'000'000'000, 3'000'000'000, 3'500'000'000, 3'500'000'000};
  LoopThread loop;
  CountingTask child(3);
  loop.AddTask(&child);

  EXPECT_EQ(loop.RunLoop(), VN_OK);

  // Tick 1 merges the child; ticks 2-4 update it with 2.0 (uncapped), 0.5 and 0.0 seconds.
  EXPECT_EQ(child.mDeltas, (std::vector<float>{2.0f, 0.5f, 0.0f}));
  EXPECT_EQ(loop.mOwnTicks, 4);  // the tick in which the child stops removes it and ends the loop
  EXPECT_TRUE(loop.IsStopRequested());
  EXPECT_TRUE(loop.HasNoChildren());
}

TEST_F(ScriptedClock, ApplicationWithoutWindowStopsOnFirstTick) {
  sCounter = {0, 10};
  app::Application* application = app::Application::Instance();
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(application->Run(), VN_OK);
  EXPECT_TRUE(application->IsStopped());
  EXPECT_TRUE(application->IsStarted());
  EXPECT_EQ(sCounterReads, 2u);  // Start and one tick
}

}  // namespace
