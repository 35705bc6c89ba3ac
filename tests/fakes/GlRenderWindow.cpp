#include "tests/fakes/GlRenderWindow.h"

#include "Core/Render/RenderInitParam.h"

namespace fakes {

namespace {

// The back end on a bare native window, always usable.
class NativeWindowRenderDX9 : public render::RenderDX9 {
 public:
  explicit NativeWindowRenderDX9(win32::HWND window) : mWindowHandle(window) {}

 protected:
  win32::HWND GetWindowHandle() const override { return mWindowHandle; }
  bool IsWindowUsable() const override { return true; }

 private:
  win32::HWND mWindowHandle;
};

}  // namespace

GlRenderWindow::GlRenderWindow(unsigned width, unsigned height) : mWindow(int(width), int(height)) {
  if (!mWindow.GetHandle()) return;
  render::RenderInitParam param;
  param.mWidth = width;
  param.mHeight = height;
  param.mWindowed = true;
  param.mBuildProjection = true;
  mRender = std::make_unique<NativeWindowRenderDX9>(mWindow.GetHandle());
  if (mRender->InitRender(nullptr, param) != VN_OK) mRender.reset();
}

GlRenderWindow::~GlRenderWindow() { mRender.reset(); }

}  // namespace fakes
