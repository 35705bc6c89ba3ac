#pragma once
#include "Core/Base/Result.h"
#include "Core/Math/Box3.h"
#include "Core/Math/Color.h"
#include "Core/Math/Point.h"
#include "Core/Math/Transform3D.h"

namespace render {
class Graphics;
}

namespace layer {

// The drawable state of a scene node: local transform parts, colour and flags, the composed world
// transform and the cached boxes. Transform parts, alpha, colour and flags are written directly by
// their users; whoever changes a position, rotation or scale sets mTransformChanged and clears
// mOuterBoxValid (SetPosition and SetY of Layer do it for them).
class Drawable {
 public:
  // Largest rotation (radians) and position change still treated as none.
  static constexpr float kAngleTolerance = 0.0002f;

  Drawable() = default;
  Drawable(const Drawable&) = delete;
  Drawable& operator=(const Drawable&) = delete;
  virtual ~Drawable() = default;

  virtual VNResultEnum DrawContent(render::Graphics* graphics) = 0;
  // Recomputes mLocalBox from the content; called when mLocalBoxValid is clear.
  virtual void UpdateBounds() {}

  // Neither rotation x nor rotation y turns the layer out of the screen plane.
  bool HasNoTilt() const;
  // World transform = own scale, rotation, position, then base.
  void ComposeTransform(const math::Transform3D& base);
  // Outer box = subtree box carried by own scale, rotation and position into the parent's space.
  void UpdateWorldBounds();

  math::Point3 mPosition;
  float mRotationX = 0.0f;
  float mRotationY = 0.0f;
  float mRotationZ = 0.0f;
  float mScaleX = 1.0f;
  float mScaleY = 1.0f;
  float mScaleZ = 1.0f;
  float mAlpha = 1.0f;
  bool mVisible = true;       // hidden: neither drawn nor hit, nor its children
  bool mMouseEnabled = true;  // the layer itself can be hit
  bool mTransformChanged = false;
  bool mTintMode = false;  // tint shader instead of multiply
  math::Color mColor{1.0f, 1.0f, 1.0f, 1.0f};  // rgb go to the content draw; alpha is unused
  float mTintAmount = 0.0f;
  bool mAdditive = false;  // blend mode 2 instead of 1
  math::Transform3D mWorldTransform;
  bool mHasContent = false;
  bool mLocalBoxValid = true;
  math::Box3 mLocalBox;
  math::Box3 mSubtreeBox;  // local box plus the children's outer boxes, in local space
  bool mOuterBoxValid = true;
  math::Box3 mOuterBox;  // in the parent's space
};

}  // namespace layer
