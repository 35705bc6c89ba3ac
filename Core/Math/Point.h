#pragma once

namespace math {

// Plain float vectors: copied freely, zero when default-constructed.

struct Point2 {
  float x = 0.0f;
  float y = 0.0f;

  Point2() = default;
  Point2(float px, float py) : x(px), y(py) {}
};

struct Point3 {
  // Largest per-component difference at which two points still count as equal.
  static constexpr float kTolerance = 0.0002f;

  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  Point3() = default;
  Point3(float px, float py, float pz) : x(px), y(py), z(pz) {}

  // Equal when every component differs by at most kTolerance; exactly one of == and != holds.
  bool operator==(const Point3& other) const;
  bool operator!=(const Point3& other) const { return !(*this == other); }

  Point3 operator+(const Point3& other) const { return {x + other.x, y + other.y, z + other.z}; }
  Point3 operator-(const Point3& other) const { return {x - other.x, y - other.y, z - other.z}; }
  Point3& operator+=(const Point3& other);
};

struct Point4 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 0.0f;

  Point4() = default;
  Point4(float px, float py, float pz, float pw) : x(px), y(py), z(pz), w(pw) {}
};

}  // namespace math
