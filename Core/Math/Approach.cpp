#include "Core/Math/Approach.h"

#include <cmath>

namespace math {

bool Approach(float& value, float step, float target) {
  if (value == target) return true;
  if (step > std::fabs(value - target)) {
    value = target;
    return true;
  }
  value += value < target ? step : -step;
  return false;
}

}  // namespace math
