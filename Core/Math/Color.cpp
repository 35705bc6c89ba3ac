#include "Core/Math/Color.h"

#include <emmintrin.h>

namespace math {

Color::Color(uint32_t argb) {
  // All four channels at once, as packing does: the bytes b, g, r, a of 0xAARRGGBB to lanes, each
  // divided by 255 (the quotient of one channel at a time).
  const __m128i zero = _mm_setzero_si128();
  const __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(argb)), zero), zero);
  alignas(16) float channels[4];
  _mm_store_ps(channels, _mm_div_ps(_mm_cvtepi32_ps(lanes), _mm_set1_ps(255.0f)));
  r = channels[2];
  g = channels[1];
  b = channels[0];
  a = channels[3];
}

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
