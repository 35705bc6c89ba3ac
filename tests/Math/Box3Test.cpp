#include "Core/Math/Box3.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

void ExpectPoint(const math::Point3& p, float x, float y, float z) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.z, z);
}

TEST(Box3Test, EmptyBoxBecomesTheFirstPointThenGrows) {
  math::Box3 box;
  const float largest = std::numeric_limits<float>::max();
  ExpectPoint(box.min, largest, largest, largest);
  ExpectPoint(box.max, -largest, -largest, -largest);

  const math::Point3 first(1, 2, 3);
  EXPECT_EQ(&box.AddPoint(first), &first);
  ExpectPoint(box.min, 1, 2, 3);
  ExpectPoint(box.max, 1, 2, 3);
  box.AddPoint(math::Point3(0, 5, 1));
  ExpectPoint(box.min, 0, 2, 1);
  ExpectPoint(box.max, 1, 5, 3);

  box.Reset();
  ExpectPoint(box.min, largest, largest, largest);
  ExpectPoint(box.max, -largest, -largest, -largest);
}

TEST(Box3Test, AddBoxTakesTheUnionAndIgnoresAnEmptyBox) {
  math::Box3 box;
  box.AddPoint(math::Point3(0, 0, 0));
  box.AddPoint(math::Point3(1, 1, 1));
  math::Box3 other;
  other.AddPoint(math::Point3(-2, 0.5f, 3));
  other.AddPoint(math::Point3(0.5f, 4, 3));

  box.AddBox(math::Box3());
  ExpectPoint(box.min, 0, 0, 0);
  ExpectPoint(box.max, 1, 1, 1);
  box.AddBox(other);
  ExpectPoint(box.min, -2, 0, 0);
  ExpectPoint(box.max, 1, 4, 3);

  math::Box3 empty;
  empty.AddBox(other);
  ExpectPoint(empty.min, -2, 0.5f, 3);
  ExpectPoint(empty.max, 0.5f, 4, 3);
}

TEST(Box3Test, CornersGoAroundTheMinimumYFaceThenTheMaximumYFace) {
  math::Box3 box;
  box.AddPoint(math::Point3(1, 2, 3));
  box.AddPoint(math::Point3(4, 5, 6));
  struct Case {
    int index;
    float x, y, z;
  };
  const Case cases[] = {
      {0, 1, 2, 3}, {1, 1, 2, 6}, {2, 4, 2, 6}, {3, 4, 2, 3}, {4, 1, 5, 3},
      {5, 1, 5, 6}, {6, 4, 5, 6}, {7, 4, 5, 3}, {8, 0, 0, 0}, {-1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "corner " << c.index);
    ExpectPoint(box.GetCorner(c.index), c.x, c.y, c.z);
  }
}

}  // namespace
