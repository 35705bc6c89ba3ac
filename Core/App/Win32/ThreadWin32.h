#pragma once
#include "Core/App/ThreadBase.h"
#include "Platform/Win32/Types.h"

namespace app {

// A task that can run its own loop on an operating-system thread.
class ThreadWin32 : public ThreadBase {
 public:
  using ThreadBase::ThreadBase;
  ~ThreadWin32() override;

  // Registers the thread with the application and creates it suspended; false when that fails.
  virtual bool Start(int priority);
  // Ticks the subtree with the measured frame time until it is stopped and has no children.
  virtual VNResultEnum RunLoop();
  // 0 idle, 1 below normal, 2 normal, 3 above normal, 4 high, 5 real-time; others: normal.
  virtual void SetPriority(int priority);

 protected:
  win32::HANDLE mHandle = nullptr;
};

}  // namespace app
