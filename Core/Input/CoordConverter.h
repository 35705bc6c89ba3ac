#pragma once
#include "Core/Math/Point.h"

namespace input {

// Converts window (client pixel) positions into logical (design) coordinates.
class CoordConverter {
 public:
  virtual ~CoordConverter() = default;
  virtual math::Point2 ToLogical(const math::Point2& windowPoint) = 0;
  virtual math::Point2 ApplyOrientation(const math::Point2& point, int orientation) = 0;
};

}  // namespace input
