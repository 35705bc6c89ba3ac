// The OpenGL device read back under Mesa's software rasteriser (SDL's offscreen driver).
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/GlReadback.h"
#include "Platform/Win32/WindowHandle.h"
#include "fakes/GlDeviceTestBase.h"

namespace {

using namespace d3d9;

constexpr UINT kWidth = 16;
constexpr UINT kHeight = 8;
constexpr DWORD kRed = 0xFFFF0000u;
constexpr DWORD kBlue = 0xFF0000FFu;
constexpr DWORD kGreen = 0xFF00FF00u;
constexpr DWORD kBlack = 0xFF000000u;

class GlDeviceTest : public fakes::GlDeviceTestBase {
 protected:
  GlDeviceTest() : GlDeviceTestBase(kWidth, kHeight) {}

  std::vector<DWORD> Read(IDirect3DSurface9* surface) {
    std::vector<DWORD> pixels;
    EXPECT_EQ(ReadSurfacePixels(surface, pixels), D3D_OK);
    return pixels;
  }

  // Expects colour `inside` within the rectangle and `outside` everywhere else.
  static void ExpectRect(const std::vector<DWORD>& pixels, UINT width, RECT r, DWORD inside,
                         DWORD outside) {
    for (size_t i = 0; i < pixels.size(); ++i) {
      const LONG x = LONG(i % width), y = LONG(i / width);
      const bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      ASSERT_EQ(pixels[i], in ? inside : outside) << "pixel " << x << ", " << y;
    }
  }
};

TEST_F(GlDeviceTest, OnlyAWindowWithAContextGetsADevice) {
  D3DPRESENT_PARAMETERS params = {};
  params.Windowed = TRUE;
  IDirect3DDevice9* device = nullptr;
  EXPECT_EQ(mD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &params, &device),
            D3DERR_NOTAVAILABLE);
  EXPECT_EQ(device, nullptr);
}

TEST_F(GlDeviceTest, CapsComeFromTheContext) {
  D3DCAPS9 caps;
  ASSERT_EQ(mD3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps), D3D_OK);
  EXPECT_GE(caps.MaxTextureWidth, 2048u);
  EXPECT_EQ(caps.MaxTextureWidth, caps.MaxTextureHeight);
  EXPECT_TRUE(caps.RasterCaps & D3DPRASTERCAPS_SCISSORTEST);
  EXPECT_GE(caps.MaxVertexIndex, 0xFFFFu);
  EXPECT_EQ(caps.VertexShaderVersion, D3DVS_VERSION(1, 1));
  EXPECT_EQ(caps.PixelShaderVersion, D3DPS_VERSION(2, 0));
}

TEST_F(GlDeviceTest, ClearFillsTheBackBuffer) {
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kRed, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, {0, 0, 0, 0}, 0, kRed);
}

// The fixture's back buffer has no alpha, as Direct3D's X8R8G8B8, and may be the window's own
// framebuffer; one with alpha keeps it whatever the window stores.
TEST_F(GlDeviceTest, BackBufferWithAlphaKeepsIt) {
  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = kWidth;
  params.BackBufferHeight = kHeight;
  params.BackBufferFormat = D3DFMT_A8R8G8B8;
  params.Windowed = TRUE;
  params.hDeviceWindow = mWindow->GetHandle();
  ASSERT_EQ(mDevice->Reset(&params), D3D_OK);
  const DWORD halfRed = 0x80FF0000u;
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, halfRed, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, {0, 0, 0, 0}, 0, halfRed);
  ASSERT_EQ(mDevice->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, {0, 0, 0, 0}, 0, halfRed);
}

TEST_F(GlDeviceTest, ScissorCutsTheClearFromTheTopLeft) {
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
  const RECT scissor = {2, 1, 7, 5};
  ASSERT_EQ(mDevice->SetScissorRect(&scissor), D3D_OK);
  ASSERT_EQ(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, scissor, kBlue, kRed);
  // Off again: the whole viewport.
  ASSERT_EQ(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, {0, 0, 0, 0}, 0, kGreen);
}

// A scissor rectangle as large as the target clears all of it and leaves the test on for what
// follows.
TEST_F(GlDeviceTest, ScissorAsLargeAsTheTargetClearsItAll) {
  const RECT all = {0, 0, LONG(kWidth), LONG(kHeight)};
  ASSERT_EQ(mDevice->SetScissorRect(&all), D3D_OK);
  ASSERT_EQ(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, {0, 0, 0, 0}, 0, kRed);
  const RECT part = {2, 1, 7, 5};
  ASSERT_EQ(mDevice->SetScissorRect(&part), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, part, kBlue, kRed);
}

TEST_F(GlDeviceTest, ClearStaysInsideTheViewport) {
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
  const D3DVIEWPORT9 viewport = {4, 2, 8, 3, 0.0f, 1.0f};
  ASSERT_EQ(mDevice->SetViewport(&viewport), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, {4, 2, 12, 5}, kBlue, kRed);
}

TEST_F(GlDeviceTest, RenderTargetIsStoredTopRowFirstAndResetsTheViewport) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(mDevice->CreateTexture(8, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                   D3DPOOL_DEFAULT, &texture, nullptr),
            D3D_OK);
  IDirect3DSurface9* surface = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
  const D3DVIEWPORT9 small = {1, 1, 2, 2, 0.0f, 1.0f};
  ASSERT_EQ(mDevice->SetViewport(&small), D3D_OK);
  ASSERT_EQ(mDevice->SetRenderTarget(0, surface), D3D_OK);
  // The viewport now covers the whole target.
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
  const RECT topRows = {1, 0, 6, 2};
  ASSERT_EQ(mDevice->SetScissorRect(&topRows), D3D_OK);
  ASSERT_EQ(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0), D3D_OK);
  ExpectRect(Read(surface), 8, topRows, kGreen, kBlack);

  // Back on the back buffer the same scissor rectangle is again measured from the top.
  ASSERT_EQ(mDevice->SetRenderTarget(0, mBackBuffer), D3D_OK);
  ASSERT_EQ(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
  ASSERT_EQ(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
  ExpectRect(Read(mBackBuffer), kWidth, topRows, kBlue, kRed);
  surface->Release();
  texture->Release();
}

TEST_F(GlDeviceTest, DynamicTextureLockUploadsOnUnlock) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(mDevice->CreateTexture(4, 3, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                   &texture, nullptr),
            D3D_OK);
  for (DWORD frame = 0; frame < 2; ++frame) {
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    ASSERT_EQ(locked.Pitch, 16);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3DERR_INVALIDCALL);
    for (DWORD i = 0; i < 12; ++i) static_cast<DWORD*>(locked.pBits)[i] = 0x80000000u + i + frame;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    const std::vector<DWORD> pixels = Read(surface);
    for (DWORD i = 0; i < 12; ++i) ASSERT_EQ(pixels[i], 0x80000000u + i + frame);
    surface->Release();
  }
  EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
  texture->Release();
}

TEST_F(GlDeviceTest, ObjectsThatCannotBeLockedOrCreated) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(mDevice->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                   D3DPOOL_DEFAULT, &texture, nullptr),
            D3D_OK);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
  texture->Release();
  EXPECT_EQ(mDevice->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                   &texture, nullptr),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(mDevice->CreateTexture(1 << 20, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                   nullptr),
            D3DERR_INVALIDCALL);
}

TEST_F(GlDeviceTest, ResetWaitsForTheDefaultPool) {
  IDirect3DVertexBuffer9* dynamic = nullptr;
  IDirect3DVertexBuffer9* managed = nullptr;
  ASSERT_EQ(mDevice->CreateVertexBuffer(64, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                        D3DPOOL_DEFAULT, &dynamic, nullptr),
            D3D_OK);
  ASSERT_EQ(mDevice->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &managed,
                                        nullptr),
            D3D_OK);
  ASSERT_EQ(mDevice->SetStreamSource(0, dynamic, 0, 16), D3D_OK);
  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = kWidth;
  params.BackBufferHeight = kHeight;
  params.Windowed = TRUE;
  EXPECT_EQ(mDevice->Reset(&params), D3DERR_INVALIDCALL);
  dynamic->Release();
  // The stream binding was dropped by the failed reset; the managed buffer may stay.
  EXPECT_EQ(mDevice->Reset(&params), D3D_OK);
  EXPECT_EQ(mDevice->TestCooperativeLevel(), D3D_OK);
  managed->Release();
}

TEST_F(GlDeviceTest, InactiveFullScreenWindowLosesTheDeviceUntilReset) {
  SDL_Window* window = win32::GetSdlWindow(mWindow->GetHandle());
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN), 0) << SDL_GetError();
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) GTEST_SKIP() << "the window has the focus";
  EXPECT_EQ(mDevice->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(mDevice->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = kWidth;
  params.BackBufferHeight = kHeight;
  EXPECT_EQ(mDevice->Reset(&params), D3DERR_DEVICELOST);
  // Usable again (windowed here): the device waits for its reset.
  ASSERT_EQ(SDL_SetWindowFullscreen(window, 0), 0);
  EXPECT_EQ(mDevice->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  mBackBuffer->Release();
  mBackBuffer = nullptr;
  params.Windowed = TRUE;
  EXPECT_EQ(mDevice->Reset(&params), D3D_OK);
  EXPECT_EQ(mDevice->TestCooperativeLevel(), D3D_OK);
  EXPECT_EQ(mDevice->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(GlDeviceTest, BufferLocksAreCheckedAgainstTheSize) {
  IDirect3DIndexBuffer9* indices = nullptr;
  ASSERT_EQ(mDevice->CreateIndexBuffer(32, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                       &indices, nullptr),
            D3D_OK);
  void* data = nullptr;
  EXPECT_EQ(indices->Lock(16, 17, &data, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(indices->Lock(32, 0, &data, 0), D3DERR_INVALIDCALL);  // nothing left to lock
  ASSERT_EQ(indices->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
  EXPECT_EQ(indices->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(indices->Unlock(), D3D_OK);
  EXPECT_EQ(indices->Unlock(), D3DERR_INVALIDCALL);
  indices->Release();
}

TEST_F(GlDeviceTest, BufferLocksWithoutDiscardKeepTheContents) {
  IDirect3DVertexBuffer9* vertices = nullptr;
  ASSERT_EQ(mDevice->CreateVertexBuffer(16, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
  unsigned char* bytes = nullptr;
  ASSERT_EQ(vertices->Lock(0, 0, reinterpret_cast<void**>(&bytes), 0), D3D_OK);
  for (int i = 0; i < 16; ++i) {
    ASSERT_EQ(bytes[i], 0) << "byte " << i;  // a new buffer reads zeros
    bytes[i] = static_cast<unsigned char>(i + 1);
  }
  ASSERT_EQ(vertices->Unlock(), D3D_OK);
  // A part from an offset: its memory starts at that byte.
  ASSERT_EQ(vertices->Lock(4, 8, reinterpret_cast<void**>(&bytes), 0), D3D_OK);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(bytes[i], i + 5) << "byte " << i + 4;
  bytes[0] = 99;
  ASSERT_EQ(vertices->Unlock(), D3D_OK);
  ASSERT_EQ(vertices->Lock(0, 0, reinterpret_cast<void**>(&bytes), 0), D3D_OK);
  EXPECT_EQ(bytes[3], 4);
  EXPECT_EQ(bytes[4], 99);
  EXPECT_EQ(bytes[15], 16);
  ASSERT_EQ(vertices->Unlock(), D3D_OK);
  vertices->Release();
}

}  // namespace
