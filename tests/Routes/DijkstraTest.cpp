#include <gtest/gtest.h>

#include "Game/Battle/RuvRoutes.h"
#include "tests/Routes/RouteTestSupport.h"

using routetest::MakeLink;
using routetest::MakePoint;

namespace {

// W = 1, X = 2, Y = 3, Z = 4 on a square; the tests route from W to Y.
struct ShortestRouteCase {
  const char* name;
  RuvPointList points;
  RuvLinkList links;
  int start;
  int goal;
  std::vector<int> route;
};

RuvPointList Square(float zx, float zy) {
  return {MakePoint(1, 0, 0, "spawn"), MakePoint(2, 10, 0), MakePoint(3, 10, 10, "goal"), MakePoint(4, zx, zy)};
}

const RuvLinkList kSquareLinks{MakeLink(1, 2), MakeLink(2, 3), MakeLink(3, 4), MakeLink(4, 1)};

std::vector<ShortestRouteCase> ShortestRouteCases() {
  const RuvPointList square = Square(0, 10);
  return {
      {"shorter side", Square(-5, 20), kSquareLinks, 1, 3, {1, 2, 3}},
      {"shorter other side", Square(1, 9), kSquareLinks, 1, 3, {1, 4, 3}},
      {"tie to the earlier point", square, kSquareLinks, 1, 3, {1, 2, 3}},
      {"tie, Z written first", {square[0], square[3], square[2], square[1]}, kSquareLinks, 1, 3, {1, 4, 3}},
      {"reversed links", square, {MakeLink(3, 2), MakeLink(2, 1)}, 1, 3, {1, 2, 3}},
      {"goal to start", square, {MakeLink(3, 1)}, 1, 3, {1, 3}},
      {"self link", square, {MakeLink(1, 1), MakeLink(1, 2), MakeLink(2, 2), MakeLink(2, 3)}, 1, 3, {1, 2, 3}},
      {"duplicate links", square, {MakeLink(1, 2), MakeLink(2, 1), MakeLink(2, 3)}, 1, 3, {1, 2, 3}},
      {"link to an unknown point", square, {MakeLink(1, 9), MakeLink(9, 3), MakeLink(1, 4), MakeLink(4, 3)}, 1, 3,
       {1, 4, 3}},
      {"unreachable goal", square, {MakeLink(1, 2), MakeLink(3, 4)}, 1, 3, {}},
      {"only through an unknown point", square, {MakeLink(1, 9), MakeLink(9, 3)}, 1, 3, {}},
      {"start is the goal", square, kSquareLinks, 1, 1, {}},
      {"no links", square, {}, 1, 3, {}},
      {"reverse direction", square, kSquareLinks, 3, 1, {3, 2, 1}},
  };
}

TEST(Dijkstra, ShortestRoutes) {
  for (const ShortestRouteCase& test : ShortestRouteCases()) {
    const RuvGraph graph(test.points, test.links);
    EXPECT_EQ(graph.findRoute(*graph.findPoint(test.start), *graph.findPoint(test.goal)), test.route) << test.name;
  }
}

TEST(Dijkstra, PointsOutsideTheGraphHaveNoRoute) {
  const RuvPointList points = Square(0, 10);
  const RuvGraph graph(points, kSquareLinks);
  const RuvPoint stranger = MakePoint(7, 0, 0);
  EXPECT_TRUE(graph.findRoute(stranger, points[2]).empty());
  EXPECT_TRUE(graph.findRoute(points[0], stranger).empty());
}

TEST(Dijkstra, RouteLinksNameTheFirstJoiningLink) {
  const RuvPointList points = Square(0, 10);
  const RuvLinkList links{MakeLink(3, 4), MakeLink(2, 1), MakeLink(1, 2), MakeLink(2, 3)};
  const RuvGraph graph(points, links);
  EXPECT_EQ(graph.routeLinks({1, 2, 3}), (std::vector<int>{1, 3}));
  EXPECT_EQ(graph.routeLinks({1, 4}), (std::vector<int>{-1}));
  EXPECT_EQ(graph.routeLinks({1, 9}), (std::vector<int>{-1}));
  EXPECT_TRUE(graph.routeLinks({1}).empty());
}

TEST(RouteGraph, PointQueries) {
  const RuvPointList points{MakePoint(5, 0, 0), MakePoint(6, 3, 4, "spawn"), MakePoint(7, 6, 8, "goal"),
                            MakePoint(8, 0, 0, "spawn"), MakePoint(9, 0, 0, "goal")};
  const RuvLinkList links{MakeLink(7, 6), MakeLink(6, 7), MakeLink(5, 9)};
  const RuvGraph graph(points, links);
  EXPECT_EQ(graph.firstSpawnPoint(), &points[1]);
  EXPECT_EQ(graph.firstGoalPoint(), &points[2]);
  EXPECT_EQ(graph.findPoint(8), &points[3]);
  EXPECT_EQ(graph.findPoint(4), nullptr);
  EXPECT_EQ(graph.findLink(points[1], points[2]), 0);
  EXPECT_EQ(graph.findLink(points[2], points[1]), 0);
  EXPECT_EQ(graph.findLink(points[0], points[1]), -1);
  EXPECT_FLOAT_EQ(graph.linkDistance(points[1], points[2]), 5.0f);
  EXPECT_FLOAT_EQ(graph.linkDistance(points[0], points[4]), 0.0f);
  EXPECT_FLOAT_EQ(graph.linkDistance(points[0], points[1]), -1.0f);

  const RuvPointList unmarked{MakePoint(1, 0, 0)};
  const RuvGraph bare(unmarked, {});
  EXPECT_EQ(bare.firstSpawnPoint(), nullptr);
  EXPECT_EQ(bare.firstGoalPoint(), nullptr);
}

TEST(RouteGraph, LinkNormal) {
  const RuvPointList points{MakePoint(1, 0, 0), MakePoint(2, 100, 0), MakePoint(3, 0, 0)};
  RuvLink straight = MakeLink(1, 2);
  straight.controlX = 50.0f;
  RuvLink back = MakeLink(2, 1);
  back.controlX = 50.0f;
  const RuvLink still = MakeLink(1, 3);
  const RuvLink dangling = MakeLink(1, 9);
  const RuvGraph graph(points, {});
  struct Case {
    const RuvLink& link;
    float t;
    float nx;
    float ny;
  };
  const Case cases[] = {
      {straight, 0.0f, 0.0f, 1.0f},  {straight, 0.5f, 0.0f, 1.0f}, {straight, 3.0f, 0.0f, 1.0f},
      {back, 0.5f, 0.0f, -1.0f},     {still, 0.5f, 0.0f, 0.0f},    {dangling, 0.5f, 0.0f, 0.0f},
  };
  for (const Case& test : cases) {
    const math::Point2 normal = graph.linkNormal(test.link, test.t);
    EXPECT_NEAR(normal.x, test.nx, 1e-5f) << test.t;
    EXPECT_NEAR(normal.y, test.ny, 1e-5f) << test.t;
  }
  // Past the end (t capped at 1, the step to 1.01 runs on along the curve) the direction is kept.
  RuvLink curved = MakeLink(1, 2);
  curved.controlY = 100.0f;
  const math::Point2 normal = graph.linkNormal(curved, 1.0f);
  EXPECT_NEAR(normal.x * normal.x + normal.y * normal.y, 1.0f, 1e-5f);
  EXPECT_GT(normal.x, 0.0f);
}

}  // namespace
