#include "Core/Math/Transform3D.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "Reference.h"

namespace transform3d_test {

using reference::FromFloat;
using reference::Mat4;
using reference::Near;

constexpr double kTolerance = 2e-4;

// One operation; a combine appends the transform built by its own operations.
struct Op {
  enum Kind { kTranslate, kRotate, kScale, kCombine } kind;
  math::Point3 v;
  std::vector<Op> other;
  bool otherInMatrixMode = false;
};

Op T(float x, float y, float z) { return {Op::kTranslate, {x, y, z}, {}}; }
Op R(float x, float y, float z) { return {Op::kRotate, {x, y, z}, {}}; }
Op S(float x, float y, float z) { return {Op::kScale, {x, y, z}, {}}; }
Op C(std::vector<Op> other) { return {Op::kCombine, {}, std::move(other)}; }
// The other transform is forced into matrix mode before its operations run.
Op CM(std::vector<Op> other) { return {Op::kCombine, {}, std::move(other), true}; }

void Apply(math::Transform3D& t, const Op& op);

// Two mirrors in x make an identity in matrix mode.
void ForceMatrixMode(math::Transform3D& t) {
  t.Scale(math::Point3(-1, 1, 1));
  t.Scale(math::Point3(-1, 1, 1));
}

math::Transform3D Build(const std::vector<Op>& ops, bool matrixMode) {
  math::Transform3D t;
  if (matrixMode) ForceMatrixMode(t);
  for (const Op& op : ops) Apply(t, op);
  return t;
}

void Apply(math::Transform3D& t, const Op& op) {
  switch (op.kind) {
    case Op::kTranslate: t.Translate(op.v); break;
    case Op::kRotate: t.Rotate(op.v); break;
    case Op::kScale: t.Scale(op.v); break;
    case Op::kCombine: t.Combine(Build(op.other, op.otherInMatrixMode)); break;
  }
}

// Row vectors: each operation multiplies from the right.
Mat4 Product(const std::vector<Op>& ops) {
  Mat4 m = Mat4::Identity();
  for (const Op& op : ops) {
    switch (op.kind) {
      case Op::kTranslate: m = m * reference::Translation3(op.v.x, op.v.y, op.v.z); break;
      case Op::kRotate: m = m * reference::Rotation3(op.v.x, op.v.y, op.v.z); break;
      case Op::kScale: m = m * reference::Scale3(op.v.x, op.v.y, op.v.z); break;
      case Op::kCombine: m = m * Product(op.other); break;
    }
  }
  return m;
}

// What the graphics context does with a transform that is neither in matrix mode nor rotated.
void ExpectPendingPartsMatchMatrix(const math::Transform3D& t) {
  if (t.IsMatrixMode() || t.IsRotated()) return;
  for (const math::Point3& p : {math::Point3(0, 0, 0), math::Point3(3, -7, 2)}) {
    math::Point3 viaMatrix = p;
    t.GetMatrix().TransformPoint(viaMatrix);
    math::Point3 viaParts = p + t.GetFirstTranslation();
    if (t.IsScaled()) {
      viaParts = math::Point3(viaParts.x * t.GetScale().x, viaParts.y * t.GetScale().y, viaParts.z * t.GetScale().z);
    }
    viaParts += t.GetSecondTranslation();
    EXPECT_NEAR(viaParts.x, viaMatrix.x, kTolerance);
    EXPECT_NEAR(viaParts.y, viaMatrix.y, kTolerance);
    EXPECT_NEAR(viaParts.z, viaMatrix.z, kTolerance);
  }
}

struct Case {
  std::string name;
  std::vector<Op> ops;
  bool matrixMode;  // whether the shortcut has to give up
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"nothing", {}, false},
      {"translate then scale", {T(1, 0, 0), S(2, 2, 2)}, false},
      {"translate rotate translate", {T(1, 2, 3), R(0.3f, 0.2f, 0.1f), T(4, 5, 6), T(-1, 0, 1)}, false},
      {"scales multiply", {T(1, 1, 1), S(2, 3, 4), S(0.5f, 2, 1), T(3, 0, -2)}, false},
      {"second rotation", {R(0.3f, 0, 0), R(0, 0.4f, 0)}, true},
      {"rotation after scale", {S(2, 2, 2), R(0, 0, 0.5f)}, true},
      {"scale after rotation", {R(0, 0, 0.5f), S(2, 1, 1)}, true},
      {"scale after second translation", {S(2, 3, 4), T(1, 1, 1), S(0.5f, 0.5f, 0.5f)}, true},
      {"negative scale", {T(1, 0, 0), S(-1, 1, 1)}, true},
      {"everything", {T(3, 4, 5), R(1, -0.5f, 0.25f), T(-1, 2, 0), S(2, 0.5f, 1), T(7, 7, 7), R(-0.3f, 0, 0.1f)},
       true},
      // The layer tree: scale, rotate, move, then carried by the parent's world transform.
      {"combine pending into pending", {T(1, 2, 0), R(0, 0, 0.3f), C({T(5, 6, 0), S(2, 2, 1), T(1, 1, 0)})}, true},
      {"combine translations", {T(1, 2, 3), C({T(4, 5, 6)})}, false},
      {"combine scale into scale", {S(2, 2, 1), C({S(3, 1, 1), T(1, 0, 0)})}, false},
      {"combine rotation into translation", {T(1, 2, 3), C({R(0.2f, 0.3f, 0.4f), T(1, 0, 0)})}, false},
      {"combine rotation into rotation", {R(0.1f, 0, 0), C({T(1, 0, 0), R(0, 0.2f, 0), T(0, 1, 0)})}, true},
      {"combine matrix into pending", {T(1, 2, 3), C({R(0, 0, 0.7f), S(2, 2, 2), T(3, 0, 0)})}, true},
      {"combine matrix-mode identity", {S(2, 3, 4), T(1, 1, 1), CM({})}, true},
      {"combine matrix-mode other", {T(1, 2, 3), R(0, 0.4f, 0), CM({T(2, 0, 0), R(0.5f, 0, 0), S(1, 2, 3)})}, true},
      {"combine into matrix mode",
       {S(-1, 1, 1), T(1, 0, 0), C({T(2, 3, 0), S(2, 2, 2), T(0, 0, 1)}), CM({R(0, 0, 1)})},
       true},
  };
  return cases;
}

class Transform3DSequenceTest : public testing::TestWithParam<Case> {};

TEST_P(Transform3DSequenceTest, PendingAndMatrixFormsEqualTheProductInCallOrder) {
  const Case& c = GetParam();

  // Pending form, checked after every operation.
  math::Transform3D stepwise;
  std::vector<Op> done;
  for (const Op& op : c.ops) {
    Apply(stepwise, op);
    done.push_back(op);
    SCOPED_TRACE(testing::Message() << "after " << done.size() << " operations");
    EXPECT_TRUE(Near(FromFloat(stepwise.GetMatrix()), Product(done), kTolerance));
    ExpectPendingPartsMatchMatrix(stepwise);
  }
  EXPECT_EQ(stepwise.IsMatrixMode(), c.matrixMode);

  // Pending form, matrix asked for only at the end.
  const math::Transform3D once = Build(c.ops, false);
  EXPECT_TRUE(Near(FromFloat(once.GetMatrix()), Product(c.ops), kTolerance));
  ExpectPendingPartsMatchMatrix(once);

  // Matrix form.
  const math::Transform3D matrix = Build(c.ops, true);
  ASSERT_TRUE(matrix.IsMatrixMode());
  EXPECT_TRUE(Near(FromFloat(matrix.GetMatrix()), Product(c.ops), kTolerance));
}

INSTANTIATE_TEST_SUITE_P(Sequences, Transform3DSequenceTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(Transform3DTest, TranslateThenScaleStaysPendingAndScalesTheTranslation) {
  math::Transform3D t;
  t.Translate(math::Point3(1, 0, 0));
  t.Scale(math::Point3(2, 2, 2));
  EXPECT_FALSE(t.IsMatrixMode());
  math::Point3 origin;
  t.GetMatrix().TransformPoint(origin);
  EXPECT_EQ(origin, math::Point3(2, 0, 0));
}

TEST(Transform3DTest, CombineWithItselfSquaresTheTransform) {
  for (bool matrixMode : {false, true}) {
    SCOPED_TRACE(matrixMode ? "matrix mode" : "pending");
    const std::vector<Op> ops = {T(1, 2, 0), R(0, 0, 0.5f), T(0, 1, 0)};
    math::Transform3D t = Build(ops, matrixMode);
    t.Combine(t);
    EXPECT_TRUE(Near(FromFloat(t.GetMatrix()), Product(ops) * Product(ops), kTolerance));
  }
}

TEST(Transform3DTest, CopyAndResetKeepTheStateSeparate) {
  math::Transform3D t;
  t.Translate(math::Point3(1, 2, 3));
  t.Rotate(math::Point3(0, 0, 0.5f));
  math::Transform3D copy;
  copy = t;
  t.Rotate(math::Point3(0.5f, 0, 0));  // matrix mode from here on; the copy stays pending
  EXPECT_FALSE(copy.IsMatrixMode());
  EXPECT_TRUE(Near(FromFloat(copy.GetMatrix()), Product({T(1, 2, 3), R(0, 0, 0.5f)}), kTolerance));

  t.Reset();
  EXPECT_FALSE(t.IsMatrixMode());
  EXPECT_FALSE(t.IsRotated());
  EXPECT_FALSE(t.IsScaled());
  EXPECT_TRUE(Near(FromFloat(t.GetMatrix()), Mat4::Identity(), 0.0));
  t.Scale(math::Point3(2, 2, 2));
  EXPECT_FALSE(t.IsMatrixMode());
  EXPECT_TRUE(Near(FromFloat(t.GetMatrix()), Product({S(2, 2, 2)}), 0.0));
}

}  // namespace transform3d_test
