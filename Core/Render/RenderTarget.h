#pragma once
#include "Core/Math/Matrix4.h"
#include "Core/Render/Image.h"

namespace render {

// An image over a render-target texture (owned), with its own projection and viewport.
class RenderTarget : public Image {
 public:
  // With buildProjection the projection maps the target's pixels like the screen's; otherwise it
  // stays the identity.
  RenderTarget(Texture* texture, bool buildProjection);

  const math::Matrix4& GetProjection() const { return mProjection; }

  math::Matrix4 mProjection;
  float mViewportOffsetX = 0.0f;
  float mViewportOffsetY = 0.0f;
  float mViewportScaleX = 1.0f;
  float mViewportScaleY = 1.0f;
};

}  // namespace render
