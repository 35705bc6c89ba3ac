#pragma once
// The engine's Direct3D 9 back end on a real OpenGL 3.3 core context: a hidden window of the window
// layer (under the runner's video driver) and a RenderDX9 started on it at the given size, with
// frames drawn through the screen context and targets read back.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "Core/Render/DX9/RenderDX9.h"
#include "tests/fakes/GlWindow.h"

namespace render {
class Graphics;
class RenderTarget;
}  // namespace render

namespace fakes {

class GlRenderWindow {
 public:
  GlRenderWindow(unsigned width, unsigned height) : GlRenderWindow(width, height, width, height) {}
  // A back buffer of width x height in a window of another size, which Present stretches it over.
  GlRenderWindow(unsigned width, unsigned height, unsigned windowWidth, unsigned windowHeight);
  // The renderer first, then the window, unless the window went first (DestroyWindow).
  ~GlRenderWindow();
  GlRenderWindow(const GlRenderWindow&) = delete;
  GlRenderWindow& operator=(const GlRenderWindow&) = delete;

  // Null when the window or the device could not be made.
  render::RenderDX9* GetRender() const { return mRender.get(); }
  // Destroys the window, and its GL context, while the renderer lives on.
  void DestroyWindow() { mWindow.reset(); }

 private:
  std::unique_ptr<GlWindow> mWindow;
  std::unique_ptr<render::RenderDX9> mRender;
};

// One frame as the frame loop draws it: device check, begin, `draw` on a fresh screen context,
// end, present and playback. Fails when the device is not ready or a step fails.
::testing::AssertionResult DrawScreenFrame(render::Render& render,
                                           const std::function<void(render::Graphics&)>& draw);

// The back buffer (target null; the device's target, as after a frame) or a render target of the
// renderer, top row first, 0xAARRGGBB.
std::vector<d3d9::DWORD> ReadTarget(render::RenderDX9& render, render::RenderTarget* target);

}  // namespace fakes
