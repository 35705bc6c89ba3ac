#include "tools/bench/StressLevel.h"

#include <fstream>
#include <sstream>

#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvUnlocks.h"
#include "tests/fakes/SourceDir.h"

namespace bench {

namespace {

std::string StressLevelFile(const std::string& path) {
  std::ifstream file(std::string(QM_SOURCE_DIR) + "/tests/data/levels/" + path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

void InstallStressLevel(harness::BattleHarness& battle, harness::BattleRun& run) {
  battle.writeFile("ruv/units_sheet.csv",
                   "id;parent;levelid;health;speed;strength;cost;fps\n0;-1;0;600;40;0;5;10\n11;-1;0;300;70;0;2;10\n");
  battle.map().mUnlocks->load("8;0;-1\n");  // every tower at this level
  battle.writeFile("ruv/levels_normal/level_09_01.xml", StressLevelFile("stress.xml"));
  for (const char* layer : {"layers.xml", "background.png", "fx/point0.png", "fx/point1.png"}) {
    const std::string path = std::string("ruv/data/maps/stress/") + layer;
    battle.writeFile(path, StressLevelFile(path));
  }
  run.mode = 1;
  run.episode = 8;
  run.level = 0;
  std::string script;
  for (int spot = 0; spot < 40; ++spot) {
    script += "0 build " + std::to_string(spot) + (spot % 2 == 0 ? " 10000\n" : " 20000\n");
  }
  run.commands = harness::parseBattleScript(script);
}

}  // namespace bench
