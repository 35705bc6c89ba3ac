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

}  // namespace
