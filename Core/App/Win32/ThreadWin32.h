#pragma once
#include <atomic>

#include "Core/App/ThreadBase.h"
#include "Platform/Win32/Types.h"

namespace app {

// A task that can run its own loop on an operating-system thread.
// A thread always owns a lock, whatever createLock says: other threads feed its pending list.
// Lifetime: Start creates the system thread suspended, Resume lets its loop run; RequestStop (from
// any thread) stops its tree, and the loop ends once the thread is stopped with no children. The
// object must not be destroyed while IsRunning(); the application deletes an auto-deleting thread
// after its loop has ended.
class ThreadWin32 : public ThreadBase {
 public:
  ThreadWin32(bool autoDelete, bool stopWhenChildrenDone, bool keepParentRunning, bool createLock);
  ~ThreadWin32() override;

  // Creates the system thread suspended and registers the thread with the application. False when
  // the system cannot create it (the thread is then not registered).
  virtual bool Start(int priority);
  // Ticks the subtree with the measured frame time until it is stopped and has no children.
  virtual VNResultEnum RunLoop();
  // 0 idle, 1 below normal, 2 normal, 3 above normal, 4 high, 5 real-time; others: normal.
  virtual void SetPriority(int priority);

  // Lets a started thread run its loop. False when it was not started or was resumed before.
  bool Resume();
  // True from Resume until the loop on the system thread has ended.
  bool IsRunning() const { return mRunning.load(std::memory_order_acquire); }
  // Stops the tree: a running loop does it on its own thread before its next tick, a thread that
  // does not run is stopped at once. Safe from any thread.
  void RequestStop();

 protected:
  win32::HANDLE mHandle = nullptr;

 private:
  static win32::DWORD ThreadEntry(void* parameter);

  std::atomic<bool> mRunning{false};
  std::atomic<bool> mStopWanted{false};
  bool mResumed = false;
};

}  // namespace app
