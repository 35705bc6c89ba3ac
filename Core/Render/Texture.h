#pragma once
#include "Core/Base/Result.h"
#include "Core/Render/HitMask.h"

namespace render {

class ImageData;
class Render;

// A device texture as the renderer sees it: made from an image, a render target or a dynamic
// texture that the CPU rewrites. Registers with its renderer for its whole life.
class Texture {
  friend class Render;  // detaches the textures that outlive it

 public:
  explicit Texture(Render* owner);
  virtual ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // A texture filled from decoded image data: every mip level the image holds, and the hit mask of
  // level 0.
  virtual VNResultEnum CreateFromImage(ImageData* image) = 0;
  // An empty texture that can be drawn into.
  virtual VNResultEnum CreateRenderTarget(int width, int height) = 0;
  // An empty texture that the CPU rewrites through Lock.
  virtual VNResultEnum CreateDynamic(int width, int height) = 0;
  // Re-creates a render target or a dynamic texture after a device reset (contents lost).
  virtual VNResultEnum Restore() = 0;
  // Frees a render target's or a dynamic texture's device memory before a reset.
  virtual VNResultEnum Release() = 0;
  // Dynamic textures only: size = the 32-bit pixels the lock covers, pitch in bytes.
  virtual VNResultEnum Lock(unsigned& size, unsigned& pitch, void*& data) = 0;
  virtual VNResultEnum Unlock() = 0;

  // The hit-mask bit of pixel (x, y): false outside the texture and without a mask (render
  // targets and dynamic textures have none).
  virtual bool HitTest(int x, int y);

  Render* GetOwner() const { return mOwner; }
  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }

 protected:
  Render* mOwner;  // null once the renderer is gone
  int mWidth = 0;
  int mHeight = 0;
  HitMask mHitMask;  // width x height bits for a texture from an image, else empty
};

}  // namespace render
