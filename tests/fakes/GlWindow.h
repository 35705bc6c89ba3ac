#pragma once
// A hidden window of the window layer with its OpenGL 3.3 core context, for tests of the OpenGL
// device (under the test runner's video driver). Leaks are checked; only the driver's own modules
// are excused (DriverLeaks.h).
#include "Platform/Win32/Types.h"

namespace fakes {

class GlWindow {
 public:
  // Client size in pixels.
  GlWindow(int width, int height);
  ~GlWindow();
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

  // Null when the window could not be made.
  win32::HWND GetHandle() const { return mHandle; }

 private:
  win32::HWND mHandle = nullptr;
};

}  // namespace fakes
