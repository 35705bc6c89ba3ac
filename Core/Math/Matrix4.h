#pragma once
#include "Core/Math/Point.h"

namespace math {

// A 4x4 matrix m[0]..m[15], row by row, for row vectors: a point (x, y, z) maps to
// (x m0 + y m4 + z m8 + m12, x m1 + y m5 + z m9 + m13, x m2 + y m6 + z m10 + m14), so the translation
// is m12..m14 and a new operation multiplies from the right (this = this x op).
struct Matrix4 {
  float m[16];

  // The identity when identity is true; all zero otherwise (for a caller that fills every value).
  explicit Matrix4(bool identity = true);

  // Full 4x4 products; any operand may be this matrix itself.
  Matrix4 operator*(const Matrix4& b) const;
  Matrix4& operator*=(const Matrix4& b);
  // This becomes a x b.
  void Multiply(const Matrix4& a, const Matrix4& b);

  void SetIdentity();
  // Sets the upper-left 3x3 part to the rotation Rz x Rx x Ry by the angles (radians): rotates about
  // z first, then x, then y. The other seven values are kept.
  void SetRotation(const Point3& angles);
  // This becomes this x R (R = identity with SetRotation(angles)); the fourth column is kept.
  void Rotate(const Point3& angles);
  // This becomes this x diag(v.x, v.y, v.z, 1): columns 0-2 of every row are scaled.
  void Scale(const Point3& v);
  // Sets m0, m5, m10 only.
  void SetScale(const Point3& v);
  // Adds v to the translation (this x translation for an affine matrix).
  void Translate(const Point3& v);
  void SetTranslation(const Point3& v);

  // Transforms the point in place and returns it.
  Point3& TransformPoint(Point3& point) const;
  void TransformPointTo(const Point3& source, Point3& destination) const;
};

}  // namespace math
