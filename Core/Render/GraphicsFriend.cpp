#include "Core/Render/GraphicsFriend.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shader.h"

namespace render {

void GraphicsFriend::SetGraphics(Graphics* graphics) {
  mGraphics = graphics;
  mRender = graphics ? graphics->mRender : nullptr;
  mState = graphics ? &graphics->mState : nullptr;
}

void GraphicsFriend::SetShader(ShaderImpl* program) {
  if (mState->mShader == program) return;
  mState->mShader = program;
  mGraphics->mDirty = true;
}

void GraphicsFriend::SetVertexBuffer(VertexBufferImpl* buffer) {
  if (mState->mVertexBuffer == buffer) return;
  mState->mVertexBuffer = buffer;
  mGraphics->mDirty = true;
}

void GraphicsFriend::SetIndexBuffer(IndexBufferImpl* buffer) {
  if (mState->mIndexBuffer == buffer) return;
  mState->mIndexBuffer = buffer;
  mGraphics->mDirty = true;
}

VNResultEnum GraphicsFriend::ApplyState() {
  const VNResultEnum result = mRender->SetState(*mState, mGraphics->mDirty);
  if (result == VN_OK) mGraphics->mDirty = false;
  return result;
}

VNResultEnum GraphicsFriend::TransformVertices(void* vertices, const VertexFormat& format, unsigned count) {
  return mGraphics->TransformVertices(vertices, format, count);
}

void GraphicsFriend::ApplyHalfPixelOffset(void* vertices, const VertexFormat& format, unsigned count) {
  mGraphics->ApplyHalfPixelOffset(vertices, format, count);
}

uint32_t GraphicsFriend::GetPackedColor() { return mGraphics->GetPackedColor(); }

VNResultEnum GraphicsFriend::SetProjection(Shader* shader) {
  if (!shader) return VN_FAIL;
  return shader->SetProjection(&mGraphics->GetProjection());
}

}  // namespace render
