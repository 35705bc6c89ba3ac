#include "Platform/Win32/Sync.h"

#include <condition_variable>
#include <new>
#include <thread>

namespace win32 {

namespace {

struct Thread : KernelObject {
  ~Thread() override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!resumed) cancelled = true;
      wake.notify_all();
    }
    if (thread.joinable()) thread.join();
  }

  std::mutex mutex;
  std::condition_variable wake;
  bool resumed = false;
  bool cancelled = false;
  int priority = THREAD_PRIORITY_NORMAL;
  std::thread thread;
};

}  // namespace

void InitializeCriticalSection(CRITICAL_SECTION*) {}
void DeleteCriticalSection(CRITICAL_SECTION*) {}
void EnterCriticalSection(CRITICAL_SECTION* section) { section->mutex.lock(); }
void LeaveCriticalSection(CRITICAL_SECTION* section) { section->mutex.unlock(); }

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE entry, void* parameter, DWORD flags,
                    DWORD* threadId) {
  auto* thread = new (std::nothrow) Thread;
  if (!thread) return nullptr;
  thread->resumed = !(flags & CREATE_SUSPENDED);
  thread->thread = std::thread([thread, entry, parameter] {
    {
      std::unique_lock<std::mutex> lock(thread->mutex);
      thread->wake.wait(lock, [thread] { return thread->resumed || thread->cancelled; });
      if (thread->cancelled) return;
    }
    entry(parameter);
  });
  static DWORD sNextId = 1;
  if (threadId) *threadId = sNextId++;
  return ToHandle(thread);
}

DWORD ResumeThread(HANDLE handle) {
  if (!FromHandle(handle)) return static_cast<DWORD>(-1);
  auto* thread = static_cast<Thread*>(FromHandle(handle));
  std::lock_guard<std::mutex> lock(thread->mutex);
  const DWORD previous = thread->resumed ? 0 : 1;
  thread->resumed = true;
  thread->wake.notify_all();
  return previous;
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
  if (!FromHandle(handle)) return FALSE;
  static_cast<Thread*>(FromHandle(handle))->priority = priority;
  return TRUE;
}

int GetThreadPriority(HANDLE handle) {
  return FromHandle(handle) ? static_cast<Thread*>(FromHandle(handle))->priority : THREAD_PRIORITY_NORMAL;
}

}  // namespace win32
