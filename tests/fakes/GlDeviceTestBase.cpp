#include "fakes/GlDeviceTestBase.h"

namespace fakes {

using namespace d3d9;

void GlDeviceTestBase::SetUp() {
  mWindow = std::make_unique<GlWindow>(int(mWidth), int(mHeight));
  ASSERT_NE(mWindow->GetHandle(), nullptr);
  mD3D = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(mD3D, nullptr);
  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = mWidth;
  params.BackBufferHeight = mHeight;
  params.Windowed = TRUE;
  params.hDeviceWindow = mWindow->GetHandle();
  ASSERT_EQ(mD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, params.hDeviceWindow,
                               D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &mDevice),
            D3D_OK);
  ASSERT_EQ(mDevice->GetRenderTarget(0, &mBackBuffer), D3D_OK);
}

void GlDeviceTestBase::TearDown() {
  if (mBackBuffer) mBackBuffer->Release();
  if (mDevice) mDevice->Release();
  if (mD3D) mD3D->Release();
  mWindow.reset();
}

}  // namespace fakes
