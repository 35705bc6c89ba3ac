#pragma once
// Draw requests: small objects returned by value by the drawing context that draw their payload
// when destroyed while still pending. An untransformed request can first be converted into a
// translated one or into one with a 2-D transform; a conversion moves the pending mark to the new
// request, so exactly one request of a chain draws.
#include <utility>

#include "Core/Base/Result.h"
#include "Core/Math/Point.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawCustomParam.h"
#include "Core/Render/DrawImageParam.h"
#include "Core/Render/DrawParticlesParam.h"
#include "Core/Render/DrawTextParam.h"

namespace render {

class VertexFormat;

class DrawParam {
 public:
  DrawParam() = default;
  DrawParam(const DrawParam&) = delete;
  DrawParam& operator=(const DrawParam&) = delete;
  // The request's own move of the vertex positions, applied before the context's transform.
  virtual VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, unsigned count) = 0;
  virtual ~DrawParam() = default;

  // What TransformVertices does: nothing, a move by offset, or anything else. Lets a payload
  // write final positions in one pass.
  enum Move { kMoveOther = 0, kMoveNone = 1, kMoveTranslate = 2 };
  virtual Move GetMove(math::Point2& /*offset*/) const { return kMoveOther; }

 protected:
  template <class Tag, class Payload>
  friend class DrawPayloadAccess;
  bool mPending = true;
};

struct TagUntransformed {};
struct TagTranslate2D {};
struct TagTransform2D {};

template <class Payload>
class DrawUntransformedParam;
template <class Payload>
class DrawTranslate2DParam;
template <class Payload>
class DrawTransform2DParam;

template <class Tag, class Payload>
class DrawRequest;

// Access to the payload of a request (its anchors, flips, format, out pointers). Reaches the
// request through its type rather than stored pointers, so a request converted within one
// expression can live in registers.
template <class Tag, class Payload>
class DrawPayloadAccess {
 public:
  Payload* operator->() { return &Self().mData; }

 protected:
  // A new pending request over a copy of the payload; this request is no longer pending.
  template <class Request>
  Request Convert();

 private:
  DrawRequest<Tag, Payload>& Self() { return static_cast<DrawRequest<Tag, Payload>&>(*this); }
};

// The conversions an untransformed request offers, by payload kind.
template <class Tag, class Payload>
class DrawParamInterface : public DrawPayloadAccess<Tag, Payload> {};

template <>
class DrawParamInterface<TagUntransformed, DrawImageParam> : public DrawPayloadAccess<TagUntransformed, DrawImageParam> {
 public:
  DrawTransform2DParam<DrawImageParam> Scale(float sx, float sy);
  DrawTransform2DParam<DrawImageParam> ScaleUniform(float s);
  // Inline (defined below): most sprites are drawn translated.
  inline DrawTranslate2DParam<DrawImageParam> Translate(const math::Point2& offset);
  DrawTransform2DParam<DrawImageParam> Transform(const math::Transform2D& transform);
};

template <>
class DrawParamInterface<TagUntransformed, DrawTextParam> : public DrawPayloadAccess<TagUntransformed, DrawTextParam> {
 public:
  DrawTransform2DParam<DrawTextParam> ScaleUniform(float s);
  inline DrawTranslate2DParam<DrawTextParam> Translate(const math::Point2& offset);
};

template <>
class DrawParamInterface<TagUntransformed, DrawParticlesParam> : public DrawPayloadAccess<TagUntransformed, DrawParticlesParam> {
 public:
  DrawTransform2DParam<DrawParticlesParam> Transform(const math::Transform2D& transform);
};

// Shared by the three request kinds: holds the payload. The most derived request draws it at its
// destruction when still pending, while its own TransformVertices is alive.
template <class Tag, class Payload>
class DrawRequest : public DrawParam, public DrawParamInterface<Tag, Payload> {
 public:
  explicit DrawRequest(const Payload& payload) : mData(payload) {}
  // Builds the payload in place from its constructor's arguments.
  template <class... Args>
  explicit DrawRequest(std::in_place_t, Args&&... args) : mData(std::forward<Args>(args)...) {}
  // Takes the pending mark, so a request returned by value draws once.
  DrawRequest(DrawRequest&& other) : mData(other.mData) {
    mPending = other.mPending;
    other.mPending = false;
  }

  Payload mData;

 protected:
  // request: the one whose moves apply, or null for none.
  void DrawIfPending(DrawParam* request) {
    if (!mPending) return;
    mPending = false;
    mData.Draw(request);  // a failed draw has recorded nothing; there is no one to tell
  }
};

template <class Tag, class Payload>
template <class Request>
Request DrawPayloadAccess<Tag, Payload>::Convert() {
  DrawRequest<Tag, Payload>& self = Self();
  Request converted(self.mData);
  self.mPending = false;
  return converted;
}

template <class Payload>
class DrawUntransformedParam : public DrawRequest<TagUntransformed, Payload> {
 public:
  using DrawRequest<TagUntransformed, Payload>::DrawRequest;
  DrawUntransformedParam(DrawUntransformedParam&&) = default;
  // Draws without itself as the request, as it moves nothing: its address stays private, so a
  // request converted in the same expression is never stored.
  ~DrawUntransformedParam() override { this->DrawIfPending(nullptr); }
  VNResultEnum TransformVertices(void*, const VertexFormat&, unsigned) override { return VN_OK; }
  DrawParam::Move GetMove(math::Point2&) const override { return DrawParam::kMoveNone; }
};

// Moves x and y of every position by the offset (positions of 3 or 4 components).
VNResultEnum TranslateVertices(void* vertices, const VertexFormat& format, unsigned count, float x, float y);
// Applies the transform to x and y of every position.
VNResultEnum TransformVertices2D(void* vertices, const VertexFormat& format, unsigned count,
                                 const math::Transform2D& transform);

template <class Payload>
class DrawTranslate2DParam : public DrawRequest<TagTranslate2D, Payload> {
 public:
  using DrawRequest<TagTranslate2D, Payload>::DrawRequest;
  DrawTranslate2DParam(DrawTranslate2DParam&&) = default;
  ~DrawTranslate2DParam() override { this->DrawIfPending(this); }
  VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, unsigned count) override {
    return TranslateVertices(vertices, format, count, mX, mY);
  }
  DrawParam::Move GetMove(math::Point2& offset) const override {
    offset = math::Point2(mX, mY);
    return DrawParam::kMoveTranslate;
  }

  float mX = 0.0f;
  float mY = 0.0f;
};

template <class Payload>
class DrawTransform2DParam : public DrawRequest<TagTransform2D, Payload> {
 public:
  using DrawRequest<TagTransform2D, Payload>::DrawRequest;
  DrawTransform2DParam(DrawTransform2DParam&&) = default;
  ~DrawTransform2DParam() override { this->DrawIfPending(this); }
  VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, unsigned count) override {
    return TransformVertices2D(vertices, format, count, mTransform);
  }
  // May be translated, scaled or rotated further until the request is destroyed.
  math::Transform2D& GetTransform() { return mTransform; }

 private:
  math::Transform2D mTransform;
};

// Built in place and returned by name, so the payload is not copied once more on the way out.
inline DrawTranslate2DParam<DrawImageParam> DrawParamInterface<TagUntransformed, DrawImageParam>::Translate(
    const math::Point2& offset) {
  DrawTranslate2DParam<DrawImageParam> request = Convert<DrawTranslate2DParam<DrawImageParam>>();
  request.mX = offset.x;
  request.mY = offset.y;
  return request;
}

inline DrawTranslate2DParam<DrawTextParam> DrawParamInterface<TagUntransformed, DrawTextParam>::Translate(
    const math::Point2& offset) {
  DrawTranslate2DParam<DrawTextParam> request = Convert<DrawTranslate2DParam<DrawTextParam>>();
  request.mX = offset.x;
  request.mY = offset.y;
  return request;
}

}  // namespace render
