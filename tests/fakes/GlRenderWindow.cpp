#include "tests/fakes/GlRenderWindow.h"

#include <SDL.h>

#include "Core/Render/RenderInitParam.h"
#include "tests/fakes/DriverLeaks.h"

namespace fakes {

GlRenderWindow::GlRenderWindow(unsigned width, unsigned height) {
  IgnoreDriverLeaks(true);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    mError = SDL_GetError();
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  mWindow = SDL_CreateWindow("engine", 0, 0, int(width), int(height), SDL_WINDOW_OPENGL);
  mContext = mWindow ? SDL_GL_CreateContext(mWindow) : nullptr;
  if (!mContext) {
    mError = SDL_GetError();
    return;
  }
  render::RenderInitParam param;
  param.mWidth = width;
  param.mHeight = height;
  param.mWindowed = true;
  param.mBuildProjection = true;
  mRender = std::make_unique<render::RenderDX9>();
  // Until the window class exists the back end takes the native window.
  if (mRender->InitRender(reinterpret_cast<app::Window*>(mWindow), param) != VN_OK) {
    mRender.reset();
    mError = "the Direct3D 9 back end did not start";
  }
}

GlRenderWindow::~GlRenderWindow() {
  mRender.reset();
  if (mContext) SDL_GL_DeleteContext(mContext);
  if (mWindow) SDL_DestroyWindow(mWindow);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  IgnoreDriverLeaks(false);
}

}  // namespace fakes
