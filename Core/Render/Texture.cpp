#include "Core/Render/Texture.h"

#include "Core/Render/Render.h"

namespace render {

Texture::Texture(Render* owner) : mOwner(owner) { mOwner->AddTexture(this); }

Texture::~Texture() {
  if (mOwner) mOwner->RemoveTexture(this);
}

}  // namespace render
