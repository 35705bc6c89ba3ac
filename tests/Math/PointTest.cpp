#include "Core/Math/Point.h"

#include <gtest/gtest.h>

namespace {

struct ToleranceCase {
  math::Point3 a;
  math::Point3 b;
  bool equal;
};

TEST(PointTest, Point3EqualityAllowsTwoTenThousandthsPerComponent) {
  const ToleranceCase cases[] = {
      {{0, 0, 0}, {0, 0, 0}, true},
      {{0, 0, 0}, {0.0002f, 0, 0}, true},
      {{0, 0, 0}, {0, -0.0002f, 0}, true},
      {{0, 0, 0}, {0, 0, 0.0002f}, true},
      {{0, 0, 0}, {0.00021f, 0, 0}, false},
      {{0, 0, 0}, {0, 0.00021f, 0}, false},
      {{0, 0, 0}, {0, 0, -0.00021f}, false},
      {{5, -3, 2}, {5.0001f, -3.0001f, 2.0001f}, true},
      {{5, -3, 2}, {5, -3, 2.5f}, false},
  };
  for (const ToleranceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.b.x << ", " << c.b.y << ", " << c.b.z << ")");
    EXPECT_EQ(c.a == c.b, c.equal);
    EXPECT_EQ(c.b == c.a, c.equal);
    EXPECT_NE(c.a != c.b, c.equal);
  }
}

TEST(PointTest, Point3ArithmeticIsComponentwise) {
  math::Point3 p(1, 2, 3);
  const math::Point3 q(10, 20, 30);
  const math::Point3 sum = p + q;
  const math::Point3 difference = q - p;
  EXPECT_EQ(sum.x, 11);
  EXPECT_EQ(sum.y, 22);
  EXPECT_EQ(sum.z, 33);
  EXPECT_EQ(difference.x, 9);
  EXPECT_EQ(difference.y, 18);
  EXPECT_EQ(difference.z, 27);
  p += q;
  p += q;
  EXPECT_EQ(p.x, 21);
  EXPECT_EQ(p.y, 42);
  EXPECT_EQ(p.z, 63);
}

}  // namespace
