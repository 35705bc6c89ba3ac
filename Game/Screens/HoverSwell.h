#pragma once
#include <algorithm>

// A hovered plate, tab or buy button swells to 1.1 at 0.5 per second and shrinks back to 1 at 1 per
// second (real seconds).
inline float hoverSwell(float scale, bool hovered, float dt) {
  return hovered ? std::min(1.1f, scale + 0.5f * dt) : std::max(1.0f, scale - dt);
}
