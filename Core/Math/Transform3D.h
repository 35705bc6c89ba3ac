#pragma once
#include "Core/Math/Matrix4.h"
#include "Core/Math/Point.h"

namespace math {

// A 3-D transform built by operations applied to points in call order (row vectors: each new
// operation multiplies the matrix from the right). Kept as pending parts while they combine in
// closed form: a first translation, then a scale or one rotation, then a second translation. An
// operation that does not fit switches to matrix mode for good (until Reset): the matrix is built
// once and every later operation goes into it. Either way GetMatrix equals the product of all
// operations in call order.
class Transform3D {
 public:
  Transform3D() = default;

  // Back to the identity with nothing pending; the matrix is rebuilt on next use.
  void Reset();

  // The matrix of all operations so far, rebuilt from the pending parts when they changed.
  // Never changes the pending parts.
  const Matrix4& GetMatrix() const;

  void Translate(const Point3& v);
  // Angles in radians about x, y and z (applied about z first, then x, then y). A second rotation
  // always switches to matrix mode.
  void Rotate(const Point3& angles);
  // A negative factor switches to matrix mode.
  void Scale(const Point3& v);
  // Appends the other transform after this one: this becomes this x other.
  void Combine(const Transform3D& other);

  // Pending parts, for code that applies the transform to vertices without the matrix: when
  // neither in matrix mode nor rotated, a point is moved by the first translation, multiplied by
  // the scale when scaled, then moved by the second translation.
  bool IsMatrixMode() const { return mMatrixMode; }
  bool IsRotated() const { return mRotated; }
  bool IsScaled() const { return mScaled; }
  const Point3& GetFirstTranslation() const { return mFirstTranslation; }
  const Point3& GetSecondTranslation() const { return mSecondTranslation; }
  const Point3& GetScale() const { return mScale; }
  const Point3& GetRotation() const { return mRotation; }

 private:
  // Rebuilds the matrix from the pending parts when dirty.
  void UpdateMatrix() const;
  // Switches to matrix mode, with the matrix holding the pending parts.
  void SwitchToMatrix();

  bool mMatrixMode = false;
  bool mRotated = false;
  bool mScaled = false;
  Point3 mFirstTranslation;
  Point3 mSecondTranslation;
  Point3 mScale{1.0f, 1.0f, 1.0f};
  Point3 mRotation;
  // The matrix is a cache of the pending parts, so updating it is allowed on a const transform.
  mutable Matrix4 mMatrix;
  mutable bool mDirty = true;
};

}  // namespace math
