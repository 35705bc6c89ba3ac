#pragma once

namespace math {

// A 3x3 matrix, row by row, for column vectors: a point (x, y) maps to
// (m00 x + m01 y + m02, m10 x + m11 y + m12). All zero when default-constructed.
struct Matrix3 {
  float m00 = 0.0f, m01 = 0.0f, m02 = 0.0f;
  float m10 = 0.0f, m11 = 0.0f, m12 = 0.0f;
  float m20 = 0.0f, m21 = 0.0f, m22 = 0.0f;

  // This becomes a x b; either operand may be this matrix itself.
  void Multiply(const Matrix3& a, const Matrix3& b);
};

}  // namespace math
