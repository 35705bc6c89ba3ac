#pragma once
// Critical sections and threads.
#include <memory>
#include <mutex>

#include "Platform/Win32/Handle.h"
#include "Platform/Win32/Types.h"

namespace win32 {

// Recursive, as a Win32 critical section is.
struct CRITICAL_SECTION {
  std::recursive_mutex mutex;
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);

using LPTHREAD_START_ROUTINE = DWORD (*)(void* parameter);
constexpr DWORD CREATE_SUSPENDED = 0x00000004;

constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

// Security attributes are not used; a non-zero stack size is the thread's stack size. Never throws:
// returns null with the last error set (ERROR_NOT_ENOUGH_MEMORY when the system has no thread or
// stack to give, ERROR_INVALID_PARAMETER for a null entry). Any thread may create threads; the
// ids are unique in the process.
HANDLE CreateThread(void* security, std::size_t stackSize, LPTHREAD_START_ROUTINE entry, void* parameter,
                    DWORD flags, DWORD* threadId);
// Starts a thread created suspended. Returns the previous suspend count, or (DWORD)-1 with
// ERROR_INVALID_HANDLE when the handle is not a thread's.
DWORD ResumeThread(HANDLE thread);
// Kept as a request only: an ordinary Linux process may not raise priorities. The handle is checked
// as ResumeThread's is (FALSE, THREAD_PRIORITY_ERROR_RETURN).
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
// CloseHandle (Handle.h) on a thread waits for a resumed thread to end; a thread never resumed ends
// without running its entry. A thread may close its own handle.

}  // namespace win32
