#include "WavesLevelScene.h"

#include "Game/Battle/RuvLevelPaths.h"

namespace battletest {

namespace {

constexpr char kTestUnitsSheet[] =
    "id;parent;levelid;health;speed;strength;cost;r;carrier;straight;raiseDead;explodeStr;explodeRadius;fps;psd\n"
    "1;-1;0;100;100;2.5;10;0;0;0;0;0;0;10\n"
    "7;-1;0;100;100;1;10;0;0;0;0;0;0;10\n"
    "70;7;1;300;100;1;10;0;0;0;0;0;0;10\n"
    "11;-1;0;50;100;1;2;0;0;0;0;0;0;10\n"
    "12;-1;0;100;50;1;10;0;1;0;0;0;0;10\n"
    "39;-1;0;40;50;1;3;0;0;0;0;0;0;10\n"
    "5;-1;0;500;10;1;10;200;0;0;1;0;0;10\n"
    "6;-1;0;100;200;1;10;0;0;1;0;0;0;10\n"
    "8;-1;0;100;100;1;10;0;0;0;0;30;100;10\n"
    "20;-1;0;100;100;1;10;0;0;0;0;0;0;10;unit0\n"
    "21;-1;0;100;100;1;10;0;0;0;0;0;0;0;unit0\n";

}  // namespace

void LevelSceneTest::SetUp() {
  BattleMapTest::SetUp();
  WriteTestFile("ruv/units_sheet.csv", kTestUnitsSheet);
}

std::string LevelSceneTest::LevelText(const std::string& waves, float length, int budget) {
  const std::string goalX = std::to_string(100.0f + length);
  const std::string middleX = std::to_string(100.0f + length / 2.0f);
  const std::string text = "<map><li>../../ruv/data/maps/ep1_1/</li><budget>" + std::to_string(budget) +
                           "</budget><points>"
                           "<point id='0' x='100' y='300'><a name='spawn' value='1'/></point>"
                           "<point id='1' x='" +
                           goalX +
                           "' y='300'><a name='goal' value='1'/></point>"
                           "</points><links><link sid='0' eid='1' anchor_x='" +
                           middleX + "' anchor_y='300'/></links>" + waves + "</map>";
  return text;
}

void LevelSceneTest::WriteLevel(int mode, int episode, int level, const std::string& waves, float length, int budget) {
  const std::string text = LevelText(waves, length, budget);
  const std::u16string stem = levelPathStem(mode, episode, level);
  WriteTestFile(std::string(stem.begin(), stem.end()) + ".xml", text);
}

void LevelSceneTest::Start(int mode, int episode, int level) {
  mMap->mMode = mode;
  mMap->mEpisode = episode;
  mMap->mLevel = level;
  mMap->startLevel();
}

void LevelSceneTest::Run(float seconds) {
  const int ticks = static_cast<int>(seconds * 60.0f + 0.5f);
  for (int i = 0; i < ticks; ++i) mMap->update(1.0f / 60.0f);
}

}  // namespace battletest
