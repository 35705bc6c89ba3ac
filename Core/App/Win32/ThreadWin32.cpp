#include "Core/App/Win32/ThreadWin32.h"

#include "Core/App/Application.h"
#include "Core/App/TimerLocal.h"
#include "Platform/Win32/Sync.h"

namespace app {

namespace {

int ThreadPriorityOf(int priority) {
  switch (priority) {
    case 0: return win32::THREAD_PRIORITY_IDLE;
    case 1: return win32::THREAD_PRIORITY_BELOW_NORMAL;
    case 3: return win32::THREAD_PRIORITY_ABOVE_NORMAL;
    case 4: return win32::THREAD_PRIORITY_HIGHEST;
    case 5: return win32::THREAD_PRIORITY_TIME_CRITICAL;
    default: return win32::THREAD_PRIORITY_NORMAL;
  }
}

}  // namespace

ThreadWin32::ThreadWin32(bool autoDelete, bool stopWhenChildrenDone, bool keepParentRunning, bool)
    : ThreadBase(autoDelete, stopWhenChildrenDone, keepParentRunning, true) {}

ThreadWin32::~ThreadWin32() {
  // Waits for a loop that has ended to leave its system thread; a thread never resumed ends here
  // without running its loop.
  if (mHandle) win32::CloseHandle(mHandle);
}

win32::DWORD ThreadWin32::ThreadEntry(void* parameter) {
  auto* thread = static_cast<ThreadWin32*>(parameter);
  thread->RunLoop();
  // The last touch of the object: its owner may delete it from here on.
  thread->mRunning.store(false, std::memory_order_release);
  return 0;
}

bool ThreadWin32::Start(int priority) {
  mHandle = win32::CreateThread(nullptr, 0, ThreadEntry, this, win32::CREATE_SUSPENDED, nullptr);
  if (!mHandle) return false;
  Application::Instance()->RegisterThread(static_cast<Thread*>(this));
  SetPriority(priority);
  return true;
}

bool ThreadWin32::Resume() {
  if (!mHandle || mResumed) return false;
  mResumed = true;
  // Running from here on, so that a stop request from now on goes through the loop.
  mRunning.store(true, std::memory_order_release);
  if (win32::ResumeThread(mHandle) == static_cast<win32::DWORD>(-1)) {
    mRunning.store(false, std::memory_order_release);
    return false;
  }
  return true;
}

void ThreadWin32::RequestStop() {
  if (IsRunning()) {
    mStopWanted.store(true, std::memory_order_release);
    return;
  }
  // Not running: either never resumed or its loop has ended; nothing else walks the tree.
  StopTree();
}

VNResultEnum ThreadWin32::RunLoop() {
  TimerLocal timer;
  timer.Start();
  while (!IsStopped() || !HasNoChildren()) {
    if (mStopWanted.exchange(false, std::memory_order_acq_rel)) StopTree();
    timer.Update();
    UpdateTree(timer.GetDelta());
  }
  return VN_OK;
}

void ThreadWin32::SetPriority(int priority) { win32::SetThreadPriority(mHandle, ThreadPriorityOf(priority)); }

}  // namespace app
