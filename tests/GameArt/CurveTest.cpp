// Quadratic curves: points, normals, shifted lengths, even sampling, and the angle helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "Game/Art/RuvGeometry.h"

namespace {

const math::Point2 kCurveStart(0.0f, 0.0f);
const math::Point2 kCurveMiddle(50.0f, 0.0f);
const math::Point2 kCurveEnd(100.0f, 0.0f);

TEST(CurveTest, PointsOfTheCurve) {
  const math::Point2 p1(50.0f, 100.0f);
  const math::Point2 mid = quadBezierPoint(kCurveStart, p1, kCurveEnd, 0.5f);
  EXPECT_FLOAT_EQ(mid.x, 50.0f);
  EXPECT_FLOAT_EQ(mid.y, 50.0f);
  const math::Point2 end = quadBezierPoint(kCurveStart, p1, kCurveEnd, 1.0f);
  EXPECT_FLOAT_EQ(end.x, 100.0f);
  EXPECT_FLOAT_EQ(end.y, 0.0f);
}

TEST(CurveTest, NormalKeepsItsSideAtTheEnd) {
  // Along +x the normal is (-dy, dx) / L = (0, 1), at the start and, flipped, at the end.
  struct Case {
    float t, nx, ny;
  };
  const Case cases[] = {
      {0.0f, 0.0f, 1.0f}, {0.5f, 0.0f, 1.0f}, {0.995f, 0.0f, 1.0f}, {1.0f, 0.0f, 1.0f}, {3.0f, 0.0f, 1.0f}};
  for (const Case& c : cases) {
    const math::Point2 n = bezierNormal(kCurveStart, kCurveMiddle, kCurveEnd, c.t);
    EXPECT_NEAR(n.x, c.nx, 1e-5) << c.t;
    EXPECT_NEAR(n.y, c.ny, 1e-5) << c.t;
  }
  const math::Point2 still = bezierNormal(kCurveEnd, kCurveEnd, kCurveEnd, 0.5f);
  EXPECT_EQ(still.x, 0.0f);
  EXPECT_EQ(still.y, 0.0f);
}

TEST(CurveTest, ShiftedStraightCurveKeepsItsLength) {
  for (float offset : {0.0f, 10.0f, -25.0f}) {
    EXPECT_NEAR(bezierOffsetLength(kCurveStart, kCurveMiddle, kCurveEnd, offset), 100.0f, 1e-3) << offset;
  }
  EXPECT_NEAR(bezierStepByLength(kCurveStart, kCurveMiddle, kCurveEnd, 0.0f, 25.0f, 0.0f), 0.25f, 2e-4);
  // The walk may pass the end of the curve.
  EXPECT_GT(bezierStepByLength(kCurveStart, kCurveMiddle, kCurveEnd, 0.95f, 10.0f, 0.0f), 1.0f);
}

TEST(CurveTest, SamplesAreEvenAlongALine) {
  std::vector<RuvPathPoint> points;
  sampleBezierPath(kCurveStart, kCurveMiddle, kCurveEnd, 8.0f, 20, points);
  ASSERT_EQ(points.size(), 21u);
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(points[i].x, 5.0f * float(i), 0.02f) << i;
    EXPECT_NEAR(points[i].y, 8.0f, 1e-4) << i;
    EXPECT_NEAR(points[i].nx, 0.0f, 1e-5) << i;
    EXPECT_NEAR(points[i].ny, 1.0f, 1e-5) << i;
  }
}

TEST(CurveTest, CurveOfNoLengthEndsAfterItsFirstPoint) {
  std::vector<RuvPathPoint> points;
  sampleBezierPath(kCurveEnd, kCurveEnd, kCurveEnd, 5.0f, 20, points);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_FLOAT_EQ(points[0].x, 100.0f);
  // A walk that cannot cover its length stops one curve beyond its start.
  const float t = bezierStepByLength(kCurveEnd, kCurveEnd, kCurveEnd, 0.25f, 1.0f, 0.0f);
  EXPECT_NEAR(t, 1.2501f, 1e-3);
  points.clear();
  sampleBezierPath(kCurveStart, kCurveMiddle, kCurveEnd, 0.0f, 0, points);
  EXPECT_TRUE(points.empty());
}

TEST(CurveTest, AngleAndNumberHelpers) {
  struct Case {
    float in, out;
  };
  const Case cases[] = {{90, 0}, {89, 359}, {-10, 260}, {0, 270}, {359, 269}, {450, 360}, {-270, 0}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(normalizeAngle(c.in), c.out) << c.in;
  EXPECT_EQ(clampNonNegative(-0.5f), 0.0f);
  EXPECT_EQ(clampNonNegative(2.0f), 2.0f);
  EXPECT_EQ(minFloat(3.0f, 2.0f), 2.0f);
  EXPECT_EQ(minFloat(1.0f, 2.0f), 1.0f);
}

TEST(CurveTest, RandomPointsLieInTheRing) {
  for (int i = 0; i < 50; ++i) {
    const math::Point2 p = randomPointInRing(100.0f, 200.0f, 30.0f, 10.0f);
    const float r = std::hypot(p.x - 100.0f, p.y - 200.0f);
    EXPECT_GE(r, 10.0f - 1e-3f);
    EXPECT_LE(r, 30.0f + 1e-3f);
  }
}

}  // namespace
