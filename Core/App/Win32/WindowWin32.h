#pragma once
#include <string>

#include "Core/Base/Task.h"
#include "Platform/Win32/Messages.h"

namespace input {
class InputWin32;
}

namespace app {

// The application's top-level window as a task: each tick destroys the window when closing was
// requested, then handles at most one message of it. Its WM_DESTROY stops the task, which ends the
// application. Messages become flags (activity, minimised, Alt+Enter) and calls of the input object.
class WindowWin32 : public base::Task {
 public:
  // Styles of the two modes: a fixed-size window with a caption and a minimise box; a bare popup.
  static constexpr win32::DWORD kWindowedStyle = 0x82CA0000;
  static constexpr win32::DWORD kFullScreenStyle = 0x80000000;
  static constexpr win32::UINT_PTR kTimerId = 100;
  static constexpr win32::UINT kTimerPeriodMs = 10;
  static constexpr win32::WORD kDestroyCommand = 105;

  // input is not owned and may be null.
  WindowWin32(input::InputWin32* input, bool autoDelete, bool stopWhenChildrenDone, bool keepParentRunning);
  ~WindowWin32() override;

  VNResultEnum OnStart() override;
  VNResultEnum Update(float dt) override;
  // Requests closing: the next Update destroys the window (the task is not stopped yet).
  void Stop() override;
  virtual bool CanClose();
  virtual void OnActivate();
  virtual void OnDeactivate();
  // Called once after the native window was made.
  virtual void OnCreated();

  // When a window of this class and title already runs (in any process), restores it, marks this
  // process the second instance, stops the application task and returns 0 without a window.
  // Otherwise makes the window (shown) and returns 0; 1 when the native window cannot be made.
  VNResultEnum Create(int x, int y, int outerWidth, int outerHeight, int clientWidth, int clientHeight, bool windowed,
                      const std::u16string& title);
  win32::HWND GetHandle() const { return mHandle; }

  // The outer size of a windowed-style window with that client size.
  static void ClientToWindowSize(int clientWidth, int clientHeight, int& outerWidth, int& outerHeight);
  // Stores the outer size and resizes the window at its position.
  VNResultEnum SetWindowedSize(int outerWidth, int outerHeight);
  // Restyles the window for the mode: full screen at (0, 0), windowed at the last windowed
  // position; shows it and brings it to the front. Nothing when neither mode nor size changed.
  VNResultEnum SwitchWindowMode(int outerWidth, int outerHeight, bool windowed);

  bool IsCreated() const { return mCreated; }
  bool IsApplicationActive() const { return mApplicationActive; }
  bool IsAltDown() const { return mAltDown; }
  bool IsMinimised() const { return mMinimised; }
  bool IsDisabled() const { return mDisabled; }
  // Application active and not minimised.
  bool IsActive() const { return mActive; }
  bool IsWindowed() const { return mWindowed; }
  int GetX() const { return mX; }
  int GetY() const { return mY; }
  int GetOuterWidth() const { return mOuterWidth; }
  int GetOuterHeight() const { return mOuterHeight; }
  int GetClientWidth() const { return mClientWidth; }
  int GetClientHeight() const { return mClientHeight; }
  bool IsCloseRequested() const { return mCloseRequested; }
  bool IsDestroyed() const { return mDestroyed; }
  bool IsCursorInside() const { return mCursorInside; }
  // Set by Alt+Enter; the framework's window task reads and clears it.
  bool IsSwitchRequested() const { return mSwitchRequested; }
  void SetSwitchRequested(bool requested) { mSwitchRequested = requested; }

 private:
  static win32::LRESULT WindowProc(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                   win32::LPARAM lParam);
  win32::LRESULT HandleMessage(win32::HWND window, win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam);
  VNResultEnum CreateNativeWindow();
  void UpdateActivity();
  // True when the cursor crossed the client area's edge since the last check.
  bool CheckMouseLeave();

  win32::HWND mHandle = nullptr;
  std::u16string mTitle;
  std::u16string mClassName;
  win32::HINSTANCE mInstance = nullptr;
  bool mCreated = false;
  bool mApplicationActive = true;
  bool mAltDown = false;
  bool mMinimised = false;
  bool mDisabled = false;
  bool mActive = true;
  bool mWindowed = true;
  int mX = 0;
  int mY = 0;
  int mOuterWidth = 800;
  int mOuterHeight = 600;
  int mClientWidth = 800;
  int mClientHeight = 600;
  bool mCloseRequested = false;
  bool mDestroyed = false;
  bool mSwitchRequested = false;
  bool mCursorInside = false;
  input::InputWin32* mInput;
};

}  // namespace app
