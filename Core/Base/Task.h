#pragma once
#include <atomic>
#include <vector>

#include "Core/Base/Result.h"

namespace app {
class CriticalSection;
}

namespace base {

// An updatable node of the task tree: started once, then ticked with the frame time; children tick
// before their parent. A task does not own its children, except through DeleteChildren and the
// auto-delete flag of finished children.
// Threads: a tree is ticked, stopped and changed on the one thread that runs it. From other threads
// only AddTask (on a task with a lock) and the reads of the stopped and stop-requested flags are
// safe; a thread's tree is stopped from outside through app::ThreadWin32::RequestStop.
class Task {
 public:
  Task(bool autoDelete, bool stopWhenChildrenDone, bool keepParentRunning, bool createLock);
  virtual ~Task();
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  virtual VNResultEnum OnStart();
  virtual VNResultEnum Update(float dt);
  // Default: marks the task stopped. A derived task may stop later, after an orderly shutdown.
  virtual void Stop();

  // One tick of the subtree; the first failure ends the tick and is returned unchanged.
  VNResultEnum UpdateTree(float dt);
  VNResultEnum UpdateChildren(float dt);
  // Stops the children first (deepest first), then this task. Pending tasks are not stopped.
  void StopTree();
  // Queues a child; it takes part in ticks from the parent's next tick on. Safe from any thread.
  bool AddTask(Task* child);
  // Deletes every child and every pending auto-delete task, and empties both lists.
  void DeleteChildren();

  bool HasNoChildren() const { return mChildren.empty(); }
  bool HasBlockingChild() const;
  bool IsStopped() const { return mStopped.load(std::memory_order_acquire); }
  bool IsStopRequested() const { return mStopRequested.load(std::memory_order_acquire); }
  bool IsStarted() const { return mStarted; }
  bool IsAutoDelete() const { return mAutoDelete; }
  bool KeepsParentRunning() const { return mKeepParentRunning; }
  // Stopped with no children: the parent removes it at its next tick.
  bool IsFinished() const { return IsStopped() && mChildren.empty(); }

 protected:
  void SetStopped(bool stopped) { mStopped.store(stopped, std::memory_order_release); }

 private:
  std::atomic<bool> mStopRequested{false};
  std::atomic<bool> mStopped{false};
  std::vector<Task*> mChildren;
  std::vector<Task*> mPending;
  bool mStopWhenChildrenDone;
  bool mAutoDelete;
  bool mKeepParentRunning;
  bool mStarted = false;
  app::CriticalSection* mLock = nullptr;
};

}  // namespace base
