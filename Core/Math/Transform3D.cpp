#include "Core/Math/Transform3D.h"

namespace math {

namespace {

bool IsZero(const Point3& v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }

}  // namespace

void Transform3D::Reset() {
  mMatrixMode = false;
  mRotated = false;
  mScaled = false;
  mFirstTranslation = Point3();
  mSecondTranslation = Point3();
  mScale = Point3(1.0f, 1.0f, 1.0f);
  mRotation = Point3();
  mDirty = true;
}

const Matrix4& Transform3D::GetMatrix() const {
  UpdateMatrix();
  return mMatrix;
}

void Transform3D::UpdateMatrix() const {
  if (!mDirty) return;
  mDirty = false;
  mMatrix.SetIdentity();
  mMatrix.SetTranslation(mFirstTranslation);
  if (mScaled) {
    mMatrix.Scale(mScale);
  } else if (mRotated) {
    mMatrix.Rotate(mRotation);
  }
  if (!IsZero(mSecondTranslation)) mMatrix.Translate(mSecondTranslation);
}

void Transform3D::SwitchToMatrix() {
  mMatrixMode = true;
  UpdateMatrix();
}

void Transform3D::Translate(const Point3& v) {
  if (mMatrixMode) {
    mMatrix.Translate(v);
    return;
  }
  mDirty = true;
  if (mRotated || mScaled) {
    mSecondTranslation += v;
  } else {
    mFirstTranslation += v;
  }
}

void Transform3D::Rotate(const Point3& angles) {
  if (!mMatrixMode && (mScaled || mRotated)) SwitchToMatrix();
  if (mMatrixMode) {
    mMatrix.Rotate(angles);
    return;
  }
  mRotation += angles;
  mDirty = true;
  mRotated = true;
}

void Transform3D::Scale(const Point3& v) {
  if (!mMatrixMode) {
    const bool negative = v.x < 0.0f || v.y < 0.0f || v.z < 0.0f;
    if (mRotated || !IsZero(mSecondTranslation) || negative) SwitchToMatrix();
  }
  if (mMatrixMode) {
    mMatrix.Scale(v);
    return;
  }
  mScale = Point3(mScale.x * v.x, mScale.y * v.y, mScale.z * v.z);
  mDirty = true;
  mScaled = true;
}

void Transform3D::Combine(const Transform3D& other) {
  if (other.mMatrixMode) {
    const Matrix4 otherMatrix = other.GetMatrix();
    if (!mMatrixMode) SwitchToMatrix();
    mMatrix *= otherMatrix;
    return;
  }
  // Copies, in case other is this transform.
  const Point3 first = other.mFirstTranslation;
  const Point3 scale = other.mScale;
  const Point3 rotation = other.mRotation;
  const Point3 second = other.mSecondTranslation;
  const bool scaled = other.mScaled;
  const bool rotated = other.mRotated;
  if (!IsZero(first)) Translate(first);
  if (scaled) Scale(scale);
  if (rotated) Rotate(rotation);
  if (!IsZero(second)) Translate(second);
}

}  // namespace math
