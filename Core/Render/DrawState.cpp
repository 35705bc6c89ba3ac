#include "Core/Render/DrawState.h"

namespace render {

void DrawState::Assign(const DrawState& source) {
  mTarget = source.mTarget;
  mViewportScaleX = source.mViewportScaleX;
  mViewportScaleY = source.mViewportScaleY;
  mViewportOffsetX = source.mViewportOffsetX;
  mViewportOffsetY = source.mViewportOffsetY;
  mShader = source.mShader;
  mVertexBuffer = source.mVertexBuffer;
  mIndexBuffer = source.mIndexBuffer;
  mBlendMode = source.mBlendMode;
  mScissorEnable = source.mScissorEnable;
  if (&source != this) mScissorRect = source.mScissorRect;
  mDepthTest = source.mDepthTest;
  mDepthWrite = source.mDepthWrite;
}

}  // namespace render
