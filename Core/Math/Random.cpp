#include "Core/Math/Random.h"

namespace math {

namespace {

uint32_t sCounter = 0;

constexpr float kTwoToMinus32 = 0x1p-32f;

// Advances the counter and hashes the seed, rounded to the nearest float.
float NextHash(uint32_t seed) {
  const uint32_t s = seed != 0 ? seed : sCounter + 1;
  sCounter = s;
  uint32_t h = (s ^ 0x00BC602Fu) * 0x9E3779B9u;
  h = h ^ (h >> 26) ^ (h << 6);
  h = h * 0x9E3779B9u;
  const uint32_t r = h + ((h >> 12) ^ (h << 5));
  return static_cast<float>(r);
}

}  // namespace

float Random(uint32_t seed) { return NextHash(seed) * kTwoToMinus32; }

float RandomRange(float a, float b, uint32_t seed) {
  const float f = NextHash(seed);
  return (f * (b - a)) * kTwoToMinus32 + a;
}

}  // namespace math
