#include "Core/Render/GraphicsFriend.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shader.h"

namespace render {

GraphicsFriend::GraphicsFriend(Graphics* graphics) { SetGraphics(graphics); }

VNResultEnum GraphicsFriend::TransformVertices(void* vertices, const VertexFormat& format, unsigned count) {
  return mGraphics->TransformVertices(vertices, format, count);
}

void GraphicsFriend::ApplyHalfPixelOffset(void* vertices, const VertexFormat& format, unsigned count) {
  mGraphics->ApplyHalfPixelOffset(vertices, format, count);
}

VNResultEnum GraphicsFriend::SetProjection(Shader* shader) {
  if (!shader) return VN_FAIL;
  return shader->SetProjection(&mGraphics->GetProjection());
}

}  // namespace render
