#include "Core/App/Win32/ThreadWin32.h"

#include "Core/App/Application.h"
#include "Core/App/TimerLocal.h"
#include "Platform/Win32/Sync.h"

namespace app {

namespace {

win32::DWORD ThreadEntry(void* parameter) {
  static_cast<ThreadWin32*>(parameter)->RunLoop();
  return 0;
}

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

ThreadWin32::~ThreadWin32() {
  // A thread never resumed ends here without running its loop.
  if (mHandle) win32::CloseHandle(mHandle);
}

bool ThreadWin32::Start(int priority) {
  Application::Instance()->RegisterThread(static_cast<Thread*>(this));
  mHandle = win32::CreateThread(nullptr, 0, ThreadEntry, this, win32::CREATE_SUSPENDED, nullptr);
  if (!mHandle) return false;
  SetPriority(priority);
  return true;
}

VNResultEnum ThreadWin32::RunLoop() {
  TimerLocal timer;
  timer.Start();
  while (!IsStopped() || !HasNoChildren()) {
    timer.Update();
    UpdateTree(timer.GetDelta());
  }
  return VN_OK;
}

void ThreadWin32::SetPriority(int priority) { win32::SetThreadPriority(mHandle, ThreadPriorityOf(priority)); }

}  // namespace app
