#include "Core/Math/Transform2D.h"

#include <cmath>

#include "Core/Math/Angle.h"

namespace math {

namespace {

Matrix3 Translation(float x, float y) {
  Matrix3 t;
  t.m00 = t.m11 = t.m22 = 1.0f;
  t.m02 = x;
  t.m12 = y;
  return t;
}

Matrix3 Rotation(float radians) {
  const float c = std::cos(radians);
  const float s = std::sin(radians);
  Matrix3 r;
  r.m00 = c;
  r.m01 = s;
  r.m10 = -s;
  r.m11 = c;
  r.m22 = 1.0f;
  return r;
}

Matrix3 Scaling(float sx, float sy) {
  Matrix3 s;
  s.m00 = sx;
  s.m11 = sy;
  s.m22 = 1.0f;
  return s;
}

// matrix = op x matrix: the operation applies to points after what the matrix already does.
void Append(Matrix3& matrix, const Matrix3& op) { matrix.Multiply(op, matrix); }

}  // namespace

void Transform2D::Reset() {
  mDirty = true;
  mMatrixOnly = false;
  mRotated = false;
  mScaled = false;
  mTranslationX = mTranslationY = 0.0f;
  mSecondTranslationX = mSecondTranslationY = 0.0f;
  mScaleX = mScaleY = 1.0f;
  mRotation = 0.0f;
}

const Matrix3& Transform2D::GetMatrix() const {
  Compose();
  return mMatrix;
}

void Transform2D::Compose() const {
  if (!mDirty) return;
  mDirty = false;
  mMatrix = Translation(mTranslationX, mTranslationY);
  if (mScaled) {
    // The translation is zero whenever a scale is pending, so this is T x S.
    mMatrix.m00 = mScaleX;
    mMatrix.m11 = mScaleY;
  } else if (mRotated) {
    Append(mMatrix, Rotation(mRotation));
  }
  if (HasSecondTranslation()) Append(mMatrix, Translation(mSecondTranslationX, mSecondTranslationY));
}

void Transform2D::SwitchToMatrix() {
  mMatrixOnly = true;
  Compose();
}

void Transform2D::Translate(float x, float y) {
  if (mMatrixOnly) {
    Append(mMatrix, Translation(x, y));
    return;
  }
  mDirty = true;
  if (mRotated || mScaled) {
    mSecondTranslationX += x;
    mSecondTranslationY += y;
  } else {
    mTranslationX += x;
    mTranslationY += y;
  }
}

void Transform2D::RotateDegrees(float degrees) { RotateRadians(degrees * kPi / 180.0f); }

void Transform2D::RotateRadians(float radians) {
  // Rotations add up only while nothing lies between them: a pending scale or a translation made
  // after the first rotation would have to be applied before this one.
  if (!mMatrixOnly && (mScaled || HasSecondTranslation())) SwitchToMatrix();
  if (mMatrixOnly) {
    Append(mMatrix, Rotation(radians));
    return;
  }
  mRotation += radians;
  mDirty = true;
  mRotated = true;
}

void Transform2D::Scale(float sx, float sy) {
  if (!mMatrixOnly) {
    // A pending scale must come first: after a translation (either one) or a rotation it cannot.
    const bool translated = mTranslationX != 0.0f || mTranslationY != 0.0f || HasSecondTranslation();
    const bool unsupportedMirror = sy < 0.0f || (sx < 0.0f && mScaleX * sx != -1.0f);
    if (mRotated || translated || unsupportedMirror) SwitchToMatrix();
  }
  if (mMatrixOnly) {
    Append(mMatrix, Scaling(sx, sy));
    return;
  }
  mScaleX *= sx;
  mScaleY *= sy;
  mDirty = true;
  mScaled = true;
}

}  // namespace math
