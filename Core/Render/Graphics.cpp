#include "Core/Render/Graphics.h"

#include <cmath>

#include "Core/Math/Transform3D.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/BuildQuad.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/ShaderTextured.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexPositions.h"

namespace render {

namespace {

// Translations this small are not applied (the transform's own tolerance).
bool IsZero(const math::Point3& t) {
  const float e = math::Point3::kTolerance;
  return std::fabs(t.x) <= e && std::fabs(t.y) <= e && std::fabs(t.z) <= e;
}

}  // namespace

Graphics::Graphics(Render* render) : mRender(render) {
  mState.mViewportScaleX = render->GetViewportScaleX();
  mState.mViewportScaleY = render->GetViewportScaleY();
  mState.mViewportOffsetX = render->GetViewportOffsetX();
  mState.mViewportOffsetY = render->GetViewportOffsetY();
  mState.mBlendMode = DrawState::kBlendAlpha;
  InitShaders();
}

Graphics::Graphics(RenderTarget* target) : mRender(target->GetTexture()->GetOwner()), mTarget(target) {
  mOwnsFrame = !mRender->IsInFrame();
  if (mOwnsFrame) mRender->BeginFrame();
  mState.mTarget = target->GetTexture();
  mState.mViewportScaleX = target->mViewportScaleX;
  mState.mViewportScaleY = target->mViewportScaleY;
  mState.mViewportOffsetX = target->mViewportOffsetX;
  mState.mViewportOffsetY = target->mViewportOffsetY;
  mState.mBlendMode = DrawState::kBlendAlpha;
  InitShaders();
}

Graphics::~Graphics() {
  if (!mOwnsFrame) return;
  mRender->EndFrame();
  mRender->PlayCommands();
}

void Graphics::InitShaders() {
  resource::ResourcePtr<Shader> geom;
  if (mRender->GetGeomShader(geom) == VN_OK) mGeomShader = geom.Get();
  resource::ResourcePtr<ShaderTextured> textured;
  if (mRender->GetTexturedShader(textured) == VN_OK) mTexturedShader = textured.Get();
}

VNResultEnum Graphics::Flush() { return mOwnsFrame ? mRender->PlayCommands() : VN_OK; }

VNResultEnum Graphics::Clear(unsigned flags, const math::Color& colour, float depth, unsigned stencil) {
  const VNResultEnum result = mRender->SetRenderTarget(mState);
  if (result != VN_OK) return result;
  const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
  return mRender->Clear(flags, rgba, depth, stencil);
}

// The state is marked changed only by a new value: an unchanged state lets the renderer skip
// its comparison at the next draw.
VNResultEnum Graphics::SetBlendMode(int mode) {
  if (mState.mBlendMode == mode) return VN_OK;
  mState.mBlendMode = mode;
  mDirty = true;
  return VN_OK;
}

VNResultEnum Graphics::SetClipRect(const math::Rect& rect) {
  math::Rect& current = mState.mScissorRect;
  // A NaN compares unequal and so always counts as a change.
  if (mState.mScissorEnable && rect.x == current.x && rect.y == current.y && rect.width == current.width &&
      rect.height == current.height) {
    return VN_OK;
  }
  mState.mScissorEnable = true;
  if (&rect != &current) current = rect;
  mDirty = true;
  return VN_OK;
}

VNResultEnum Graphics::ResetClipRect() {
  if (!mState.mScissorEnable) return VN_OK;
  mState.mScissorEnable = false;
  mDirty = true;
  return VN_OK;
}

VNResultEnum Graphics::SetShaderMode(int mode) {
  if (mode == mShaderMode || (mode != kShaderMultiply && mode != kShaderTint)) return VN_OK;
  mShaderMode = mode;
  resource::ResourcePtr<ShaderTextured> shader;
  const VNResultEnum result =
      mode == kShaderMultiply ? mRender->GetTexturedShader(shader) : mRender->GetTintShader(shader);
  if (result != VN_OK) return result;
  mTexturedShader = shader.Get();
  return VN_OK;
}

VNResultEnum Graphics::SetShader(ShaderTextured* shader) {
  mShaderMode = kShaderCustom;
  if (shader) {
    mTexturedShader = shader;
    return VN_OK;
  }
  resource::ResourcePtr<ShaderTextured> multiply;
  const VNResultEnum result = mRender->GetTexturedShader(multiply);
  if (result == VN_OK) mTexturedShader = multiply.Get();
  return result;
}

const math::Matrix4& Graphics::GetProjection() const {
  return mTarget ? mTarget->GetProjection() : mRender->GetProjection();
}

VNResultEnum Graphics::TransformVertices(void* vertices, const VertexFormat& format, unsigned count) {
  if (!mTransform) return VN_OK;
  const math::Transform3D& t = *mTransform;
  if (t.IsMatrixMode() || t.IsRotated()) {
    const math::Matrix4& matrix = t.GetMatrix();
    ForEachPosition(vertices, format, count, [&matrix](float* p, int components) {
      math::Point3 point(p[0], p[1], components > 2 ? p[2] : 0.0f);
      matrix.TransformPoint(point);
      p[0] = point.x;
      p[1] = point.y;
      if (components > 2) p[2] = point.z;
    });
    return VN_OK;
  }
  const math::Point3 first = t.GetFirstTranslation();
  const math::Point3 second = t.GetSecondTranslation();
  const math::Point3 scale = t.GetScale();
  const bool addFirst = !IsZero(first);
  const bool addSecond = !IsZero(second);
  const bool scaled = t.IsScaled();
  ForEachPosition(vertices, format, count, [&](float* p, int components) {
    math::Point3 point(p[0], p[1], components > 2 ? p[2] : 0.0f);
    if (addFirst) point += first;
    if (scaled) point = math::Point3(point.x * scale.x, point.y * scale.y, point.z * scale.z);
    if (addSecond) point += second;
    p[0] = point.x;
    p[1] = point.y;
    if (components > 2) p[2] = point.z;
  });
  return VN_OK;
}

void Graphics::ApplyHalfPixelOffset(void* vertices, const VertexFormat& format, unsigned count) {
  ForEachPosition(vertices, format, count, [](float* p, int components) {
    p[0] -= 0.5f;
    p[1] -= 0.5f;
    if (components > 2) p[2] = 0.0f;
  });
}

DrawUntransformedParam<DrawImageParam> Graphics::DrawImage(Image* image) {
  return DrawUntransformedParam<DrawImageParam>(std::in_place, this, image);
}

DrawTransform2DParam<DrawImageParam> Graphics::DrawImagePartToRect(Image* image, const math::Rect& source,
                                                                   const math::Rect& destination) {
  DrawTransform2DParam<DrawImageParam> request =
      DrawImagePart(image, source).Scale(destination.width / source.width, destination.height / source.height);
  request.GetTransform().Translate(destination.x, destination.y);
  return request;
}

DrawTransform2DParam<DrawImageParam> Graphics::DrawImageToRect(Image* image, const math::Rect& destination) {
  DrawTransform2DParam<DrawImageParam> request = DrawImage(image).Scale(
      destination.width / float(image->GetWidth()), destination.height / float(image->GetHeight()));
  request.GetTransform().Translate(destination.x, destination.y);
  return request;
}

DrawUntransformedParam<DrawParticlesParam> Graphics::DrawParticles(ParticleEmitter* emitter) {
  return DrawUntransformedParam<DrawParticlesParam>(DrawParticlesParam(this, emitter));
}

DrawUntransformedParam<DrawCustomParam> Graphics::DrawGeometry(int type, const math::Point2* corners,
                                                               unsigned count, bool quadIndices) {
  auto* cache = static_cast<BufferDoubleCache<VertexBuffer<SVertexGeom>>*>(
      mRender->GetVertexCache(SVertexGeom::GetFormat().GetId()));
  SVertexGeom* vertices = nullptr;
  BufferRange<VertexBuffer<SVertexGeom>> range;
  if (!cache || cache->Allocate(count, &vertices, range) != VN_OK) {
    return DrawCustom(type, nullptr, {}, mGeomShader);  // no vertices: draws nothing
  }
  const uint32_t argb = GetPackedColor();
  for (unsigned i = 0; i < count; ++i) vertices[i] = {corners[i].x, corners[i].y, 0.0f, argb};
  if (!quadIndices) return DrawCustom(type, vertices, range, mGeomShader);

  IndexCache16* indexCache = mRender->GetIndexCache16();
  unsigned short* indices = nullptr;
  BufferRange<IndexBuffer<unsigned short>> indexRange;
  if (!indexCache || indexCache->Allocate(6, &indices, indexRange) != VN_OK) {
    return DrawCustom(type, nullptr, {}, mGeomShader);
  }
  BuildQuadIndices(indices, range.mStart);
  return DrawCustomIndexed(type, vertices, indexRange, range, mGeomShader);
}

DrawUntransformedParam<DrawCustomParam> Graphics::DrawLine(const math::Point2& a, const math::Point2& b) {
  const math::Point2 ends[2] = {a, b};
  return DrawGeometry(Render::kLineList, ends, 2, false);
}

DrawUntransformedParam<DrawCustomParam> Graphics::FillRect(const math::Rect& r) {
  const math::Point2 corners[4] = {
      {r.x, r.y}, {r.x + r.width, r.y}, {r.x + r.width, r.y + r.height}, {r.x, r.y + r.height}};
  return DrawGeometry(Render::kTriangleList, corners, 4, true);
}

DrawUntransformedParam<DrawTextParam> Graphics::DrawText(const std::u16string* text) {
  return DrawUntransformedParam<DrawTextParam>(DrawTextParam(this, text, mFont));
}

DrawUntransformedParam<DrawTextParam> Graphics::DrawTextBox(const std::u16string* text, float wrapWidth,
                                                            float indent, unsigned alignment,
                                                            bool justifyCharacters) {
  DrawTextParam payload(this, text, mFont);
  payload.mFormat.mWrapWidth = wrapWidth;
  payload.mFormat.mIndent = indent;
  payload.mFormat.mAlignment = alignment;
  payload.mFormat.mJustifyCharacters = justifyCharacters;
  return DrawUntransformedParam<DrawTextParam>(payload);
}

DrawUntransformedParam<DrawCustomParam> Graphics::DrawCustom(
    int type, SVertexGeom* vertices, const BufferRange<VertexBuffer<SVertexGeom>>& vertexRange, Shader* shader) {
  DrawCustomParam payload(this, type, vertices, SVertexGeom::GetFormat(), shader);
  payload.mVertexStart = vertexRange.mStart;
  payload.mVertexCount = vertexRange.mCount;
  payload.mVertexBuffer = vertexRange.mBuffer ? vertexRange.mBuffer->GetImpl() : nullptr;
  return DrawUntransformedParam<DrawCustomParam>(payload);
}

DrawUntransformedParam<DrawCustomParam> Graphics::DrawCustomIndexed(
    int type, SVertexGeom* vertices, const BufferRange<IndexBuffer<unsigned short>>& indexRange,
    const BufferRange<VertexBuffer<SVertexGeom>>& vertexRange, Shader* shader) {
  DrawUntransformedParam<DrawCustomParam> request = DrawCustom(type, vertices, vertexRange, shader);
  request->mIndexStart = indexRange.mStart;
  request->mIndexCount = indexRange.mCount;
  request->mIndexBuffer = indexRange.mBuffer ? indexRange.mBuffer->GetImpl() : nullptr;
  return request;
}

}  // namespace render
