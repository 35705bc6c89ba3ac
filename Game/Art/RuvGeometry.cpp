#include "Game/Art/RuvGeometry.h"

#include <cmath>

#include "Core/Math/Random.h"

namespace {

constexpr double kRuvCurveStep = 0.0001;
// A walk that has not covered its length one whole curve beyond its start never will.
constexpr int kRuvCurveMaxSteps = 10001;
constexpr double kRuvCurveLengthTolerance = 1.0 - 1e-4;
constexpr double kRuvCurveEndTolerance = 1e-9;

math::Point2 RuvCurveShifted(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t,
                             float offset) {
  const math::Point2 b = quadBezierPoint(p0, p1, p2, t);
  const math::Point2 n = bezierNormal(p0, p1, p2, t);
  return math::Point2(b.x + offset * n.x, b.y + offset * n.y);
}

double RuvCurveDistance(const math::Point2& a, const math::Point2& b) {
  const double dx = double(b.x) - double(a.x);
  const double dy = double(b.y) - double(a.y);
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

math::Point2 quadBezierPoint(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t) {
  // B(t) rearranged as p0 + 2t (p1 - p0) + t^2 (p0 - 2 p1 + p2): exact on a curve whose points
  // coincide, where rounding noise would otherwise turn into random normals.
  const float ax = p0.x - 2.0f * p1.x + p2.x;
  const float ay = p0.y - 2.0f * p1.y + p2.y;
  return math::Point2(p0.x + 2.0f * t * (p1.x - p0.x) + t * t * ax, p0.y + 2.0f * t * (p1.y - p0.y) + t * t * ay);
}

math::Point2 bezierNormal(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t) {
  if (t > 1.0f) t = 1.0f;
  float u = t + 0.01f;
  const bool reversed = u >= 1.0f;
  if (reversed) u = 0.98f;
  const math::Point2 a = quadBezierPoint(p0, p1, p2, t);
  const math::Point2 b = quadBezierPoint(p0, p1, p2, u);
  const float dx = b.x - a.x;
  const float dy = b.y - a.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length == 0.0f) return math::Point2(0.0f, 0.0f);
  math::Point2 normal(-dy / length, dx / length);
  if (reversed) normal = math::Point2(-normal.x, -normal.y);
  return normal;
}

float bezierOffsetLength(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float offset) {
  double sum = 0.0;
  math::Point2 previous = RuvCurveShifted(p0, p1, p2, 0.0f, offset);
  for (int i = 0; i < kRuvCurveMaxSteps; ++i) {
    const double t = double(i) * kRuvCurveStep;
    if (t > 1.0) break;
    const math::Point2 q = RuvCurveShifted(p0, p1, p2, float(t), offset);
    sum += RuvCurveDistance(previous, q);
    previous = q;
  }
  return float(sum);
}

namespace {

// The walk of bezierStepByLength with the parameter kept in double precision, so that twenty
// steps along a lane do not drift past its end.
double RuvCurveWalk(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, double t0, float length,
                    float offset) {
  double sum = 0.0;
  math::Point2 previous = RuvCurveShifted(p0, p1, p2, float(t0), offset);
  double t = t0;
  for (int i = 1; i <= kRuvCurveMaxSteps; ++i) {
    t = t0 + double(i) * kRuvCurveStep;
    const math::Point2 q = RuvCurveShifted(p0, p1, p2, float(t), offset);
    sum += RuvCurveDistance(previous, q);
    previous = q;
    // Rounding of the sampled points must not push an exact step one sample further.
    if (sum >= double(length) * kRuvCurveLengthTolerance) break;
  }
  return t;
}

}  // namespace

float bezierStepByLength(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float t0, float length,
                         float offset) {
  return float(RuvCurveWalk(p0, p1, p2, t0, length, offset));
}

void sampleBezierPath(const math::Point2& p0, const math::Point2& p1, const math::Point2& p2, float offset, int n,
                      std::vector<RuvPathPoint>& out) {
  if (n <= 0) return;
  const float step = bezierOffsetLength(p0, p1, p2, offset) / float(n);
  double t = 0.0;
  while (t <= 1.0 + kRuvCurveEndTolerance) {
    const float at = float(t > 1.0 ? 1.0 : t);
    const math::Point2 normal = bezierNormal(p0, p1, p2, at);
    const math::Point2 q = RuvCurveShifted(p0, p1, p2, at, offset);
    RuvPathPoint point;
    point.nx = normal.x;
    point.ny = normal.y;
    point.x = q.x;
    point.y = q.y;
    out.push_back(point);
    // A curve without length makes no progress: its first point is all of it.
    if (!(step > 0.0f)) break;
    const double next = RuvCurveWalk(p0, p1, p2, t, step, offset);
    if (!(next > t)) break;
    t = next;
  }
}

math::Point2 randomPointInRing(float cx, float cy, float a, float b) {
  const float angle = math::Random(0) * 360.0f * 3.14f / 180.0f;
  const float r = math::Random(0) * (a - b) + b;
  return math::Point2(cx + std::cos(angle) * r, cy + std::sin(angle) * r);
}

float normalizeAngle(float a) { return a >= 90.0f ? a - 90.0f : a + 270.0f; }

float clampNonNegative(float x) { return x < 0.0f ? 0.0f : x; }

float minFloat(float a, float b) { return a > b ? b : a; }
