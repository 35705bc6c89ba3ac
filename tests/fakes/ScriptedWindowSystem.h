#pragma once
// A window system without a display for unit tests: native windows are records, the cursor, the
// window under it and the monitors are set by the test, and no event arrives by itself (tests post
// messages). Installs itself for its lifetime and gives the process a private runtime folder, so
// single-instance locks of parallel tests do not meet.
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Win32/WindowSystem.h"

namespace fakes {

class ScriptedWindowSystem : public win32::WindowSystem {
 public:
  struct Placement {
    win32::DWORD style;
    win32::RECT rect;
    bool visible;
  };

  ScriptedWindowSystem();
  ~ScriptedWindowSystem() override;

  bool Open(win32::WindowRecord& window) override;
  void Close(win32::WindowRecord& window) override;
  void Place(win32::WindowRecord& window) override;
  void Restore(win32::WindowRecord& window) override;
  void Raise(win32::WindowRecord& window) override;
  void Pump() override {}
  win32::POINT CursorPos() override { return cursor; }
  std::uint32_t MouseFocus() override { return mouseFocus; }
  void ReleaseCapture() override { ++captureReleases; }
  void ShowArrowCursor() override { ++arrowCursors; }
  std::vector<win32::MONITORINFO> Monitors() override { return monitors; }

  // Puts the cursor at a screen point over the window (null: over no window of ours).
  void MoveCursor(win32::HWND over, int x, int y);

  bool failOpen = false;
  win32::POINT cursor{0, 0};
  std::uint32_t mouseFocus = 0;
  std::vector<win32::MONITORINFO> monitors;

  int opened = 0;
  int closed = 0;
  int restored = 0;
  int raised = 0;
  int arrowCursors = 0;
  int captureReleases = 0;
  std::vector<Placement> placements;

 private:
  std::uint32_t mNextId = 0;
  std::string mRuntimeFolder;
  std::string mPreviousRuntimeFolder;
};

// lParam of a key message: scan code, Alt held, key already down (auto-repeat), key-up.
win32::LPARAM KeyLParam(int scanCode, bool alt = false, bool repeat = false, bool up = false);
// Posts a message and handles it at once as the queue would: taken with PM_REMOVE, then dispatched.
void Deliver(win32::HWND window, win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam,
             std::u16string_view text = {});
// Takes every waiting message without dispatching it.
void DrainMessages();

}  // namespace fakes
