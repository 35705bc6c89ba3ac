#include "Core/Math/Point.h"

#include <cmath>

namespace math {

bool Point3::operator==(const Point3& other) const {
  return std::fabs(x - other.x) <= kTolerance && std::fabs(y - other.y) <= kTolerance &&
         std::fabs(z - other.z) <= kTolerance;
}

Point3& Point3::operator+=(const Point3& other) {
  x += other.x;
  y += other.y;
  z += other.z;
  return *this;
}

}  // namespace math
