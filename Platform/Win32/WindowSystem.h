#pragma once
// The native side of the window layer: SDL for the program, a scripted one for unit tests.
// Private to Platform/Win32 (and the test fakes).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Platform/Win32/Monitor.h"

namespace win32 {

class InstanceServer;

// What the layer knows of one window.
struct WindowRecord {
  HWND handle = nullptr;
  std::u16string className;
  std::u16string title;
  UINT classStyle = 0;
  DWORD style = 0;
  RECT rect{};  // the client area on the screen; the outer rectangle is the same
  bool visible = false;
  bool minimized = false;
  bool destroying = false;  // WM_DESTROY is being sent
  LONG_PTR userData = 0;
  std::uint32_t nativeId = 0;  // the window system's id of the native window
  void* native = nullptr;      // the window system's own data
  std::unique_ptr<InstanceServer> instance;  // answers other instances' FindWindowW and restore
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Makes the native window of a new record, hidden, and sets its nativeId. False on failure, with
  // the cause written to standard error.
  virtual bool Open(WindowRecord& window) = 0;
  virtual void Close(WindowRecord& window) = 0;
  // Applies the record's style, rectangle and visibility to the native window.
  virtual void Place(WindowRecord& window) = 0;
  // Un-minimises and shows the window.
  virtual void Restore(WindowRecord& window) = 0;
  virtual void Raise(WindowRecord& window) = 0;
  // Turns the native events that wait into messages.
  virtual void Pump() = 0;
  virtual POINT CursorPos() = 0;
  // nativeId of the window that has the mouse, 0 when none has.
  virtual std::uint32_t MouseFocus() = 0;
  // Ends the capture that a held button keeps, until every button is up again.
  virtual void ReleaseCapture() = 0;
  virtual void ShowArrowCursor() = 0;
  // Every display, the primary (display 0) first: rcMonitor, rcWork and dwFlags filled.
  virtual std::vector<MONITORINFO> Monitors() = 0;
};

// The window system in use; SDL unless one was set.
WindowSystem& TheWindowSystem();
// Replaces the window system (tests); null goes back to SDL. Only while no window exists.
void SetWindowSystem(WindowSystem* system);

// The record of a live window of this process, null for any other handle. Main thread only.
WindowRecord* FindWindowRecord(HWND window);
WindowRecord* FindWindowRecordByNativeId(std::uint32_t nativeId);
// Every live window of this process, in creation order.
std::vector<WindowRecord*> AllWindowRecords();

}  // namespace win32
