#pragma once
#include "Core/App/Win32/WindowWin32.h"

namespace app {

// The application window; the framework derives its window task from it.
class Window : public WindowWin32 {
 public:
  using WindowWin32::WindowWin32;

  // The window's outer size.
  virtual int GetWidth() const { return GetOuterWidth(); }
  virtual int GetHeight() const { return GetOuterHeight(); }
};

}  // namespace app
