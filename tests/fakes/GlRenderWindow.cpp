#include "tests/fakes/GlRenderWindow.h"

#include <gtest/gtest.h>

#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Render/RenderTarget.h"
#include "Platform/D3D9/GlReadback.h"

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

GlRenderWindow::GlRenderWindow(unsigned width, unsigned height, unsigned windowWidth,
                               unsigned windowHeight)
    : mWindow(std::make_unique<GlWindow>(int(windowWidth), int(windowHeight))) {
  if (!mWindow->GetHandle()) return;
  render::RenderInitParam param;
  param.mWidth = width;
  param.mHeight = height;
  param.mWindowed = true;
  param.mBuildProjection = true;
  mRender = std::make_unique<NativeWindowRenderDX9>(mWindow->GetHandle());
  if (mRender->InitRender(nullptr, param) != VN_OK) mRender.reset();
}

GlRenderWindow::~GlRenderWindow() { mRender.reset(); }

::testing::AssertionResult DrawScreenFrame(render::Render& render,
                                           const std::function<void(render::Graphics&)>& draw) {
  if (!render.CheckDevice()) return ::testing::AssertionFailure() << "the device is not ready";
  if (render.BeginFrame() != VN_OK) return ::testing::AssertionFailure() << "BeginFrame failed";
  {
    render::Graphics graphics(&render);
    draw(graphics);
  }
  if (render.EndFrame() != VN_OK || render.Present() != VN_OK) {
    return ::testing::AssertionFailure() << "EndFrame or Present failed";
  }
  if (render.PlayCommands() != VN_OK) return ::testing::AssertionFailure() << "PlayCommands failed";
  return ::testing::AssertionSuccess();
}

std::vector<d3d9::DWORD> ReadTarget(render::RenderDX9& render, render::RenderTarget* target) {
  std::vector<d3d9::DWORD> pixels;
  if (target) {
    auto* texture = static_cast<render::TextureDX9*>(target->GetTexture());
    EXPECT_EQ(d3d9::ReadSurfacePixels(texture->GetSurface(), pixels), d3d9::D3D_OK);
    return pixels;
  }
  d3d9::IDirect3DSurface9* backBuffer = nullptr;
  if (render.GetDevice()->GetRenderTarget(0, &backBuffer) != d3d9::D3D_OK) return pixels;
  EXPECT_EQ(d3d9::ReadSurfacePixels(backBuffer, pixels), d3d9::D3D_OK);
  backBuffer->Release();
  const d3d9::D3DPRESENT_PARAMETERS& params = render.GetPresentParameters();
  EXPECT_EQ(pixels.size(), size_t(params.BackBufferWidth) * params.BackBufferHeight)
      << "the device's target is not the back buffer";
  return pixels;
}

}  // namespace fakes
