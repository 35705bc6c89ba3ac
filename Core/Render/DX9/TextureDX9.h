#pragma once
#include "Core/Render/Texture.h"
#include "Platform/D3D9/D3D9.h"

namespace render {

class RenderDX9;

// A Direct3D 9 texture of one kind: a render target or a dynamic texture (both in the default
// pool: released when the device is lost and made again after the reset).
class TextureDX9 : public Texture {
 public:
  explicit TextureDX9(RenderDX9* backEnd);
  // Releases the device texture and its surface.
  ~TextureDX9() override;

  VNResultEnum CreateRenderTarget(int width, int height) override;
  VNResultEnum CreateDynamic(int width, int height) override;
  VNResultEnum Restore() override;
  VNResultEnum Release() override;
  VNResultEnum Lock(unsigned& size, unsigned& pitch, void*& data) override;
  VNResultEnum Unlock() override;

  // Level 0, obtained on first use; null without a device texture.
  d3d9::IDirect3DSurface9* GetSurface();
  d3d9::IDirect3DTexture9* GetDeviceTexture() const { return mTexture; }
  bool IsRenderTarget() const { return mRenderTarget; }
  bool IsDynamic() const { return mDynamic; }

 private:
  // One level of A8R8G8B8 in the default pool with the kind's usage.
  VNResultEnum CreateDefaultPool(int width, int height, d3d9::DWORD usage);
  void ReleaseDevice();

  d3d9::IDirect3DTexture9* mTexture = nullptr;
  d3d9::IDirect3DSurface9* mSurface = nullptr;
  RenderDX9* mBackEnd;
  bool mRenderTarget = false;
  bool mDynamic = false;
};

}  // namespace render
