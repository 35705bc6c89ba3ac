#include <gtest/gtest.h>

#include "Game/Battle/RuvRouteCache.h"
#include "Game/Battle/RuvRoutes.h"
#include "tests/Routes/RouteTestSupport.h"
#include "tests/fakes/FileTestSupport.h"

using routetest::MakeLink;
using routetest::MakePoint;

namespace {

// Two spawn points 1 and 2 fork into point 3, which leads to the goal 4.
struct ForkLevel {
  ForkLevel() {
    points = {MakePoint(1, 0, 0, "spawn"), MakePoint(2, 0, 200, "spawn"), MakePoint(3, 100, 100),
              MakePoint(4, 300, 100, "goal")};
    links = {MakeLink(1, 3), MakeLink(3, 2), MakeLink(4, 3)};
    links[0].controlX = 80.0f;
    links[2].controlY = 40.0f;
  }
  RuvPointList points;
  RuvLinkList links;
};

// What the table must hold for a link and lane: the link's curve sampled in 20 steps, shifted.
std::vector<RuvPathPoint> ExpectedSamples(const ForkLevel& level, int link, int lane) {
  const RuvGraph graph(level.points, level.links);
  const RuvLink& curve = level.links[link];
  const RuvPoint& a = *graph.findPoint(curve.startId);
  const RuvPoint& b = *graph.findPoint(curve.endId);
  std::vector<RuvPathPoint> samples;
  sampleBezierPath({a.x, a.y}, {curve.controlX, curve.controlY}, {b.x, b.y}, static_cast<float>(lane), 20, samples);
  return samples;
}

// link -> lane keys, as stored.
std::map<int, std::vector<int>> StoredLanes(const RuvRouteTable& table) {
  std::map<int, std::vector<int>> lanes;
  for (const RuvRouteTable::Record& record : table.records()) {
    for (const auto& lane : record.lanes) lanes[record.link].push_back(lane.first);
  }
  return lanes;
}

void ExpectSameSamples(const std::vector<RuvPathPoint>& a, const RuvPolyline& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].x, b[i]->x);
    EXPECT_EQ(a[i].y, b[i]->y);
    EXPECT_EQ(a[i].nx, b[i]->nx);
    EXPECT_EQ(a[i].ny, b[i]->ny);
  }
}

class RouteTableTest : public filetest::TempFolderTest {
 protected:
  RuvRouteTable Build(const std::vector<RuvLaneDemand>& lanes) {
    RuvRouteTable table;
    table.build(RuvGraph(mLevel.points, mLevel.links), lanes, kCache);
    return table;
  }

  const std::u16string kCache = RuvRouteTable::cachePath(0, 0, 0);
  ForkLevel mLevel;
};

TEST_F(RouteTableTest, ComputedLanes) {
  using Lanes = std::map<int, std::vector<int>>;
  const struct {
    const char* name;
    std::vector<RuvLaneDemand> lanes;
    Lanes stored;
  } cases[] = {
      {"one entry", {{1, 0}}, {{0, {0}}, {2, {0}}}},
      {"two lanes, one repeated", {{1, -20}, {1, 0}, {1, -20}}, {{0, {-20, 0}}, {2, {-20, 0}}}},
      {"both spawns", {{1, 0}, {2, 20}}, {{0, {0}}, {1, {20}}, {2, {0, 20}}}},
      {"spawn -1 is the first spawn point", {{-1, -20}}, {{0, {-20}}, {2, {-20}}}},
      {"spawn that is no spawn point", {{3, 0}, {9, 0}}, {}},
      {"no waves", {}, {}},
  };
  for (const auto& test : cases) {
    const RuvRouteTable table = Build(test.lanes);
    EXPECT_EQ(StoredLanes(table), test.stored) << test.name;
    for (const auto& [link, keys] : test.stored) {
      for (int key : keys) {
        RuvPolyline polyline;
        table.findRoute(link, key, polyline);
        ExpectSameSamples(ExpectedSamples(mLevel, link, key), polyline);
      }
    }
  }
}

TEST_F(RouteTableTest, NoRoutesWithoutGoalOrSpawn) {
  for (const char* removed : {"goal", "spawn"}) {
    for (RuvPoint& point : mLevel.points) {
      if ((removed == std::string("goal") && point.isGoal()) || (removed == std::string("spawn") && point.isSpawn())) {
        point = MakePoint(point.id, point.x, point.y);
      }
    }
    EXPECT_TRUE(Build({{1, 0}, {-1, 0}}).empty()) << removed;
    mLevel = ForkLevel();
  }
}

TEST_F(RouteTableTest, FindRouteLeavesMissingLanesAlone) {
  RuvRouteTable table = Build({{1, 0}});
  std::vector<RuvPathPoint> own(2);
  const RuvPolyline before{&own[0], &own[1]};
  for (const auto& [link, lane] : std::vector<std::pair<int, int>>{{0, 20}, {1, 0}, {-1, 0}, {7, 0}}) {
    RuvPolyline polyline = before;
    table.findRoute(link, lane, polyline);
    EXPECT_EQ(polyline, before) << link << "/" << lane;
  }
}

TEST_F(RouteTableTest, MissingLaneIsSampledOnFirstUse) {
  RuvRouteTable table = Build({{1, 0}});
  const RuvGraph graph(mLevel.points, mLevel.links);
  RuvPolyline polyline;
  table.findOrSampleRoute(graph, 1, 20, polyline);
  ExpectSameSamples(ExpectedSamples(mLevel, 1, 20), polyline);
  const RuvPathPoint* first = polyline.front();
  table.findOrSampleRoute(graph, 1, 20, polyline);
  EXPECT_EQ(polyline.front(), first) << "sampled once";

  // Links the level does not have, or whose end is no point, give nothing.
  mLevel.links.push_back(MakeLink(1, 9));
  for (int link : {-1, 3, 4}) {
    RuvPolyline untouched;
    table.findOrSampleRoute(RuvGraph(mLevel.points, mLevel.links), link, 0, untouched);
    EXPECT_TRUE(untouched.empty()) << link;
  }
}

TEST_F(RouteTableTest, PolylinesSurviveLaterSampling) {
  RuvRouteTable table;
  const RuvGraph graph(mLevel.points, mLevel.links);
  RuvPolyline first;
  table.findOrSampleRoute(graph, 2, 0, first);
  const std::vector<RuvPathPoint> expected = ExpectedSamples(mLevel, 2, 0);
  for (int lane = 1; lane < 40; ++lane) {
    RuvPolyline other;
    table.findOrSampleRoute(graph, lane % 3, lane, other);
  }
  ExpectSameSamples(expected, first);
}

TEST_F(RouteTableTest, StoreRouteReplaces) {
  RuvRouteTable table;
  table.storeRoute(2, 5, std::vector<RuvPathPoint>(3));
  table.storeRoute(2, 5, std::vector<RuvPathPoint>(4));
  table.storeRoute(0, 5, std::vector<RuvPathPoint>(1));
  ASSERT_EQ(table.records().size(), 2u);
  EXPECT_EQ(table.records()[0].link, 2);
  RuvPolyline polyline;
  table.findRoute(2, 5, polyline);
  EXPECT_EQ(polyline.size(), 4u);
}

TEST(RouteCachePath, ByModeEpisodeAndLevel) {
  const struct {
    int mode, episode, level;
    const char16_t* path;
  } cases[] = {
      {3, 0, 9, u"ruv/levels_hardcore/level_01_10.cache"},
      {1, 1, 2, u"ruv/levels_normal/level_02_03.cache"},
      {0, 11, 0, u"ruv/levels_normal/level_12_01.cache"},
  };
  for (const auto& test : cases) EXPECT_EQ(RuvRouteTable::cachePath(test.mode, test.episode, test.level), test.path);
}

}  // namespace
