#include "Core/Math/Matrix3.h"

namespace math {

void Matrix3::Multiply(const Matrix3& a, const Matrix3& b) {
  Matrix3 p;
  p.m00 = a.m00 * b.m00 + a.m01 * b.m10 + a.m02 * b.m20;
  p.m01 = a.m00 * b.m01 + a.m01 * b.m11 + a.m02 * b.m21;
  p.m02 = a.m00 * b.m02 + a.m01 * b.m12 + a.m02 * b.m22;
  p.m10 = a.m10 * b.m00 + a.m11 * b.m10 + a.m12 * b.m20;
  p.m11 = a.m10 * b.m01 + a.m11 * b.m11 + a.m12 * b.m21;
  p.m12 = a.m10 * b.m02 + a.m11 * b.m12 + a.m12 * b.m22;
  p.m20 = a.m20 * b.m00 + a.m21 * b.m10 + a.m22 * b.m20;
  p.m21 = a.m20 * b.m01 + a.m21 * b.m11 + a.m22 * b.m21;
  p.m22 = a.m20 * b.m02 + a.m21 * b.m12 + a.m22 * b.m22;
  *this = p;
}

}  // namespace math
