#include "Platform/Win32/Messages.h"

#include <deque>
#include <map>
#include <mutex>

namespace win32 {

namespace {

struct Queue {
  std::mutex mutex;
  std::deque<MSG> messages;
  std::map<HWND, WNDPROC> procedures;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

bool Matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window && message.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.messages.push_back(MSG{window, message, wParam, lParam, 0, POINT{0, 0}});
  return TRUE;
}

void PostQuitMessage(int exitCode) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
    if (!Matches(*it, window, filterMin, filterMax)) continue;
    *message = *it;
    if (remove & PM_REMOVE) queue.messages.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG* message) {
  const WNDPROC procedure = GetWindowProc(message->hwnd);
  return procedure ? procedure(message->hwnd, message->message, message->wParam, message->lParam) : 0;
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
  for (auto it = queue.messages.begin(); it != queue.messages.end();) {
    it = it->hwnd == window ? queue.messages.erase(it) : it + 1;
  }
}

}  // namespace win32
