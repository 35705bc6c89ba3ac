#include "Core/Math/Box3.h"

#include <algorithm>
#include <limits>

namespace math {

void Box3::Reset() {
  const float largest = std::numeric_limits<float>::max();
  min = Point3(largest, largest, largest);
  max = Point3(-largest, -largest, -largest);
}

const Point3& Box3::AddPoint(const Point3& point) {
  min = Point3(std::min(min.x, point.x), std::min(min.y, point.y), std::min(min.z, point.z));
  max = Point3(std::max(max.x, point.x), std::max(max.y, point.y), std::max(max.z, point.z));
  return point;
}

void Box3::AddBox(const Box3& box) {
  min = Point3(std::min(min.x, box.min.x), std::min(min.y, box.min.y), std::min(min.z, box.min.z));
  max = Point3(std::max(max.x, box.max.x), std::max(max.y, box.max.y), std::max(max.z, box.max.z));
}

Point3 Box3::GetCorner(int index) const {
  switch (index) {
    case 0: return Point3(min.x, min.y, min.z);
    case 1: return Point3(min.x, min.y, max.z);
    case 2: return Point3(max.x, min.y, max.z);
    case 3: return Point3(max.x, min.y, min.z);
    case 4: return Point3(min.x, max.y, min.z);
    case 5: return Point3(min.x, max.y, max.z);
    case 6: return Point3(max.x, max.y, max.z);
    case 7: return Point3(max.x, max.y, min.z);
    default: return Point3();
  }
}

}  // namespace math
