#include "Core/Layer/Drawable.h"

#include <cmath>

#include "Core/Math/Matrix4.h"

namespace layer {

bool Drawable::HasNoTilt() const {
  return std::fabs(mRotationX) <= kAngleTolerance && std::fabs(mRotationY) <= kAngleTolerance;
}

void Drawable::ComposeTransform(const math::Transform3D& base) {
  mWorldTransform.Reset();
  if (mScaleX != 1.0f || mScaleY != 1.0f || mScaleZ != 1.0f) {
    mWorldTransform.Scale(math::Point3(mScaleX, mScaleY, mScaleZ));
  }
  if (mRotationX != 0.0f || mRotationY != 0.0f || mRotationZ != 0.0f) {
    mWorldTransform.Rotate(math::Point3(mRotationX, mRotationY, mRotationZ));
  }
  if (mPosition.x != 0.0f || mPosition.y != 0.0f || mPosition.z != 0.0f) mWorldTransform.Translate(mPosition);
  mWorldTransform.Combine(base);
}

void Drawable::UpdateWorldBounds() {
  mOuterBoxValid = true;
  const math::Box3& subtree = mSubtreeBox;
  if (subtree.min.x > subtree.max.x && subtree.min.y > subtree.max.y && subtree.min.z > subtree.max.z) {
    mOuterBox.Reset();
    return;
  }
  math::Box3 box = subtree;
  const float scales[3] = {mScaleX, mScaleY, mScaleZ};
  float* mins[3] = {&box.min.x, &box.min.y, &box.min.z};
  float* maxs[3] = {&box.max.x, &box.max.y, &box.max.z};
  for (int axis = 0; axis < 3; ++axis) {
    if (scales[axis] == 1.0f) continue;
    // A negative scale leaves minimum above maximum: a mirrored layer is never hit.
    *mins[axis] *= scales[axis];
    *maxs[axis] *= scales[axis];
  }
  if (!HasNoTilt()) {
    math::Matrix4 rotation;
    rotation.SetRotation(math::Point3(mRotationX, mRotationY, mRotationZ));
    math::Box3 turned;
    for (int i = 0; i < 8; ++i) {
      math::Point3 corner;
      rotation.TransformPointTo(box.GetCorner(i), corner);
      turned.AddPoint(corner);
    }
    box = turned;
  } else if (std::fabs(mRotationZ) > kAngleTolerance) {
    const float c = std::cos(mRotationZ);
    const float s = std::sin(mRotationZ);
    const math::Point3 corners[4] = {math::Point3(box.min.x, box.min.y, box.min.z),
                                     math::Point3(box.max.x, box.min.y, box.min.z),
                                     math::Point3(box.max.x, box.max.y, box.max.z),
                                     math::Point3(box.min.x, box.max.y, box.min.z)};
    math::Box3 turned;
    for (const math::Point3& p : corners) turned.AddPoint(math::Point3(p.x * c - p.y * s, p.x * s + p.y * c, p.z));
    box = turned;
  }
  const float offsets[3] = {mPosition.x, mPosition.y, mPosition.z};
  float* turnedMins[3] = {&box.min.x, &box.min.y, &box.min.z};
  float* turnedMaxs[3] = {&box.max.x, &box.max.y, &box.max.z};
  for (int axis = 0; axis < 3; ++axis) {
    if (offsets[axis] == 0.0f) continue;
    *turnedMins[axis] += offsets[axis];
    *turnedMaxs[axis] += offsets[axis];
  }
  mOuterBox = box;
}

}  // namespace layer
