#pragma once

namespace math {

// A rectangle in design coordinates: top-left corner and size. Zero when default-constructed.
struct Rect {
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;

  Rect() = default;
  Rect(float rx, float ry, float rw, float rh) : x(rx), y(ry), width(rw), height(rh) {}
};

}  // namespace math
