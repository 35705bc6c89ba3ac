#include <gtest/gtest.h>

#include <cstring>

#include "Game/Battle/RuvRouteCache.h"
#include "Game/Battle/RuvRoutes.h"
#include "tests/Routes/RouteTestSupport.h"
#include "tests/fakes/FileTestSupport.h"
#include "tests/fakes/MainLogRecorder.h"

using routetest::MakeLink;
using routetest::MakePoint;

namespace {

// Little-endian fields, as the cache holds them.
struct CacheBytes {
  CacheBytes& u32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(value >> shift));
    return *this;
  }
  CacheBytes& f32(float value) {
    uint32_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    return u32(raw);
  }
  std::string bytes;
};

// Two records: link 1 with a pair and a lane of two samples, link 0 with an empty lane.
std::string TwoRecords() {
  CacheBytes cache;
  cache.u32(2);
  cache.u32(1).u32(1).u32(static_cast<uint32_t>(-4)).f32(2.5f);
  cache.u32(1).u32(static_cast<uint32_t>(-20)).u32(2);
  cache.u32(7).f32(0.0f).f32(1.0f).f32(10.0f).f32(20.0f);
  cache.u32(8).f32(0.6f).f32(0.8f).f32(30.0f).f32(40.0f);
  cache.u32(0).u32(0).u32(1).u32(5).u32(0);
  return cache.bytes;
}

class RouteCacheTest : public filetest::TempFolderTest {
 protected:
  RouteCacheTest() {
    mPoints = {MakePoint(1, 0, 0, "spawn"), MakePoint(2, 100, 0), MakePoint(3, 100, 100, "goal")};
    mLinks = {MakeLink(1, 2), MakeLink(2, 3)};
  }

  RuvRouteTable BuildWith(const std::string& cache) {
    WriteTestFile("ruv/levels_normal/level_01_01.cache", cache);
    RuvRouteTable table;
    table.build(RuvGraph(mPoints, mLinks), {{1, 0}}, RuvRouteTable::cachePath(0, 0, 0));
    return table;
  }

  std::string Computed() {
    RuvRouteTable table;
    table.build(RuvGraph(mPoints, mLinks), {{1, 0}}, u"no such file");
    return encodeRouteCache(table);
  }

  RuvPointList mPoints;
  RuvLinkList mLinks;
};

TEST_F(RouteCacheTest, ReadsWhatTheTestWriterWrote) {
  const RuvRouteTable table = BuildWith(TwoRecords());
  ASSERT_EQ(table.records().size(), 2u);
  const RuvRouteTable::Record& first = table.records()[0];
  EXPECT_EQ(first.link, 1);
  EXPECT_EQ(first.pairs, (std::map<int, float>{{-4, 2.5f}}));
  RuvPolyline polyline;
  table.findRoute(1, -20, polyline);
  ASSERT_EQ(polyline.size(), 2u);
  EXPECT_EQ(polyline[0]->extra, 7);
  EXPECT_EQ(polyline[0]->ny, 1.0f);
  EXPECT_EQ(polyline[0]->x, 10.0f);
  EXPECT_EQ(polyline[1]->nx, 0.6f);
  EXPECT_EQ(polyline[1]->y, 40.0f);
  EXPECT_EQ(table.records()[1].link, 0);
  EXPECT_TRUE(table.records()[1].lanes.at(5).empty());
  // The writer gives back the same bytes.
  EXPECT_EQ(encodeRouteCache(table), TwoRecords());
}

TEST_F(RouteCacheTest, ComputedTableSurvivesTheRoundTrip) {
  const std::string computed = Computed();
  EXPECT_EQ(encodeRouteCache(BuildWith(computed)), computed);
}

TEST_F(RouteCacheTest, NoRecordsMeansNoRoutes) {
  EXPECT_TRUE(BuildWith(CacheBytes().u32(0).bytes).empty());
}

TEST_F(RouteCacheTest, BrokenCacheIsDroppedAndRoutesComputed) {
  const std::string good = TwoRecords();
  std::vector<std::pair<std::string, std::string>> cases;
  for (size_t size = 0; size < good.size(); ++size) {
    cases.push_back({"truncated to " + std::to_string(size), good.substr(0, size)});
  }
  std::string outOfRange = good;
  outOfRange[4] = 2;  // the first record's link index; the level has two links
  cases.push_back({"link index out of range", outOfRange});
  cases.push_back({"huge record count", CacheBytes().u32(0xFFFFFFFFu).bytes});
  cases.push_back({"huge pair count", CacheBytes().u32(1).u32(0).u32(0x20000000u).bytes});
  cases.push_back({"huge lane count", CacheBytes().u32(1).u32(0).u32(0).u32(0x80000000u).u32(0).bytes});
  cases.push_back({"huge sample count", CacheBytes().u32(1).u32(0).u32(0).u32(1).u32(0).u32(0x0CCCCCCDu).bytes});

  const std::string computed = Computed();
  for (const auto& [name, bytes] : cases) {
    fakes::MainLogRecorder log;
    EXPECT_EQ(encodeRouteCache(BuildWith(bytes)), computed) << name;
    EXPECT_NE(log.Text().find(u"route cache"), std::u16string::npos) << name;
  }
}

TEST_F(RouteCacheTest, DecoderKeepsNothingOfABrokenCache) {
  std::string broken = TwoRecords();
  broken.pop_back();
  RuvRouteTable table;
  table.storeRoute(0, 0, std::vector<RuvPathPoint>(2));
  std::string error;
  EXPECT_FALSE(decodeRouteCache(broken, 2, table, error));
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(error.empty());
}

TEST_F(RouteCacheTest, MissingCacheFails) {
  RuvRouteTable table;
  EXPECT_EQ(table.loadCache(u"ruv/levels_normal/level_01_01.cache", 2), VN_FAIL);
  EXPECT_TRUE(table.empty());
}

}  // namespace
