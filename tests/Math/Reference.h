#pragma once
// Reference model for the matrix tests: elementary matrices in double precision, multiplied the
// textbook way, to check the float classes and their shortcuts against.
#include <gtest/gtest.h>

#include <cmath>

#include "Core/Math/Matrix3.h"
#include "Core/Math/Matrix4.h"

namespace reference {

template <int N>
struct Mat {
  double v[N][N] = {};

  static Mat Identity() {
    Mat r;
    for (int i = 0; i < N; ++i) r.v[i][i] = 1.0;
    return r;
  }
  Mat operator*(const Mat& b) const {
    Mat r;
    for (int i = 0; i < N; ++i)
      for (int j = 0; j < N; ++j)
        for (int k = 0; k < N; ++k) r.v[i][j] += v[i][k] * b.v[k][j];
    return r;
  }
};
using Mat3 = Mat<3>;
using Mat4 = Mat<4>;

// 2-D, column vectors: [1 0 x; 0 1 y], [c s; -s c], [sx 0; 0 sy].
inline Mat3 Translation2(double x, double y) {
  Mat3 r = Mat3::Identity();
  r.v[0][2] = x;
  r.v[1][2] = y;
  return r;
}
inline Mat3 Rotation2(double a) {
  Mat3 r = Mat3::Identity();
  r.v[0][0] = std::cos(a);
  r.v[0][1] = std::sin(a);
  r.v[1][0] = -std::sin(a);
  r.v[1][1] = std::cos(a);
  return r;
}
inline Mat3 Scale2(double sx, double sy) {
  Mat3 r = Mat3::Identity();
  r.v[0][0] = sx;
  r.v[1][1] = sy;
  return r;
}

// 3-D, row vectors: the translation is the bottom row.
inline Mat4 Translation3(double x, double y, double z) {
  Mat4 r = Mat4::Identity();
  r.v[3][0] = x;
  r.v[3][1] = y;
  r.v[3][2] = z;
  return r;
}
inline Mat4 Scale3(double x, double y, double z) {
  Mat4 r = Mat4::Identity();
  r.v[0][0] = x;
  r.v[1][1] = y;
  r.v[2][2] = z;
  return r;
}
// Rotation about one axis (0 x, 1 y, 2 z) for row vectors.
inline Mat4 AxisRotation(int axis, double a) {
  const int i = (axis + 1) % 3, j = (axis + 2) % 3;
  Mat4 r = Mat4::Identity();
  r.v[i][i] = std::cos(a);
  r.v[i][j] = std::sin(a);
  r.v[j][i] = -std::sin(a);
  r.v[j][j] = std::cos(a);
  return r;
}
// About z first, then x, then y.
inline Mat4 Rotation3(double x, double y, double z) {
  return AxisRotation(2, z) * AxisRotation(0, x) * AxisRotation(1, y);
}

inline Mat3 FromFloat(const math::Matrix3& m) {
  Mat3 r;
  const float values[9] = {m.m00, m.m01, m.m02, m.m10, m.m11, m.m12, m.m20, m.m21, m.m22};
  for (int i = 0; i < 9; ++i) r.v[i / 3][i % 3] = values[i];
  return r;
}
inline Mat4 FromFloat(const math::Matrix4& m) {
  Mat4 r;
  for (int i = 0; i < 16; ++i) r.v[i / 4][i % 4] = m.m[i];
  return r;
}

template <int N>
testing::AssertionResult Near(const Mat<N>& actual, const Mat<N>& expected, double tolerance) {
  for (int i = 0; i < N; ++i) {
    for (int j = 0; j < N; ++j) {
      if (std::fabs(actual.v[i][j] - expected.v[i][j]) > tolerance) {
        return testing::AssertionFailure() << "element [" << i << "][" << j << "] is " << actual.v[i][j]
                                           << ", expected " << expected.v[i][j];
      }
    }
  }
  return testing::AssertionSuccess();
}

}  // namespace reference
