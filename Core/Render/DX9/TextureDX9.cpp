#include "Core/Render/DX9/TextureDX9.h"

#include "Core/Render/DX9/RenderDX9.h"

namespace render {

using namespace d3d9;

TextureDX9::TextureDX9(RenderDX9* backEnd) : Texture(backEnd), mBackEnd(backEnd) {}

TextureDX9::~TextureDX9() { ReleaseDevice(); }

void TextureDX9::ReleaseDevice() {
  if (mSurface) mSurface->Release();
  if (mTexture) mTexture->Release();
  mSurface = nullptr;
  mTexture = nullptr;
}

VNResultEnum TextureDX9::CreateDefaultPool(int width, int height, DWORD usage) {
  ReleaseDevice();
  mWidth = width;
  mHeight = height;
  if (width <= 0 || height <= 0) return VN_FAIL;
  const HRESULT result = mBackEnd->GetDevice()->CreateTexture(
      UINT(width), UINT(height), 1, usage, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &mTexture, nullptr);
  if (result != D3D_OK) {
    mTexture = nullptr;
    return VN_FAIL;
  }
  return VN_OK;
}

VNResultEnum TextureDX9::CreateRenderTarget(int width, int height) {
  mRenderTarget = true;
  return CreateDefaultPool(width, height, D3DUSAGE_RENDERTARGET);
}

VNResultEnum TextureDX9::CreateDynamic(int width, int height) {
  mDynamic = true;
  return CreateDefaultPool(width, height, D3DUSAGE_DYNAMIC);
}

VNResultEnum TextureDX9::Release() {
  if (mRenderTarget || mDynamic) ReleaseDevice();
  return VN_OK;
}

VNResultEnum TextureDX9::Restore() {
  if (mRenderTarget) return CreateRenderTarget(mWidth, mHeight);
  if (mDynamic) return CreateDynamic(mWidth, mHeight);
  return VN_OK;
}

VNResultEnum TextureDX9::Lock(unsigned& size, unsigned& pitch, void*& data) {
  if (!mDynamic || !mTexture) return VN_FAIL;
  D3DLOCKED_RECT locked;
  if (mTexture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD) != D3D_OK) return VN_FAIL;
  data = locked.pBits;
  pitch = unsigned(locked.Pitch);
  size = pitch * unsigned(mHeight) / 4;
  return VN_OK;
}

VNResultEnum TextureDX9::Unlock() {
  if (!mDynamic || !mTexture) return VN_FAIL;
  return mTexture->UnlockRect(0) == D3D_OK ? VN_OK : VN_FAIL;
}

IDirect3DSurface9* TextureDX9::GetSurface() {
  if (!mSurface && mTexture && mTexture->GetSurfaceLevel(0, &mSurface) != D3D_OK) {
    mSurface = nullptr;
  }
  return mSurface;
}

}  // namespace render
