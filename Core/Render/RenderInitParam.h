#pragma once
#include "Core/Math/Matrix4.h"

namespace render {

// Start-up and screen-mode parameters of the renderer, filled by the application framework.
struct RenderInitParam {
  unsigned mWidth = 0;
  unsigned mHeight = 0;
  bool mWindowed = false;
  // When set, the projection is built from the size; otherwise mProjection is used.
  bool mBuildProjection = true;
  math::Matrix4 mProjection;
  // Design-to-device mapping of the screen.
  float mViewportScaleX = 1.0f;
  float mViewportScaleY = 1.0f;
  float mViewportOffsetX = 0.0f;
  float mViewportOffsetY = 0.0f;
};

}  // namespace render
