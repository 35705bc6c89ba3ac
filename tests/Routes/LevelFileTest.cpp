#include <gtest/gtest.h>

#include "Game/Battle/RuvLevelFile.h"
#include "tests/fakes/FileTestSupport.h"
#include "tests/fakes/MainLogRecorder.h"

namespace {

const char kLevelPath[] = "ruv/levels_normal/level_01_01.xml";

struct LevelParts {
  std::string layout = "<li>../../ruv/data/maps/ep1/</li>";
  std::string budget = "<budget>150</budget>";
  std::string points =
      "<points><p id='1' x='10' y='20'><a name='spawn' value='1'/></p>"
      "<point id='2' x='1.5' y='-4'><a name='goal' value='1'/><a name='upper' value='2'/></point><p x='3'/></points>";
  std::string links = "<links><l sid='1' eid='2' anchor_x='5' anchor_y='-6'/><link eid='1'/></links>";
  std::string rest;

  std::string Text() const { return "<map>" + rest + links + points + budget + layout + "</map>"; }
};

class LevelFileTest : public filetest::TempFolderTest {
 protected:
  VNResultEnum Read(const std::string& text, float mapScale = 1.0f) {
    WriteTestFile(kLevelPath, text);
    return readLevelFile(u"ruv/levels_normal/level_01_01.xml", mapScale, mLevel);
  }

  RuvLevelFile mLevel;
};

TEST_F(LevelFileTest, ReadsPointsAndLinksScaled) {
  fakes::MainLogRecorder log;
  ASSERT_EQ(Read(LevelParts().Text(), 2.0f), VN_OK);
  EXPECT_EQ(mLevel.layoutPath, "ruv/data/maps/ep1/");
  EXPECT_EQ(mLevel.budget, 150);
  ASSERT_EQ(mLevel.points.size(), 3u);
  const RuvPoint& first = mLevel.points[0];
  EXPECT_EQ(first.id, 1);
  EXPECT_EQ(first.x, 20.0f);
  EXPECT_EQ(first.y, 40.0f);
  EXPECT_TRUE(first.isSpawn());
  EXPECT_FALSE(first.isGoal());
  EXPECT_TRUE(mLevel.points[1].isGoal());
  EXPECT_EQ(mLevel.points[1].attributes.getFloat("upper"), 2.0f);
  EXPECT_EQ(mLevel.points[1].x, 3.0f);
  EXPECT_EQ(mLevel.points[2].id, 0) << "a point without id";
  ASSERT_EQ(mLevel.links.size(), 2u);
  EXPECT_EQ(mLevel.links[0].startId, 1);
  EXPECT_EQ(mLevel.links[0].endId, 2);
  EXPECT_EQ(mLevel.links[0].controlX, 10.0f);
  EXPECT_EQ(mLevel.links[0].controlY, -12.0f);
  EXPECT_EQ(mLevel.links[1].startId, 0);
  EXPECT_EQ(mLevel.links[1].endId, 1);
  EXPECT_TRUE(mLevel.spots.empty());
  EXPECT_TRUE(mLevel.waves.empty());
  const std::u16string text = log.Text();
  EXPECT_NE(text.find(u"new ruv point (10, 20)#1!"), std::u16string::npos);
  EXPECT_NE(text.find(u"new ruv point (1.5, -4)#2!"), std::u16string::npos);
  EXPECT_NE(text.find(u"link loaded!"), std::u16string::npos);
}

// The reader's lines are block entries of the main log, headed by the reader's source file.
TEST_F(LevelFileTest, LogLinesAreBlocksWithTheirSource) {
  fakes::MainLogRecorder html(fakes::MainLogRecorder::kHtml);
  ASSERT_EQ(Read(LevelParts().Text()), VN_OK);
  const std::u16string text = html.Text();
  for (const char16_t* line : {u"new ruv point (10, 20)#1!", u"link loaded!"}) {
    const std::size_t at = text.find(line);
    ASSERT_NE(at, std::u16string::npos);
    const std::size_t head = text.rfind(u"<div class=\"blockhead\">", at);
    ASSERT_NE(head, std::u16string::npos);
    EXPECT_NE(text.substr(head, at - head).find(u"RuvLevelFile.cpp("), std::u16string::npos);
  }
}

TEST_F(LevelFileTest, BudgetAndLayoutText) {
  const struct {
    std::string layout;
    std::string budget;
    std::string layoutPath;
    int money;
  } cases[] = {
      {"../../ruv/data/maps/ep1/", "150", "ruv/data/maps/ep1/", 150},
      {"C:/work/ruv/data/old/ruv/data/maps/ep2/", "12 coins", "ruv/data/maps/ep2/", 12},
      {"/ruv/data/", "coins", "ruv/data/", 0},
      {"x/ruv/data/maps/a", "", "ruv/data/maps/a", 0},
  };
  for (const auto& test : cases) {
    LevelParts parts;
    parts.layout = "<li>" + test.layout + "</li>";
    parts.budget = "<budget>" + test.budget + "</budget>";
    ASSERT_EQ(Read(parts.Text()), VN_OK) << test.layout;
    EXPECT_EQ(mLevel.layoutPath, test.layoutPath);
    EXPECT_EQ(mLevel.budget, test.money) << test.budget;
  }
}

TEST_F(LevelFileTest, UnplayableLevelsFail) {
  std::vector<std::pair<const char*, std::string>> cases;
  for (auto [name, part] : {std::pair<const char*, std::string LevelParts::*>{"no li", &LevelParts::layout},
                            {"no budget", &LevelParts::budget},
                            {"no points", &LevelParts::points},
                            {"no links", &LevelParts::links}}) {
    LevelParts parts;
    parts.*part = "";
    cases.push_back({name, parts.Text()});
  }
  LevelParts foreign;
  foreign.layout = "<li>../../maps/ep1/</li>";
  cases.push_back({"li outside the data folder", foreign.Text()});
  LevelParts blank;
  blank.layout = "<li/>";
  cases.push_back({"empty li", blank.Text()});
  cases.push_back({"not XML", "<map><li>"});
  cases.push_back({"empty file", ""});
  cases.push_back({"other root", "<level>" + LevelParts().Text() + "</level>"});

  for (const auto& [name, text] : cases) {
    mLevel.budget = 99;
    fakes::MainLogRecorder log;
    EXPECT_EQ(Read(text), VN_FAIL) << name;
    EXPECT_EQ(mLevel.budget, 0) << name;
    EXPECT_TRUE(mLevel.points.empty() && mLevel.links.empty() && mLevel.waves.empty()) << name;
    EXPECT_NE(log.Text().find(u"cannot be played"), std::u16string::npos) << name;
  }

  fakes::MainLogRecorder log;
  EXPECT_EQ(readLevelFile(u"ruv/levels_normal/level_09_09.xml", 1.0f, mLevel), VN_FAIL);
  EXPECT_NE(log.Text().find(u"level_09_09.xml"), std::u16string::npos);
}

TEST_F(LevelFileTest, Spots) {
  LevelParts parts;
  parts.rest =
      "<spots><spot x='100.5' y='200'><a name='cost_real' value='5'/><a name='radius_mult' value='1'/></spot>"
      "<tower x='1' y='1'/><spot/></spots>";
  ASSERT_EQ(Read(parts.Text(), 2.0f), VN_OK);
  ASSERT_EQ(mLevel.spots.size(), 2u);
  EXPECT_EQ(mLevel.spots[0].x, 100.5f) << "spots are not scaled";
  EXPECT_EQ(mLevel.spots[0].y, 200.0f);
  EXPECT_EQ(mLevel.spots[0].attributes.getFloat("cost_real"), 5.0f);
  EXPECT_EQ(mLevel.spots[0].attributes.getFloat("radius_mult"), 1.0f);
  EXPECT_EQ(mLevel.spots[1].x, 0.0f);
  EXPECT_EQ(mLevel.spots[1].attributes.getFloat("radius_mult"), 0.0f);
}

TEST_F(LevelFileTest, Waves) {
  LevelParts parts;
  parts.rest =
      "<waves timeout='2.7'><note/>"
      "<wave timeout='5' spawn='-1' wipeAward='30' scale='2'><e id='3' upgrade='2' x='45' y='-65'/><e/></wave>"
      "<wave linked='0' scale='0'/>"
      "<group linked='junk' spawn='4'><e id='7' x='1.5' y='-130'/></group></waves>";
  fakes::MainLogRecorder log;
  ASSERT_EQ(Read(parts.Text()), VN_OK);
  EXPECT_FLOAT_EQ(mLevel.wavesTimeout, 2.7f);
  ASSERT_EQ(mLevel.waves.size(), 2u) << "the wave without entries is dropped";
  const RuvLevelWave& first = mLevel.waves[0];
  EXPECT_EQ(first.timeout, 7);
  EXPECT_EQ(first.spawn, -1);
  EXPECT_EQ(first.wipeAward, 30);
  EXPECT_EQ(first.scale, 2.0f);
  EXPECT_EQ(first.linked, -1);
  ASSERT_EQ(first.entries.size(), 2u);
  EXPECT_EQ(first.entries[0].id, 3);
  EXPECT_EQ(first.entries[0].upgrade, 2);
  EXPECT_EQ(first.entries[0].x, 45.0f);
  EXPECT_EQ(first.entries[0].y, -65.0f);
  EXPECT_EQ(first.entries[1].upgrade, 0);
  const RuvLevelWave& second = mLevel.waves[1];
  EXPECT_EQ(second.timeout, 2);
  EXPECT_EQ(second.spawn, 4);
  EXPECT_EQ(second.scale, 1.0f);
  EXPECT_EQ(second.linked, 0) << "an unparsable link reads 0";
  EXPECT_NE(log.Text().find(u"LOADED ENEMY WAVE=(timeout=5, spawner=-1)"), std::u16string::npos);
  EXPECT_NE(log.Text().find(u"LOADED ENEMY WAVE=(timeout=0, spawner=0)"), std::u16string::npos);

  const std::vector<RuvLaneDemand> lanes = mLevel.laneDemands();
  ASSERT_EQ(lanes.size(), 3u);
  EXPECT_EQ(lanes[0].spawnId, -1);
  EXPECT_EQ(lanes[0].laneKey, 0);
  EXPECT_EQ(lanes[1].laneKey, -20);
  EXPECT_EQ(lanes[2].spawnId, 4);
  EXPECT_EQ(lanes[2].laneKey, 20);
}

TEST(LevelFilePath, ByModeEpisodeAndLevel) {
  const struct {
    int mode, episode, level;
    const char16_t* path;
  } cases[] = {
      {3, 0, 9, u"ruv/levels_hardcore/level_01_10.xml"},
      {1, 0, 3, u"ruv/levels_normal/level_01_04.xml"},
      {0, 1, 2, u"ruv/levels_normal/level_02_03.xml"},
  };
  for (const auto& test : cases) EXPECT_EQ(levelFilePath(test.mode, test.episode, test.level), test.path);
}

}  // namespace
