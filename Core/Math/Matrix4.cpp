#include "Core/Math/Matrix4.h"

#include <cmath>

namespace math {

Matrix4::Matrix4(bool identity) : m{} {
  if (identity) SetIdentity();
}

Matrix4 Matrix4::operator*(const Matrix4& b) const {
  Matrix4 result(false);
  result.Multiply(*this, b);
  return result;
}

Matrix4& Matrix4::operator*=(const Matrix4& b) {
  Multiply(*this, b);
  return *this;
}

void Matrix4::Multiply(const Matrix4& a, const Matrix4& b) {
  float product[16];
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[row * 4 + k] * b.m[k * 4 + col];
      product[row * 4 + col] = sum;
    }
  }
  for (int i = 0; i < 16; ++i) m[i] = product[i];
}

void Matrix4::SetIdentity() {
  for (int i = 0; i < 16; ++i) m[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

void Matrix4::SetRotation(const Point3& angles) {
  const double cx = std::cos(static_cast<double>(angles.x));
  const double sx = std::sin(static_cast<double>(angles.x));
  const double cy = std::cos(static_cast<double>(angles.y));
  const double sy = std::sin(static_cast<double>(angles.y));
  const double cz = std::cos(static_cast<double>(angles.z));
  const double sz = std::sin(static_cast<double>(angles.z));
  m[0] = static_cast<float>(cz * cy + sz * sx * sy);
  m[1] = static_cast<float>(sz * cx);
  m[2] = static_cast<float>(sz * sx * cy - cz * sy);
  m[4] = static_cast<float>(cz * sx * sy - sz * cy);
  m[5] = static_cast<float>(cz * cx);
  m[6] = static_cast<float>(sz * sy + cz * sx * cy);
  m[8] = static_cast<float>(cx * sy);
  m[9] = static_cast<float>(-sx);
  m[10] = static_cast<float>(cx * cy);
}

void Matrix4::Rotate(const Point3& angles) {
  Matrix4 r;
  r.SetRotation(angles);
  for (int row = 0; row < 4; ++row) {
    float* v = m + row * 4;
    const float a0 = v[0], a1 = v[1], a2 = v[2];
    for (int col = 0; col < 3; ++col) v[col] = a0 * r.m[col] + a1 * r.m[4 + col] + a2 * r.m[8 + col];
  }
}

void Matrix4::Scale(const Point3& v) {
  for (int row = 0; row < 4; ++row) {
    m[row * 4 + 0] *= v.x;
    m[row * 4 + 1] *= v.y;
    m[row * 4 + 2] *= v.z;
  }
}

void Matrix4::SetScale(const Point3& v) {
  m[0] = v.x;
  m[5] = v.y;
  m[10] = v.z;
}

void Matrix4::Translate(const Point3& v) {
  m[12] += v.x;
  m[13] += v.y;
  m[14] += v.z;
}

void Matrix4::SetTranslation(const Point3& v) {
  m[12] = v.x;
  m[13] = v.y;
  m[14] = v.z;
}

Point3& Matrix4::TransformPoint(Point3& point) const {
  TransformPointTo(point, point);
  return point;
}

void Matrix4::TransformPointTo(const Point3& source, Point3& destination) const {
  const float x = source.x, y = source.y, z = source.z;
  destination.x = x * m[0] + y * m[4] + z * m[8] + m[12];
  destination.y = x * m[1] + y * m[5] + z * m[9] + m[13];
  destination.z = x * m[2] + y * m[6] + z * m[10] + m[14];
}

}  // namespace math
