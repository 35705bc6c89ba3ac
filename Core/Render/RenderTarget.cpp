#include "Core/Render/RenderTarget.h"

#include "Core/Render/Render.h"
#include "Core/Render/Texture.h"

namespace render {

RenderTarget::RenderTarget(Texture* texture, bool buildProjection) : Image(texture) {
  if (buildProjection && texture && texture->GetOwner()) {
    texture->GetOwner()->BuildProjection(float(GetWidth()), float(GetHeight()), nullptr, mProjection);
  }
}

}  // namespace render
