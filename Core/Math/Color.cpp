#include "Core/Math/Color.h"

#include <emmintrin.h>

namespace math {

namespace {

float Channel(uint32_t argb, int shift) { return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f; }

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
  // All four channels at once: every draw packs its colour. The truncating conversion gives
  // 0x80000000 for NaN and values outside int32, whose low 8 bits pack as 0; the others keep
  // their low 8 bits. Lanes b, g, r, a make the bytes of 0xAARRGGBB in memory order.
  const __m128i scaled = _mm_cvttps_epi32(_mm_mul_ps(_mm_set_ps(a, r, g, b), _mm_set1_ps(255.0f)));
  const __m128i low = _mm_and_si128(scaled, _mm_set1_epi32(0xFF));
  const __m128i words = _mm_packs_epi32(low, low);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

}  // namespace math
