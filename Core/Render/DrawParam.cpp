#include "Core/Render/DrawParam.h"

#include <cmath>

#include "Core/Render/VertexPositions.h"

namespace render {

namespace {

// Translations this small are not applied (the tolerance of the math types).
bool IsZero(const math::Point2& t) {
  return std::fabs(t.x) <= math::Point3::kTolerance && std::fabs(t.y) <= math::Point3::kTolerance;
}

// The member functions below build the converted request in place and return it by name, so it
// is not moved (its payload copied) once more on the way out.
template <class Request>
void ScaleRequest(Request& request, float sx, float sy) {
  request.GetTransform().Scale(sx, sy);
}

}  // namespace

VNResultEnum TranslateVertices(void* vertices, const VertexFormat& format, unsigned count, float x, float y) {
  const int components = format.GetPosition().mComponents;
  if (components != 3 && components != 4) return VN_OK;
  ForEachPosition(vertices, format, count, [x, y](float* p, int) {
    p[0] += x;
    p[1] += y;
  });
  return VN_OK;
}

VNResultEnum TransformVertices2D(void* vertices, const VertexFormat& format, unsigned count,
                                 const math::Transform2D& transform) {
  if (transform.IsMatrixOnly() || transform.IsRotated()) {
    const math::Matrix3& m = transform.GetMatrix();
    ForEachPosition(vertices, format, count, [&m](float* p, int) {
      const float x = p[0];
      const float y = p[1];
      p[0] = m.m00 * x + m.m01 * y + m.m02;
      p[1] = m.m10 * x + m.m11 * y + m.m12;
    });
    return VN_OK;
  }
  const math::Point2 first = transform.GetTranslation();
  const math::Point2 second = transform.GetSecondTranslation();
  const math::Point2 scale = transform.GetScale();
  const bool addFirst = !IsZero(first);
  const bool addSecond = !IsZero(second);
  const bool scaled = transform.IsScaled();
  ForEachPosition(vertices, format, count, [&](float* p, int) {
    if (addFirst) p[0] += first.x, p[1] += first.y;
    if (scaled) p[0] *= scale.x, p[1] *= scale.y;
    if (addSecond) p[0] += second.x, p[1] += second.y;
  });
  return VN_OK;
}

DrawTransform2DParam<DrawImageParam> DrawParamInterface<TagUntransformed, DrawImageParam>::Scale(float sx, float sy) {
  DrawTransform2DParam<DrawImageParam> request = Convert<DrawTransform2DParam<DrawImageParam>>();
  ScaleRequest(request, sx, sy);
  return request;
}

DrawTransform2DParam<DrawImageParam> DrawParamInterface<TagUntransformed, DrawImageParam>::ScaleUniform(float s) {
  DrawTransform2DParam<DrawImageParam> request = Convert<DrawTransform2DParam<DrawImageParam>>();
  ScaleRequest(request, s, s);
  return request;
}

DrawTransform2DParam<DrawImageParam> DrawParamInterface<TagUntransformed, DrawImageParam>::Transform(
    const math::Transform2D& transform) {
  DrawTransform2DParam<DrawImageParam> request = Convert<DrawTransform2DParam<DrawImageParam>>();
  request.GetTransform() = transform;
  return request;
}

DrawTransform2DParam<DrawTextParam> DrawParamInterface<TagUntransformed, DrawTextParam>::ScaleUniform(float s) {
  DrawTransform2DParam<DrawTextParam> request = Convert<DrawTransform2DParam<DrawTextParam>>();
  ScaleRequest(request, s, s);
  return request;
}

DrawTransform2DParam<DrawParticlesParam> DrawParamInterface<TagUntransformed, DrawParticlesParam>::Transform(
    const math::Transform2D& transform) {
  DrawTransform2DParam<DrawParticlesParam> request = Convert<DrawTransform2DParam<DrawParticlesParam>>();
  request.GetTransform() = transform;
  return request;
}

}  // namespace render
