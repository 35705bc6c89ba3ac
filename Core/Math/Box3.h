#pragma once
#include "Core/Math/Point.h"

namespace math {

// An axis-aligned bounding box. Empty when default-constructed: its minimum is the largest float and
// its maximum the lowest, so the first point or box added becomes the box.
struct Box3 {
  Point3 min;
  Point3 max;

  Box3() { Reset(); }

  // Makes the box empty.
  void Reset();
  // Grows the box to hold the point; returns the point.
  const Point3& AddPoint(const Point3& point);
  // Grows the box to hold the other box (an empty box adds nothing).
  void AddBox(const Box3& box);
  // Corners 0-3 go around the face of minimum y (min/min/min, min/min/max, max/min/max, max/min/min),
  // corners 4-7 are the same corners on the face of maximum y; any other index gives (0, 0, 0).
  Point3 GetCorner(int index) const;
};

}  // namespace math
