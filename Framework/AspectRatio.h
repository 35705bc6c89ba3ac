#pragma once
#include <cstdint>

namespace render {

// A width:height pair reduced by its greatest common divisor (1366 x 768 is 683:384).
// Both parts must be non-zero.
struct AspectRatio {
  std::uint32_t width;
  std::uint32_t height;

  AspectRatio(std::uint32_t w, std::uint32_t h) {
    std::uint32_t a = w;
    std::uint32_t b = h;
    while (b != 0) {
      const std::uint32_t rest = a % b;
      a = b;
      b = rest;
    }
    width = w / a;
    height = h / a;
  }
};

}  // namespace render
