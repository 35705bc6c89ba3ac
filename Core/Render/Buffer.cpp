#include "Core/Render/Buffer.h"

#include "Core/Render/Render.h"

namespace render {

Buffer::Buffer(Render* owner) : mOwner(owner) { mOwner->AddBuffer(this); }

Buffer::~Buffer() {
  if (mOwner) mOwner->RemoveBuffer(this);
}

}  // namespace render
