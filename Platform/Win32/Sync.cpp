#include "Platform/Win32/Sync.h"

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <new>

namespace win32 {

namespace {

// A thread waits for ResumeThread (or for its handle to be closed) before it runs its entry; from
// then on it never touches this object, so the handle may be closed while the entry runs.
class Thread : public KernelObject {
 public:
  ~Thread() override {
    {
      std::lock_guard<std::mutex> lock(mMutex);
      if (!mResumed) mCancelled = true;
      mWake.notify_all();
    }
    if (!mCreated) return;
    // A thread that closes its own handle cannot wait for itself.
    if (pthread_equal(mThread, pthread_self())) {
      pthread_detach(mThread);
    } else {
      pthread_join(mThread, nullptr);
    }
  }

  static void* Run(void* argument) {
    auto* thread = static_cast<Thread*>(argument);
    LPTHREAD_START_ROUTINE entry = nullptr;
    void* parameter = nullptr;
    {
      std::unique_lock<std::mutex> lock(thread->mMutex);
      thread->mWake.wait(lock, [thread] { return thread->mResumed || thread->mCancelled; });
      if (thread->mCancelled) return nullptr;
      entry = thread->mEntry;
      parameter = thread->mParameter;
    }
    entry(parameter);
    return nullptr;
  }

  std::mutex mMutex;
  std::condition_variable mWake;
  bool mResumed = false;
  bool mCancelled = false;
  LPTHREAD_START_ROUTINE mEntry = nullptr;
  void* mParameter = nullptr;
  std::atomic<int> mPriority{THREAD_PRIORITY_NORMAL};
  pthread_t mThread{};
  bool mCreated = false;
};

Thread* ThreadFrom(HANDLE handle) {
  auto* thread = dynamic_cast<Thread*>(FromHandle(handle));
  if (!thread) SetLastError(ERROR_INVALID_HANDLE);
  return thread;
}

DWORD ErrorFromThreadCreation(int error) {
  return error == EINVAL ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY;
}

std::atomic<DWORD> sNextThreadId{1};

}  // namespace

void InitializeCriticalSection(CRITICAL_SECTION*) {}
void DeleteCriticalSection(CRITICAL_SECTION*) {}
void EnterCriticalSection(CRITICAL_SECTION* section) { section->mutex.lock(); }
void LeaveCriticalSection(CRITICAL_SECTION* section) { section->mutex.unlock(); }

HANDLE CreateThread(void*, std::size_t stackSize, LPTHREAD_START_ROUTINE entry, void* parameter, DWORD flags,
                    DWORD* threadId) {
  if (!entry) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* thread = new (std::nothrow) Thread;
  if (!thread) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  thread->mResumed = !(flags & CREATE_SUSPENDED);
  thread->mEntry = entry;
  thread->mParameter = parameter;

  pthread_attr_t attributes;
  int error = pthread_attr_init(&attributes);
  if (error == 0 && stackSize > 0) {
    const auto minimum = static_cast<std::size_t>(PTHREAD_STACK_MIN);
    error = pthread_attr_setstacksize(&attributes, stackSize < minimum ? minimum : stackSize);
  }
  if (error == 0) error = pthread_create(&thread->mThread, &attributes, Thread::Run, thread);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    delete thread;
    SetLastError(ErrorFromThreadCreation(error));
    return nullptr;
  }
  thread->mCreated = true;
  const DWORD id = sNextThreadId.fetch_add(1);
  if (threadId) *threadId = id;
  return ToHandle(thread);
}

DWORD ResumeThread(HANDLE handle) {
  Thread* thread = ThreadFrom(handle);
  if (!thread) return static_cast<DWORD>(-1);
  std::lock_guard<std::mutex> lock(thread->mMutex);
  const DWORD previous = thread->mResumed ? 0 : 1;
  thread->mResumed = true;
  thread->mWake.notify_all();
  return previous;
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
  Thread* thread = ThreadFrom(handle);
  if (!thread) return FALSE;
  thread->mPriority = priority;
  return TRUE;
}

int GetThreadPriority(HANDLE handle) {
  Thread* thread = ThreadFrom(handle);
  return thread ? thread->mPriority.load() : THREAD_PRIORITY_ERROR_RETURN;
}

}  // namespace win32
