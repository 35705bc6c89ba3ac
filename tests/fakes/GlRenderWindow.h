#pragma once
// The engine's Direct3D 9 back end on a real OpenGL 3.3 core context: a hidden window of the window
// layer (under the runner's video driver) and a RenderDX9 started on it at the given size.
#include <memory>

#include "Core/Render/DX9/RenderDX9.h"
#include "tests/fakes/GlWindow.h"

namespace fakes {

class GlRenderWindow {
 public:
  // The leak checker is off while it lives (the window's).
  GlRenderWindow(unsigned width, unsigned height);
  ~GlRenderWindow();
  GlRenderWindow(const GlRenderWindow&) = delete;
  GlRenderWindow& operator=(const GlRenderWindow&) = delete;

  // Null when the window or the device could not be made.
  render::RenderDX9* GetRender() const { return mRender.get(); }

 private:
  GlWindow mWindow;
  std::unique_ptr<render::RenderDX9> mRender;
};

}  // namespace fakes
