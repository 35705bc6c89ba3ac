#pragma once
// Test fixture: an OpenGL device on a hidden window of the window layer, with its back buffer.
#include <gtest/gtest.h>

#include <memory>

#include "Platform/D3D9/D3D9.h"
#include "fakes/GlWindow.h"

namespace fakes {

class GlDeviceTestBase : public ::testing::Test {
 protected:
  GlDeviceTestBase(d3d9::UINT width, d3d9::UINT height) : mWidth(width), mHeight(height) {}

  void SetUp() override;
  void TearDown() override;

  const d3d9::UINT mWidth;
  const d3d9::UINT mHeight;
  std::unique_ptr<GlWindow> mWindow;
  d3d9::IDirect3D9* mD3D = nullptr;
  d3d9::IDirect3DDevice9* mDevice = nullptr;
  d3d9::IDirect3DSurface9* mBackBuffer = nullptr;
};

}  // namespace fakes
