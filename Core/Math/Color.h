#pragma once
#include <cstdint>

namespace math {

// A colour as four floats, each channel nominally in 0..1. Zero when default-constructed.
struct Color {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 0.0f;

  Color() = default;
  Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
  // From a packed 0xAARRGGBB value: each 8-bit channel divided by 255.
  explicit Color(uint32_t argb);

  // Sets this colour to the componentwise product of x and y (all four channels).
  void Multiply(const Color& x, const Color& y);
  // Packs as 0xAARRGGBB, the vertex colour format: each channel is c * 255 truncated towards zero,
  // of which the low 8 bits are kept (so 1.0 packs as 255 and every packed value round-trips).
  uint32_t ToARGB() const;
};

}  // namespace math
