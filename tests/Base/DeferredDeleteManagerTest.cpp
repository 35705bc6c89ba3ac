#include "Core/Base/DeferredDeleteManager.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Logs its deletion; may queue a follower from its destructor.
class Doomed : public base::DeferredDeletable {
 public:
  Doomed(std::string& log, char name, base::DeferredDeleteManager* manager = nullptr, Doomed* follower = nullptr)
      : mLog(log), mName(name), mManager(manager), mFollower(follower) {}
  ~Doomed() override {
    mLog += mName;
    if (mManager && mFollower) mManager->QueueDelete(mFollower);
  }

 private:
  std::string& mLog;
  char mName;
  base::DeferredDeleteManager* mManager;
  Doomed* mFollower;
};

TEST(DeferredDeleteManagerTest, DeletesInOrderIncludingObjectsQueuedDuringTheFlush) {
  std::string log;
  base::DeferredDeleteManager manager;
  manager.QueueDelete(new Doomed(log, 'a', &manager, new Doomed(log, 'c')));
  manager.QueueDelete(nullptr);
  manager.QueueDelete(new Doomed(log, 'b'));
  manager.DeleteQueued();
  EXPECT_EQ(log, "abc");
  EXPECT_FALSE(manager.HasQueued());
  manager.DeleteQueued();  // an empty flush does nothing
  EXPECT_EQ(log, "abc");
}

}  // namespace
