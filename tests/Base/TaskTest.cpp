#include "Core/Base/Task.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

// Records its start, updates, stop and destruction into a shared log.
class RecordingTask : public base::Task {
 public:
  RecordingTask(Events& events, std::string name, bool autoDelete = false, bool stopWhenDone = false,
                bool keepParent = false)
      : Task(autoDelete, stopWhenDone, keepParent, true), mEvents(events), mName(std::move(name)) {}
  ~RecordingTask() override { mEvents.push_back(mName + ".delete"); }

  VNResultEnum OnStart() override {
    mEvents.push_back(mName + ".start");
    return mStartResult;
  }
  VNResultEnum Update(float) override {
    mEvents.push_back(mName + ".update");
    if (mOnUpdate) mOnUpdate();
    return mUpdateResult;
  }
  void Stop() override {
    mEvents.push_back(mName + ".stop");
    Task::Stop();
  }

  VNResultEnum mStartResult = VN_OK;
  VNResultEnum mUpdateResult = VN_OK;
  std::function<void()> mOnUpdate;

 private:
  Events& mEvents;
  std::string mName;
};

TEST(TaskTest, StopWhenChildrenDoneWithNoChildStopsAfterFirstUpdate) {
  Events events;
  RecordingTask root(events, "root", false, true, false);
  EXPECT_EQ(root.UpdateTree(0.1f), VN_OK);
  EXPECT_EQ(events, (Events{"root.start", "root.update", "root.stop"}));
  EXPECT_TRUE(root.IsFinished());
  EXPECT_EQ(root.UpdateTree(0.1f), VN_OK);  // finished: nothing more runs
  EXPECT_EQ(events.size(), 3u);
}

TEST(TaskTest, BlockingChildKeepsParentUntilRemoved) {
  Events events;
  RecordingTask root(events, "root", false, true, false);
  RecordingTask child(events, "child", false, false, true);
  root.AddTask(&child);

  root.UpdateTree(0.0f);  // child merged, not ticked; it blocks the stop
  EXPECT_EQ(events, (Events{"root.start", "root.update"}));
  events.clear();

  root.UpdateTree(0.0f);
  EXPECT_EQ(events, (Events{"child.start", "child.update", "root.update"}));
  events.clear();

  child.Stop();
  events.clear();
  root.UpdateTree(0.0f);  // child removed as finished (not deleted), then the root stops
  EXPECT_EQ(events, (Events{"root.update", "root.stop"}));
  EXPECT_TRUE(root.HasNoChildren());
  EXPECT_TRUE(root.IsFinished());
}

TEST(TaskTest, ChildAddedDuringTickStartsOnNextTick) {
  Events events;
  RecordingTask root(events, "root");
  RecordingTask late(events, "late");
  root.mOnUpdate = [&] {
    if (!late.IsStarted() && root.HasNoChildren()) root.AddTask(&late);
  };
  root.UpdateTree(0.0f);
  EXPECT_EQ(events, (Events{"root.start", "root.update"}));
  events.clear();
  root.UpdateTree(0.0f);  // merged after the children's step of this tick
  EXPECT_EQ(events, (Events{"root.update"}));
  events.clear();
  root.UpdateTree(0.0f);
  EXPECT_EQ(events, (Events{"late.start", "late.update", "root.update"}));
}

TEST(TaskTest, StopTreeStopsChildrenBeforeParent) {
  Events events;
  RecordingTask root(events, "root");
  RecordingTask child(events, "child");
  RecordingTask grandchild(events, "grandchild");
  root.AddTask(&child);
  child.AddTask(&grandchild);
  root.UpdateTree(0.0f);
  root.UpdateTree(0.0f);
  events.clear();
  root.StopTree();
  EXPECT_EQ(events, (Events{"grandchild.stop", "child.stop", "root.stop"}));
  EXPECT_TRUE(root.IsStopRequested());
  EXPECT_TRUE(grandchild.IsStopRequested());
}

TEST(TaskTest, FailingChildEndsTickAndLeavesTreeAsIs) {
  Events events;
  RecordingTask root(events, "root");
  auto* first = new RecordingTask(events, "first", true);
  auto* second = new RecordingTask(events, "second", true);
  root.AddTask(first);
  root.AddTask(second);
  root.UpdateTree(0.0f);
  events.clear();

  first->mUpdateResult = VN_FAIL;
  RecordingTask pending(events, "pending");
  root.AddTask(&pending);
  EXPECT_EQ(root.UpdateTree(0.0f), VN_FAIL);
  EXPECT_EQ(events, (Events{"first.start", "first.update"}));

  first->mUpdateResult = VN_OK;
  events.clear();
  EXPECT_EQ(root.UpdateTree(0.0f), VN_OK);
  EXPECT_EQ(events, (Events{"first.update", "second.start", "second.update", "root.update"}));
  root.StopTree();
  root.UpdateTree(0.0f);  // removes all three; deletes the auto-delete ones
  EXPECT_TRUE(root.HasNoChildren());
}

TEST(TaskTest, FailingStartIsReturnedAndNotRetried) {
  Events events;
  RecordingTask root(events, "root");
  root.mStartResult = VN_FAIL;
  EXPECT_EQ(root.UpdateTree(0.0f), VN_FAIL);
  EXPECT_EQ(root.UpdateTree(0.0f), VN_OK);
  EXPECT_EQ(events, (Events{"root.start", "root.update"}));
}

TEST(TaskTest, FinishedChildrenAreRemovedAndAutoDeleteOnesDeleted) {
  Events events;
  RecordingTask root(events, "root");
  RecordingTask kept(events, "kept");
  root.AddTask(new RecordingTask(events, "temp", true));
  root.AddTask(&kept);
  root.UpdateTree(0.0f);
  root.UpdateTree(0.0f);
  root.StopTree();
  events.clear();
  root.UpdateTree(0.0f);
  EXPECT_EQ(events, (Events{"temp.delete", "root.update"}));
  EXPECT_TRUE(root.HasNoChildren());
  EXPECT_TRUE(kept.IsStopped());  // removed, still alive
}

TEST(TaskTest, DeleteChildrenEmptiesListsAndDeletesPendingAutoDeleteTasks) {
  Events events;
  RecordingTask root(events, "root");
  RecordingTask owned(events, "owned");
  root.AddTask(new RecordingTask(events, "child", false));
  root.UpdateTree(0.0f);
  root.AddTask(new RecordingTask(events, "pendingAuto", true));
  root.AddTask(&owned);
  events.clear();
  root.DeleteChildren();
  EXPECT_EQ(events, (Events{"child.delete", "pendingAuto.delete"}));
  EXPECT_TRUE(root.HasNoChildren());
  events.clear();
  root.UpdateTree(0.0f);  // nothing stale left in either list
  EXPECT_EQ(events, (Events{"root.update"}));
}

}  // namespace
