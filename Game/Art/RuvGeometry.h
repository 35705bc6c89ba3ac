#pragma once
#include <cstdint>
#include <vector>

#include "Core/Math/Point.h"

// One sample of a curved lane: the unit normal and the point there; extra is the caller's.
struct RuvPathPoint {
  float nx = 0.0f;
  float ny = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
  int32_t extra = 0;
};

// Quadratic Bezier curves: start p0, control p1, end p2, B(t) = (1-t)^2 p0 + 2t(1-t) p1 + t^2 p2.
math::Point2 quadBezierPoint(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t);
// Unit normal at t (t capped at 1), measured toward t + 0.01, or toward 0.98 and flipped near the
// end so that it keeps its side; (0, 0) on a curve without extent.
math::Point2 bezierNormal(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t);
// Length of the curve shifted by offset along its normal, in steps of 0.0001.
float bezierOffsetLength(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float offset);
// The parameter at which the shifted curve walked from t0 in steps of 0.0001 has covered length
// (may pass 1). A curve that never covers it ends the walk one whole curve beyond t0.
float bezierStepByLength(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t0, float length,
                         float offset);
// Appends about n + 1 points spaced evenly along the shifted curve (t from 0 while t <= 1); a curve of
// length 0 gives its first point only.
void sampleBezierPath(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float offset, int n,
                      std::vector<RuvPathPoint>& out);
// A point at a random angle and a random distance in [b, a) from the centre (two draws, angle first).
math::Point2 randomPointInRing(float cx, float cy, float a, float b);
// a - 90 when a >= 90, else a + 270.
float normalizeAngle(float a);
float clampNonNegative(float x);
float minFloat(float a, float b);
