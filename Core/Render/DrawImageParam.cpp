#include "Core/Render/DrawImageParam.h"

#include <utility>

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/BuildQuad.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/ShaderTextured.h"

namespace render {

namespace {

float AnchorOffset(int anchor, float size) {
  switch (anchor) {
    case DrawImageParam::kAnchorEnd:
      return -size;
    case DrawImageParam::kAnchorCentre:
      return -size * 0.5f;
    default:
      return 0.0f;
  }
}

}  // namespace

DrawImageParam::DrawImageParam(Graphics* graphics, Image* image)
    : GraphicsFriend(graphics),
      mImage(image),
      mSource(0.0f, 0.0f, image ? float(image->GetWidth()) : 0.0f, image ? float(image->GetHeight()) : 0.0f) {}

VNResultEnum DrawImageParam::Draw(DrawParam* request) {
  if (!mGraphics || !mImage) return VN_FAIL;
  const VertexFormat& format = SVertex2D::GetFormat();
  auto* vertexCache = static_cast<BufferDoubleCache<VertexBuffer<SVertex2D>>*>(mRender->GetVertexCache(format.GetId()));
  IndexCache16* indexCache = mRender->GetIndexCache16();
  if (!vertexCache || !indexCache) return VN_FAIL;
  SVertex2D* vertices = nullptr;
  BufferRange<VertexBuffer<SVertex2D>> vertexRange;
  VNResultEnum result = vertexCache->Allocate(4, &vertices, vertexRange);
  if (result != VN_OK) return result;
  unsigned short* indices = nullptr;
  BufferRange<IndexBuffer<unsigned short>> indexRange;
  result = indexCache->Allocate(6, &indices, indexRange);
  if (result != VN_OK) return result;

  // The calls first (the request's move, the atlas mapping), so little is held across them.
  math::Point2 offset;
  const DrawParam::Move move = request ? request->GetMove(offset) : DrawParam::kMoveNone;
  const bool onePass = move != DrawParam::kMoveOther && !mGraphics->mTransform;
  const float w = mSource.width;
  const float h = mSource.height;
  const float tw = float(mImage->GetWidth());
  const float th = float(mImage->GetHeight());
  math::Point2 uv[2] = {{mSource.x / tw, mSource.y / th}, {(mSource.x + w) / tw, (mSource.y + h) / th}};
  if (mFlipX) std::swap(uv[0].x, uv[1].x);
  if (mFlipY) std::swap(uv[0].y, uv[1].y);
  if (onePass) mImage->MapAtlasPoints(uv, 2);
  const float ox = AnchorOffset(mHorizontalAnchor, w);
  const float oy = AnchorOffset(mVerticalAnchor, h);
  const uint32_t diffuse = GetPackedColor();
  const uint32_t tint = uint32_t(int(mGraphics->mTintAmount * 255.0f)) & 0xFF;
  const uint32_t specular = tint << 8 | (255 - tint);

  if (onePass) {
    // One pass to the final vertices: the same operations in the same order as the general path
    // below (corner, plus the request's offset, minus the half pixel), so the bits are the same.
    float left = ox, top = oy, right = ox + w, bottom = oy + h;
    if (move == DrawParam::kMoveTranslate) {
      left += offset.x, right += offset.x;
      top += offset.y, bottom += offset.y;
    }
    left -= 0.5f, right -= 0.5f, top -= 0.5f, bottom -= 0.5f;
    vertices[0] = {left, top, 0.0f, 1.0f, diffuse, specular, uv[0].x, uv[0].y};
    vertices[1] = {right, top, 0.0f, 1.0f, diffuse, specular, uv[1].x, uv[0].y};
    vertices[2] = {right, bottom, 0.0f, 1.0f, diffuse, specular, uv[1].x, uv[1].y};
    vertices[3] = {left, bottom, 0.0f, 1.0f, diffuse, specular, uv[0].x, uv[1].y};
    BuildQuadIndices(indices, vertexRange.mStart);
  } else {
    BuildQuad(vertices, indices, vertexRange.mStart, math::Point4(ox, oy, 0.0f, 1.0f),
              math::Point4(ox + w, oy + h, 0.0f, 1.0f), uv[0], uv[1]);
    if (mImage->MapAtlasUV(vertices, 4, 0, format) != VN_OK) return VN_FAIL;
    for (int i = 0; i < 4; ++i) {
      vertices[i].diffuse = diffuse;
      vertices[i].specular = specular;
    }
    if (request && (result = request->TransformVertices(vertices, format, 4)) != VN_OK) return result;
    if ((result = TransformVertices(vertices, format, 4)) != VN_OK) return result;
    ApplyHalfPixelOffset(vertices, format, 4);
  }

  ShaderTextured* shader = mGraphics->GetTexturedShader();
  if (!shader) return VN_FAIL;
  SetVertexBuffer(vertexRange.mBuffer->GetImpl());
  SetIndexBuffer(indexRange.mBuffer->GetImpl());
  SetShader(shader->GetProgram());
  if ((result = ApplyState()) != VN_OK) return result;
  if ((result = shader->SetTexture(mImage->GetTexture())) != VN_OK) return result;
  if ((result = SetProjection(shader)) != VN_OK) return result;
  return mRender->DrawIndexed(Render::kTriangleList, indexRange.mStart, 2, vertexRange.mStart, 4);
}

}  // namespace render
