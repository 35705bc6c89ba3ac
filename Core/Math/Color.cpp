#include "Core/Math/Color.h"

namespace math {

namespace {

float Channel(uint32_t argb, int shift) { return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f; }

uint32_t PackChannel(float c, int shift) {
  const float scaled = c * 255.0f;
  // The cast of a value outside int32 (or NaN) is undefined; such a channel packs as 0.
  if (!(scaled > -2147483648.0f && scaled < 2147483648.0f)) return 0;
  return (static_cast<uint32_t>(static_cast<int32_t>(scaled)) & 0xFFu) << shift;
}

}  // namespace

Color::Color(uint32_t argb)
    : r(Channel(argb, 16)), g(Channel(argb, 8)), b(Channel(argb, 0)), a(Channel(argb, 24)) {}

void Color::Multiply(const Color& x, const Color& y) {
  r = x.r * y.r;
  g = x.g * y.g;
  b = x.b * y.b;
  a = x.a * y.a;
}

uint32_t Color::ToARGB() const {
  return PackChannel(a, 24) | PackChannel(r, 16) | PackChannel(g, 8) | PackChannel(b, 0);
}

}  // namespace math
