#include "Core/Math/Transform2D.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "Reference.h"

namespace {

using reference::FromFloat;
using reference::Mat3;
using reference::Near;

constexpr double kTolerance = 2e-4;
constexpr double kPi = 3.14159265358979323846;

struct Op {
  enum Kind { kTranslate, kRotateDegrees, kRotateRadians, kScale } kind;
  float a;
  float b;
};

void Apply(math::Transform2D& t, const Op& op) {
  switch (op.kind) {
    case Op::kTranslate: t.Translate(op.a, op.b); break;
    case Op::kRotateDegrees: t.RotateDegrees(op.a); break;
    case Op::kRotateRadians: t.RotateRadians(op.a); break;
    case Op::kScale: t.Scale(op.a, op.b); break;
  }
}

// Column vectors: each operation multiplies from the left.
Mat3 Product(const std::vector<Op>& ops) {
  Mat3 m = Mat3::Identity();
  for (const Op& op : ops) {
    switch (op.kind) {
      case Op::kTranslate: m = reference::Translation2(op.a, op.b) * m; break;
      case Op::kRotateDegrees: m = reference::Rotation2(op.a * kPi / 180.0) * m; break;
      case Op::kRotateRadians: m = reference::Rotation2(op.a) * m; break;
      case Op::kScale: m = reference::Scale2(op.a, op.b) * m; break;
    }
  }
  return m;
}

math::Point2 Map(const math::Matrix3& m, float x, float y) {
  return {m.m00 * x + m.m01 * y + m.m02, m.m10 * x + m.m11 * y + m.m12};
}

// What the draw requests do with a transform that is neither matrix only nor rotated.
math::Point2 MapPending(const math::Transform2D& t, float x, float y) {
  const math::Point2 first = t.GetTranslation();
  const math::Point2 scale = t.GetScale();
  const math::Point2 second = t.GetSecondTranslation();
  x += first.x;
  y += first.y;
  if (t.IsScaled()) {
    x *= scale.x;
    y *= scale.y;
  }
  return {x + second.x, y + second.y};
}

void ExpectPendingPartsMatchMatrix(const math::Transform2D& t) {
  if (t.IsMatrixOnly() || t.IsRotated()) return;
  for (const math::Point2& p : {math::Point2(0, 0), math::Point2(3, -7)}) {
    const math::Point2 viaMatrix = Map(t.GetMatrix(), p.x, p.y);
    const math::Point2 viaParts = MapPending(t, p.x, p.y);
    EXPECT_NEAR(viaParts.x, viaMatrix.x, kTolerance);
    EXPECT_NEAR(viaParts.y, viaMatrix.y, kTolerance);
  }
}

struct Case {
  std::string name;
  std::vector<Op> ops;
  bool matrixOnly;  // whether the shortcut has to give up
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

Op T(float x, float y) { return {Op::kTranslate, x, y}; }
Op D(float degrees) { return {Op::kRotateDegrees, degrees, 0}; }
Op R(float radians) { return {Op::kRotateRadians, radians, 0}; }
Op S(float sx, float sy) { return {Op::kScale, sx, sy}; }

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"nothing", {}, false},
      {"translations add up", {T(1, 2), T(3, -4)}, false},
      {"translate rotate translate", {T(10, 20), D(90), T(5, 0)}, false},
      {"rotations add up", {T(1, 1), D(30), R(0.4f), T(2, 3)}, false},
      {"scales multiply", {S(2, 3), S(4, 0.5f), T(1, 1), T(2, -2)}, false},
      {"mirror stays pending", {S(-1, 1), T(5, 1)}, false},
      {"scale after translation", {T(1, 0), S(2, 2)}, true},
      {"second mirror", {S(-1, 1), S(-1, 1)}, true},
      {"mirror in y", {S(1, -1)}, true},
      {"negative scale that is no mirror", {S(-2, 1)}, true},
      {"rotation after scale", {S(2, 3), D(30)}, true},
      {"scale after rotation", {D(30), S(2, 3)}, true},
      // A second scale after the second translation must not merge with the first.
      {"scale translate scale", {S(2, 3), T(4, 5), S(0.5f, 2)}, true},
      {"mirror translate scale", {S(-1, 1), T(5, 0), S(2, 2)}, true},
      // A rotation after the second translation must not add to the first.
      {"rotate translate rotate", {D(30), T(4, 5), D(45)}, true},
      {"translate rotate translate rotate", {T(3, 4), R(1), T(-1, 2), R(-0.3f)}, true},
      {"everything", {T(3, 4), R(1), T(-1, 2), S(2, 0.5f), T(7, 7), R(-0.3f), S(-1, 1)}, true},
  };
  return cases;
}

class Transform2DSequenceTest : public testing::TestWithParam<Case> {};

TEST_P(Transform2DSequenceTest, PendingAndMatrixFormsEqualTheProductInCallOrder) {
  const Case& c = GetParam();

  // Pending form, checked after every operation.
  math::Transform2D stepwise;
  std::vector<Op> done;
  for (const Op& op : c.ops) {
    Apply(stepwise, op);
    done.push_back(op);
    SCOPED_TRACE(testing::Message() << "after " << done.size() << " operations");
    EXPECT_TRUE(Near(FromFloat(stepwise.GetMatrix()), Product(done), kTolerance));
    ExpectPendingPartsMatchMatrix(stepwise);
  }
  EXPECT_EQ(stepwise.IsMatrixOnly(), c.matrixOnly);

  // Pending form, matrix asked for only at the end.
  math::Transform2D once;
  for (const Op& op : c.ops) Apply(once, op);
  EXPECT_TRUE(Near(FromFloat(once.GetMatrix()), Product(c.ops), kTolerance));
  ExpectPendingPartsMatchMatrix(once);

  // Matrix form: two mirrors make an identity that is matrix only from the start.
  math::Transform2D matrix;
  matrix.Scale(-1, 1);
  matrix.Scale(-1, 1);
  ASSERT_TRUE(matrix.IsMatrixOnly());
  for (const Op& op : c.ops) Apply(matrix, op);
  EXPECT_TRUE(Near(FromFloat(matrix.GetMatrix()), Product(c.ops), kTolerance));
}

INSTANTIATE_TEST_SUITE_P(Sequences, Transform2DSequenceTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(Transform2DTest, KnownPointsAndModes) {
  math::Transform2D fresh;
  EXPECT_TRUE(Near(FromFloat(fresh.GetMatrix()), Mat3::Identity(), 0.0));

  math::Transform2D rotated;
  rotated.Translate(10, 20);
  rotated.RotateDegrees(90);
  rotated.Translate(5, 0);
  const math::Point2 p = Map(rotated.GetMatrix(), 0, 0);
  EXPECT_NEAR(p.x, 25.0f, 1e-5);
  EXPECT_NEAR(p.y, -10.0f, 1e-5);
  EXPECT_FALSE(rotated.IsMatrixOnly());

  math::Transform2D scaled;
  scaled.Translate(1, 0);
  scaled.Scale(2, 2);
  const math::Point2 q = Map(scaled.GetMatrix(), 0, 0);
  EXPECT_EQ(q.x, 2.0f);
  EXPECT_EQ(q.y, 0.0f);
}

TEST(Transform2DTest, CopyAndResetKeepTheStateSeparate) {
  math::Transform2D t;
  t.Translate(1, 2);
  t.RotateDegrees(30);
  math::Transform2D copy;
  copy = t;
  copy.Translate(5, 5);
  t.Scale(3, 3);  // matrix only from here on; the copy stays pending
  EXPECT_FALSE(copy.IsMatrixOnly());
  EXPECT_TRUE(Near(FromFloat(copy.GetMatrix()), Product({T(1, 2), D(30), T(5, 5)}), kTolerance));
  EXPECT_TRUE(Near(FromFloat(t.GetMatrix()), Product({T(1, 2), D(30), S(3, 3)}), kTolerance));

  t.Reset();
  EXPECT_FALSE(t.IsMatrixOnly());
  EXPECT_FALSE(t.IsRotated());
  EXPECT_FALSE(t.IsScaled());
  EXPECT_TRUE(Near(FromFloat(t.GetMatrix()), Mat3::Identity(), 0.0));
  t.Translate(2, 0);
  t.Scale(2, 1);  // after the reset the translation is pending again, so this switches anew
  EXPECT_TRUE(Near(FromFloat(t.GetMatrix()), Product({T(2, 0), S(2, 1)}), kTolerance));
}

TEST(Matrix3Test, MultiplyIsTheRowByColumnProductAndSafeOnItself) {
  math::Matrix3 a;
  a.m00 = 1, a.m01 = 2, a.m02 = 3, a.m10 = 4, a.m11 = 5, a.m12 = 6, a.m20 = 7, a.m21 = 8, a.m22 = 10;
  math::Matrix3 b;
  b.m00 = -1, b.m01 = 0.5f, b.m02 = 2, b.m10 = 3, b.m11 = -2, b.m12 = 1, b.m20 = 0, b.m21 = 4, b.m22 = -3;
  math::Matrix3 c;
  c.Multiply(a, b);
  EXPECT_TRUE(Near(FromFloat(c), FromFloat(a) * FromFloat(b), 0.0));
  c = a;
  c.Multiply(c, c);
  EXPECT_TRUE(Near(FromFloat(c), FromFloat(a) * FromFloat(a), 0.0));
}

}  // namespace
