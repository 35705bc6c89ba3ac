#include "Core/Math/Color.h"

namespace math {

void Color::Multiply(const Color& x, const Color& y) {
  r = x.r * y.r;
  g = x.g * y.g;
  b = x.b * y.b;
  a = x.a * y.a;
}

}  // namespace math
