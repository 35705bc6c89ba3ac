// The sample levels played by mouse events alone: each script's moves made by clicks given to the
// root board at the screen positions of spots, radial menu items and the HUD's pause and play
// buttons. The battle is the scripted one: the same committed trace, and the same battle state
// second by second.
#include <gtest/gtest.h>

#include <string>

#include "Game/Battle/RuvMap.h"
#include "tests/harness/BattleClicks.h"
#include "tests/harness/BattleHarness.h"

namespace {

TEST(ClickedLevelsTest, FirstLevelIsWonByClicksWithTheScriptedTrace) {
  const std::string name = "normal_level_01_01";
  harness::BattleRun run;
  run.draw = true;  // as the click run, whose frames are drawn
  run.commands = harness::parseBattleScript(harness::readBattleText(harness::battleScriptsFolder() + name + ".txt"));
  ASSERT_FALSE(run.commands.empty());
  harness::BattleTrace scripted;
  {
    harness::BattleHarness battle;
    scripted = battle.run(run);
  }
  harness::BattleHarness battle;
  harness::BattleTrace clicked;
  {
    harness::ClickPlayer player(battle);
    clicked = battle.run(run, player);
  }
  EXPECT_EQ(clicked.finalState, 1) << "the level is won";
  EXPECT_EQ(battle.map().mLives, battle.map().mMaxLives);
  EXPECT_EQ(harness::battleTraceText(clicked), harness::readBattleText(harness::battleScriptsFolder() + name + ".trace"));
  EXPECT_EQ(clicked.stateHashes, scripted.stateHashes);
  EXPECT_GT(clicked.ticks, scripted.ticks) << "the menus open in real time while the battle is paused";
}

// The first level with a budget for every kind of move: builds, a spot purchase, stars, a tier
// upgrade and a sale, at the start and during the battle.
void WriteRichFirstLevel(const harness::BattleHarness& battle) {
  const std::string path = "ruv/levels_normal/level_01_01.xml";
  std::string level = harness::readBattleText(std::string(QM_SOURCE_DIR) + "/data/" + path);
  const std::string budget = "<budget>200</budget>";
  const size_t at = level.find(budget);
  ASSERT_NE(at, std::string::npos);
  battle.writeFile(path, level.replace(at, budget.size(), "<budget>1000</budget>"));
}

TEST(ClickedLevelsTest, EveryKindOfMoveByClicksIsTheScriptedMove) {
  harness::BattleRun run;
  run.draw = true;
  run.commands = harness::parseBattleScript(
      "0 build 0 10000\n0 star 0\n0 star 0\n0 upgrade 0 1\n0 buy 5\n0 build 5 20000\n20 sell 0\n25 build 0 20000\n");
  harness::BattleTrace scripted;
  {
    harness::BattleHarness battle;
    WriteRichFirstLevel(battle);
    scripted = battle.run(run);
  }
  for (const std::string& event : scripted.events) EXPECT_EQ(event.find("undone"), std::string::npos) << event;
  harness::BattleHarness battle;
  WriteRichFirstLevel(battle);
  harness::BattleTrace clicked;
  {
    harness::ClickPlayer player(battle);
    run.draw = false;  // the player draws its frames
    clicked = battle.run(run, player);
  }
  EXPECT_EQ(clicked.events, scripted.events);
  EXPECT_EQ(clicked.stateHashes, scripted.stateHashes);
}

}  // namespace
