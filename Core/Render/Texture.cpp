#include "Core/Render/Texture.h"

#include "Core/Render/Render.h"

namespace render {

Texture::Texture(Render* owner) : mOwner(owner) { mOwner->AddTexture(this); }

Texture::~Texture() {
  if (mOwner) mOwner->RemoveTexture(this);
}

bool Texture::HitTest(int x, int y) {
  return x >= 0 && y >= 0 && x < mWidth && y < mHeight && mHitMask.Test(unsigned(x + y * mWidth));
}

}  // namespace render
