#pragma once
// The engine's Direct3D 9 back end on a real OpenGL 3.3 core context: an SDL window of the given
// size (SDL's offscreen driver for the tests), the context and a RenderDX9 started on them.
#include <memory>

#include "Core/Render/DX9/RenderDX9.h"

struct SDL_Window;

namespace fakes {

class GlRenderWindow {
 public:
  // Driver allocations are kept out of the leak check while the window lives.
  GlRenderWindow(unsigned width, unsigned height);
  ~GlRenderWindow();
  GlRenderWindow(const GlRenderWindow&) = delete;
  GlRenderWindow& operator=(const GlRenderWindow&) = delete;

  // Null when no window, context or device could be made (then GetError says why).
  render::RenderDX9* GetRender() const { return mRender.get(); }
  const char* GetError() const { return mError; }

 private:
  SDL_Window* mWindow = nullptr;
  void* mContext = nullptr;
  std::unique_ptr<render::RenderDX9> mRender;
  const char* mError = "";
};

}  // namespace fakes
