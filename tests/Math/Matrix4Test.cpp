#include "Core/Math/Matrix4.h"

#include <gtest/gtest.h>

#include "Reference.h"

namespace {

using reference::FromFloat;
using reference::Mat4;
using reference::Near;

constexpr double kMatrix4Tolerance = 1e-5;

// A full matrix with no zero and no symmetry, so a swapped index shows.
math::Matrix4 General() {
  math::Matrix4 m(false);
  for (int i = 0; i < 16; ++i) m.m[i] = static_cast<float>((i * 7) % 11) - 4.5f + 0.125f * i;
  return m;
}

// An affine matrix (fourth column 0, 0, 0, 1), as the transforms build.
math::Matrix4 Affine() {
  math::Matrix4 m = General();
  m.m[3] = m.m[7] = m.m[11] = 0.0f;
  m.m[15] = 1.0f;
  return m;
}

const math::Point3 kAngles[] = {
    {0, 0, 0}, {0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}, {0.3f, -1.2f, 2.5f}, {-3.0f, 1.5707964f, 0.7f},
};

TEST(Matrix4Test, ConstructsIdentityOrZero) {
  EXPECT_TRUE(Near(FromFloat(math::Matrix4(true)), Mat4::Identity(), 0.0));
  EXPECT_TRUE(Near(FromFloat(math::Matrix4()), Mat4::Identity(), 0.0));
  EXPECT_TRUE(Near(FromFloat(math::Matrix4(false)), Mat4(), 0.0));
  math::Matrix4 m = General();
  m.SetIdentity();
  EXPECT_TRUE(Near(FromFloat(m), Mat4::Identity(), 0.0));
}

TEST(Matrix4Test, ProductsAreFullFourByFourAndSafeOnThemselves) {
  const math::Matrix4 a = General();
  math::Matrix4 b = General();
  b.m[0] = 9.0f;
  b.m[7] = -2.0f;
  const Mat4 expected = FromFloat(a) * FromFloat(b);

  EXPECT_TRUE(Near(FromFloat(a * b), expected, kMatrix4Tolerance));
  math::Matrix4 c = a;
  c *= b;
  EXPECT_TRUE(Near(FromFloat(c), expected, kMatrix4Tolerance));
  math::Matrix4 d(false);
  d.Multiply(a, b);
  EXPECT_TRUE(Near(FromFloat(d), expected, kMatrix4Tolerance));

  math::Matrix4 self = a;
  self *= self;
  EXPECT_TRUE(Near(FromFloat(self), FromFloat(a) * FromFloat(a), kMatrix4Tolerance));
  self = a;
  self.Multiply(b, self);
  EXPECT_TRUE(Near(FromFloat(self), FromFloat(b) * FromFloat(a), kMatrix4Tolerance));
}

TEST(Matrix4Test, SetRotationIsZThenXThenYOrthonormalAndKeepsTheRest) {
  for (const math::Point3& angles : kAngles) {
    SCOPED_TRACE(testing::Message() << "angles " << angles.x << ", " << angles.y << ", " << angles.z);
    const math::Matrix4 before = General();
    math::Matrix4 m = before;
    m.SetRotation(angles);

    Mat4 rotation = FromFloat(m);
    for (int i = 0; i < 3; ++i) rotation.v[i][3] = rotation.v[3][i] = 0.0;
    rotation.v[3][3] = 1.0;
    EXPECT_TRUE(Near(rotation, reference::Rotation3(angles.x, angles.y, angles.z), 1e-6));

    Mat4 transposed;
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) transposed.v[i][j] = rotation.v[j][i];
    EXPECT_TRUE(Near(rotation * transposed, Mat4::Identity(), 1e-6));
    const auto& r = rotation.v;
    const double determinant = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                               r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                               r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
    EXPECT_NEAR(determinant, 1.0, 1e-6);

    for (int i : {3, 7, 11, 12, 13, 14, 15}) EXPECT_EQ(m.m[i], before.m[i]) << "m" << i;
  }
}

TEST(Matrix4Test, RotateEqualsProductWithTheFullRotation) {
  math::Matrix4 aboutY;
  aboutY.SetRotation(math::Point3(0, 0.8f, 0));
  aboutY.SetTranslation(math::Point3(3, -2, 7));
  for (const math::Matrix4& start : {aboutY, General()}) {
    for (const math::Point3& angles : kAngles) {
      math::Matrix4 m = start;
      m.Rotate(angles);
      EXPECT_TRUE(Near(FromFloat(m), FromFloat(start) * reference::Rotation3(angles.x, angles.y, angles.z),
                       kMatrix4Tolerance));
    }
  }
}

TEST(Matrix4Test, ScaleAndTranslateMultiplyFromTheRight) {
  const math::Matrix4 start = Affine();
  math::Matrix4 scaled = start;
  scaled.Scale(math::Point3(2, -3, 0.5f));
  EXPECT_TRUE(Near(FromFloat(scaled), FromFloat(start) * reference::Scale3(2, -3, 0.5), kMatrix4Tolerance));

  math::Matrix4 moved = start;
  moved.Translate(math::Point3(4, 5, -6));
  EXPECT_TRUE(Near(FromFloat(moved), FromFloat(start) * reference::Translation3(4, 5, -6), kMatrix4Tolerance));

  math::Matrix4 set = General();
  set.SetScale(math::Point3(7, 8, 9));
  set.SetTranslation(math::Point3(1, 2, 3));
  Mat4 expected = FromFloat(General());
  expected.v[0][0] = 7;
  expected.v[1][1] = 8;
  expected.v[2][2] = 9;
  expected.v[3][0] = 1;
  expected.v[3][1] = 2;
  expected.v[3][2] = 3;
  EXPECT_TRUE(Near(FromFloat(set), expected, 0.0));
}

TEST(Matrix4Test, TransformPointUsesTheRowVectorConvention) {
  math::Point3 p(1.5f, -2, 4);
  math::Matrix4 m;
  EXPECT_EQ(&m.TransformPoint(p), &p);
  EXPECT_EQ(p, math::Point3(1.5f, -2, 4));

  m.SetTranslation(math::Point3(1, 2, 3));
  m.TransformPoint(p);
  EXPECT_EQ(p.x, 2.5f);
  EXPECT_EQ(p.y, 0.0f);
  EXPECT_EQ(p.z, 7.0f);

  const math::Matrix4 g = General();
  const math::Point3 source(0.5f, 2, -1);
  math::Point3 destination;
  g.TransformPointTo(source, destination);
  const Mat4 product = reference::Translation3(source.x, source.y, source.z) * FromFloat(g);
  // The bottom row of T(point) x M is the row vector (x, y, z, 1) x M.
  EXPECT_NEAR(destination.x, product.v[3][0], kMatrix4Tolerance);
  EXPECT_NEAR(destination.y, product.v[3][1], kMatrix4Tolerance);
  EXPECT_NEAR(destination.z, product.v[3][2], kMatrix4Tolerance);
}

}  // namespace
