#pragma once
#include <cstdint>
#include <emmintrin.h>

namespace math {

// A colour as four floats, each channel nominally in 0..1. Zero when default-constructed.
struct Color {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 0.0f;

  Color() = default;
  Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
  // From a packed 0xAARRGGBB value: each 8-bit channel divided by 255. Inline, as is ToARGB:
  // sprites set and pack a colour each.
  inline explicit Color(uint32_t argb);

  // Sets this colour to the componentwise product of x and y (all four channels).
  void Multiply(const Color& x, const Color& y);
  // Packs as 0xAARRGGBB, the vertex colour format: each channel is c * 255 truncated towards zero,
  // of which the low 8 bits are kept (so 1.0 packs as 255 and every packed value round-trips).
  inline uint32_t ToARGB() const;
};

inline Color::Color(uint32_t argb) {
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

inline uint32_t Color::ToARGB() const {
  // All four channels at once: every draw packs its colour. The truncating conversion gives
  // 0x80000000 for NaN and values outside int32, whose low 8 bits pack as 0; the others keep
  // their low 8 bits. Lanes b, g, r, a make the bytes of 0xAARRGGBB in memory order.
  const __m128i scaled = _mm_cvttps_epi32(_mm_mul_ps(_mm_set_ps(a, r, g, b), _mm_set1_ps(255.0f)));
  const __m128i low = _mm_and_si128(scaled, _mm_set1_epi32(0xFF));
  const __m128i words = _mm_packs_epi32(low, low);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

}  // namespace math
