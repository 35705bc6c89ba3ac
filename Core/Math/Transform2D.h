#pragma once
#include "Core/Math/Matrix3.h"
#include "Core/Math/Point.h"

namespace math {

// A 2-D transform built by operations applied to points in call order (each new operation
// multiplies the matrix from the left). Translations, rotations and a scale are kept as pending
// numbers while they combine in closed form: a translation, then rotations (or a scale), then a
// second translation. An operation that does not fit that shape switches the transform to
// "matrix only" for good (until Reset): the matrix is composed once and every later operation is
// multiplied into it. Either way GetMatrix equals the product of all operations in call order.
class Transform2D {
 public:
  Transform2D() = default;

  // Back to the identity with nothing pending; the matrix is rebuilt on next use.
  void Reset();

  // The matrix of all operations so far, composed from the pending parts when they changed.
  // Never changes the pending parts.
  const Matrix3& GetMatrix() const;

  void Translate(float x, float y);
  // Degrees are converted with the single-precision pi: d * pi / 180.
  void RotateDegrees(float degrees);
  void RotateRadians(float radians);
  // A mirror in x that makes the pending scale x exactly -1 stays pending; any other negative
  // factor switches to matrix only.
  void Scale(float sx, float sy);

  // Pending parts, for code that applies the transform to vertices without the matrix: when neither
  // matrix only nor rotated, a point is moved by the translation, multiplied by the scale when
  // scaled, then moved by the second translation.
  bool IsMatrixOnly() const { return mMatrixOnly; }
  bool IsRotated() const { return mRotated; }
  bool IsScaled() const { return mScaled; }
  Point2 GetTranslation() const { return {mTranslationX, mTranslationY}; }
  Point2 GetSecondTranslation() const { return {mSecondTranslationX, mSecondTranslationY}; }
  Point2 GetScale() const { return {mScaleX, mScaleY}; }
  float GetRotation() const { return mRotation; }

 private:
  // Rebuilds the matrix from the pending parts when dirty.
  void Compose() const;
  // Switches to matrix only, with the matrix holding the pending parts.
  void SwitchToMatrix();
  bool HasSecondTranslation() const { return mSecondTranslationX != 0.0f || mSecondTranslationY != 0.0f; }

  // The matrix is a cache of the pending parts, so composing it is allowed on a const transform.
  mutable Matrix3 mMatrix;
  mutable bool mDirty = true;
  bool mMatrixOnly = false;
  bool mRotated = false;
  bool mScaled = false;
  float mTranslationX = 0.0f;
  float mTranslationY = 0.0f;
  float mSecondTranslationX = 0.0f;
  float mSecondTranslationY = 0.0f;
  float mScaleX = 1.0f;
  float mScaleY = 1.0f;
  float mRotation = 0.0f;
};

}  // namespace math
