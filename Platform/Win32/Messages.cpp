#include "Platform/Win32/Messages.h"

#include <deque>
#include <map>
#include <mutex>
#include <string>

#include "Platform/Win32/KeyState.h"
#include "Platform/Win32/Process.h"

namespace win32 {

namespace {

struct Entry {
  MSG message;
  std::u16string text;  // what the key typed, for key messages
};

struct Timer {
  UINT period;
  DWORD due;
};

struct Queue {
  std::mutex mutex;
  std::deque<Entry> entries;
  std::map<HWND, WNDPROC> procedures;
  std::map<std::pair<HWND, UINT_PTR>, Timer> timers;
  void (*pump)() = nullptr;
};

Queue& TheQueue() {
  // Never destroyed: windows are destroyed by the singletons at exit, after function statics.
  static Queue& queue = *new Queue;
  return queue;
}

bool InFilter(UINT number, UINT filterMin, UINT filterMax) {
  return (filterMin == 0 && filterMax == 0) || (number >= filterMin && number <= filterMax);
}

bool Matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window && message.hwnd != window) return false;
  return InFilter(message.message, filterMin, filterMax);
}

BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::u16string_view text) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.entries.push_back(Entry{MSG{window, message, wParam, lParam, 0, POINT{0, 0}}, std::u16string(text)});
  return TRUE;
}

// Under the queue lock: the first matching waiting message, or a due timer.
bool Take(Queue& queue, MSG* message, std::u16string* text, HWND window, UINT filterMin, UINT filterMax,
          UINT remove) {
  for (auto it = queue.entries.begin(); it != queue.entries.end(); ++it) {
    if (!Matches(it->message, window, filterMin, filterMax)) continue;
    *message = it->message;
    *text = it->text;
    if (remove & PM_REMOVE) queue.entries.erase(it);
    return true;
  }
  if (queue.timers.empty() || !InFilter(WM_TIMER, filterMin, filterMax)) return false;
  const DWORD now = GetTickCount();
  for (auto& [key, timer] : queue.timers) {
    if (window && key.first != window) continue;
    if (static_cast<std::int32_t>(now - timer.due) < 0) continue;
    if (remove & PM_REMOVE) timer.due = now + timer.period;
    *message = MSG{key.first, WM_TIMER, key.second, 0, now, POINT{0, 0}};
    text->clear();
    return true;
  }
  return false;
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Post(window, message, wParam, lParam, {});
}

BOOL PostKeyMessage(HWND window, UINT message, WPARAM virtualKey, LPARAM lParam, std::u16string_view text) {
  return Post(window, message, virtualKey, lParam, text);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC procedure = GetWindowProc(window);
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
  Queue& queue = TheQueue();
  std::u16string text;
  bool found = false;
  void (*pump)() = nullptr;
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    pump = queue.pump;
    for (const Entry& entry : queue.entries) {
      if (Matches(entry.message, window, filterMin, filterMax)) found = true;
    }
  }
  // The pump posts, so it runs outside the lock.
  if (!found && pump) pump();
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    if (!Take(queue, message, &text, window, filterMin, filterMax, remove)) return FALSE;
  }
  if (remove & PM_REMOVE) TrackInputMessage(*message, text);
  return TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG* message) {
  return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}

DWORD GetTickCount() {
  LONGLONG counter = 0;
  QueryPerformanceCounter(&counter);
  return static_cast<DWORD>(counter / 1000000);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback) {
  if (callback || !window) return 0;
  Queue& queue = TheQueue();
  const DWORD now = GetTickCount();
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.timers[{window, id}] = Timer{period, now + period};
  return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  return queue.timers.erase({window, id}) ? TRUE : FALSE;
}

void SetMessagePump(void (*pump)()) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.pump = pump;
}

void SetWindowProc(HWND window, WNDPROC procedure) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.procedures[window] = procedure;
}

WNDPROC GetWindowProc(HWND window) {
  if (!window) return nullptr;
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  const auto it = queue.procedures.find(window);
  return it == queue.procedures.end() ? nullptr : it->second;
}

void ForgetWindow(HWND window) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.procedures.erase(window);
  for (auto it = queue.timers.begin(); it != queue.timers.end();) {
    it = it->first.first == window ? queue.timers.erase(it) : std::next(it);
  }
  for (auto it = queue.entries.begin(); it != queue.entries.end();) {
    it = it->message.hwnd == window ? queue.entries.erase(it) : it + 1;
  }
}

}  // namespace win32
