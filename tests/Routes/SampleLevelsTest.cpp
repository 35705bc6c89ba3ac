#include <gtest/gtest.h>

#include <filesystem>

#include "Core/Base/StringEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Game/Battle/RuvLevelFile.h"
#include "tests/fakes/FileTestSupport.h"

namespace {

namespace fs = std::filesystem;

// Every level file of the campaign and of the tests, with the folder that holds its scenery.
struct SampleLevel {
  fs::path file;
  fs::path dataRoot;
};

std::vector<SampleLevel> SampleLevels() {
  const fs::path source(QM_SOURCE_DIR);
  std::vector<SampleLevel> levels;
  for (const char* folder : {"data/ruv/levels_normal", "data/ruv/levels_hardcore", "tests/data/levels"}) {
    const fs::path root = source / (folder[0] == 'd' ? "data" : folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(source / folder)) {
      if (entry.path().extension() == ".xml") levels.push_back({entry.path(), root});
    }
  }
  return levels;
}

class SampleLevelsTest : public filetest::TempFolderTest {
 protected:
  void Read(const SampleLevel& sample) {
    WriteTestFile("level.xml", ReadTestFile(sample.file.string()));
    ASSERT_EQ(readLevelFile(u"level.xml", 1.0f, mLevel), VN_OK);
  }

  RuvLevelFile mLevel;
};

TEST_F(SampleLevelsTest, EveryLevelIsPlayable) {
  const std::vector<SampleLevel> samples = SampleLevels();
  ASSERT_EQ(samples.size(), 10u) << "six normal, two hardcore and two test levels";
  for (const SampleLevel& sample : samples) {
    SCOPED_TRACE(sample.file.string());
    Read(sample);
    // The scenery opens as a layout with a background and ambient effect points in "fx".
    fs::create_directories(mLevel.layoutPath);
    fs::copy(sample.dataRoot / mLevel.layoutPath, mLevel.layoutPath, fs::copy_options::recursive);
    const std::string folder = mLevel.layoutPath.substr(0, mLevel.layoutPath.rfind('/'));
    std::unique_ptr<file::ImageContainer> scenery(
        file::FileManager::Instance()->OpenImageContainer(base::ToWide(folder, base::kEncodingUtf8)));
    ASSERT_NE(scenery, nullptr);
    EXPECT_TRUE(scenery->HasLayer(u"background"));
    std::vector<std::u16string> effects;
    scenery->ListLayers(u"fx", false, effects, true);
    EXPECT_FALSE(effects.empty());

    const RuvGraph graph(mLevel.points, mLevel.links);
    const RuvPoint* goal = graph.firstGoalPoint();
    ASSERT_NE(goal, nullptr);
    ASSERT_NE(graph.firstSpawnPoint(), nullptr);
    for (const RuvPoint& point : mLevel.points) {
      if (point.isSpawn()) {
        EXPECT_FALSE(graph.findRoute(point, *goal).empty()) << "spawn " << point.id;
      }
    }
    EXPECT_FALSE(mLevel.waves.empty());
    for (const RuvLevelWave& wave : mLevel.waves) {
      const RuvPoint* spawn = wave.spawn == -1 ? graph.firstSpawnPoint() : graph.findPoint(wave.spawn);
      ASSERT_NE(spawn, nullptr) << "wave spawn " << wave.spawn;
      EXPECT_TRUE(spawn->isSpawn()) << "wave spawn " << wave.spawn;
    }
    for (const RuvLevelSpot& spot : mLevel.spots) EXPECT_EQ(spot.attributes.getFloat("radius_mult"), 1.0f);

    // Every lane a unit walks is sampled with enough points to move along.
    RuvRouteTable routes;
    routes.build(graph, mLevel.laneDemands(), u"no cache");
    for (const RuvLaneDemand& lane : mLevel.laneDemands()) {
      const RuvPoint* spawn = lane.spawnId == -1 ? graph.firstSpawnPoint() : graph.findPoint(lane.spawnId);
      for (int link : graph.routeLinks(graph.findRoute(*spawn, *goal))) {
        RuvPolyline polyline;
        routes.findRoute(link, lane.laneKey, polyline);
        EXPECT_GE(polyline.size(), 2u) << "link " << link << " lane " << lane.laneKey;
      }
    }
  }
}

TEST_F(SampleLevelsTest, TestLevelsHoldWhatTheyPromise) {
  const fs::path folder = fs::path(QM_SOURCE_DIR) / "tests/data/levels";
  const struct {
    const char* file;
    size_t entries;
    size_t spots;
  } cases[] = {{"five_minutes.xml", 24, 12}, {"stress.xml", 500, 40}};
  for (const auto& test : cases) {
    Read({folder / test.file, folder});
    size_t entries = 0;
    for (const RuvLevelWave& wave : mLevel.waves) entries += wave.entries.size();
    EXPECT_EQ(entries, test.entries) << test.file;
    EXPECT_EQ(mLevel.spots.size(), test.spots) << test.file;
  }
}

}  // namespace
