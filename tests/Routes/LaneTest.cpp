#include <gtest/gtest.h>

#include <cmath>

#include "Game/Battle/RuvRoutes.h"

namespace {

TEST(Lanes, LaneKeyOfEntryY) {
  const struct {
    float y;
    int key;
  } cases[] = {{0.0f, -20}, {-65.0f, 0}, {-130.0f, 20}, {-32.5f, -10}, {10.0f, -23}, {-100.0f, 10}, {-66.0f, 0}};
  for (const auto& test : cases) {
    EXPECT_EQ(laneKey(test.y), static_cast<int>(((-test.y - 65.0f) / 65.0f) * 20.0f)) << test.y;
    EXPECT_EQ(laneKey(test.y), test.key) << test.y;
  }
}

// n samples along x = 10 i, y = -i.
struct SampledLine {
  explicit SampledLine(size_t n) : samples(n) {
    for (size_t i = 0; i < n; ++i) {
      samples[i].x = 10.0f * static_cast<float>(i);
      samples[i].y = -static_cast<float>(i);
      polyline.push_back(&samples[i]);
    }
  }
  std::vector<RuvPathPoint> samples;
  RuvPolyline polyline;
};

TEST(Lanes, PolylinePosition) {
  const struct {
    size_t n;
    float p;
    float x;  // y is always -x / 10
  } cases[] = {
      {21, 0.0f, 0.0f},    {21, 0.5f, 100.0f}, {21, 1.0f, 200.0f}, {21, 0.525f, 105.0f}, {21, 0.26f, 52.0f},
      {21, 1.05f, 200.0f}, {2, 0.5f, 5.0f},    {2, 1.0f, 10.0f},   {1, 0.0f, 0.0f},      {1, 0.7f, 0.0f},
      {0, 0.5f, 0.0f},     {21, -0.5f, 0.0f},  {3, 0.75f, 15.0f},
  };
  for (const auto& test : cases) {
    const SampledLine line(test.n);
    const math::Point2 at = polylinePosition(line.polyline, test.p);
    EXPECT_NEAR(at.x, test.x, 1e-3f) << test.n << " samples at " << test.p;
    EXPECT_NEAR(at.y, -test.x / 10.0f, 1e-4f) << test.n << " samples at " << test.p;
  }
  // Half way along 21 samples is sample 10 exactly.
  const SampledLine line(21);
  const math::Point2 half = polylinePosition(line.polyline, 0.5f);
  EXPECT_EQ(half.x, line.samples[10].x);
  EXPECT_EQ(half.y, line.samples[10].y);
}

TEST(Lanes, PolylineAdvanceNeverDivides) {
  const SampledLine line(21);  // first two samples sqrt(101) apart
  EXPECT_FLOAT_EQ(polylineAdvance(line.polyline, 30.0f), 30.0f / std::sqrt(101.0f) / 20.0f);
  EXPECT_EQ(polylineAdvance(SampledLine(1).polyline, 30.0f), 0.0f);
  EXPECT_EQ(polylineAdvance(SampledLine(0).polyline, 30.0f), 0.0f);
  std::vector<RuvPathPoint> same(3);
  const RuvPolyline coincident{&same[0], &same[1], &same[2]};
  EXPECT_EQ(polylineAdvance(coincident, 30.0f), 0.0f);
}

}  // namespace
