// The first level played by mouse events alone: the script's moves made by clicks given to the
// root board at the screen positions of spots, radial menu items and the HUD's pause and play
// buttons. The battle is the scripted one: the same trace, and the same battle state second by
// second. (A move paid in the same tick as the one before waits for its menu with the battle
// paused; the wallet's combo window runs on real time meanwhile, so scripts whose moves follow one
// another within a battle are not expected to play alike by clicks.)
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Game/Battle/RuvMap.h"
#include "tests/harness/BattleClicks.h"
#include "tests/harness/BattleHarness.h"

namespace {

struct ScriptedAndClicked {
  harness::BattleTrace scripted;
  harness::BattleTrace clicked;
  float clickedLives = 0.0f;
  float clickedMaxLives = 0.0f;
};

// The run with the scripted moves and with clicks, each on a fresh harness made ready by prepare.
// The scripted run draws its frames, as the click player does.
ScriptedAndClicked RunScriptedAndClicked(harness::BattleRun run,
                                         const std::function<void(harness::BattleHarness&)>& prepare) {
  ScriptedAndClicked runs;
  {
    harness::BattleHarness battle;
    prepare(battle);
    run.draw = true;
    runs.scripted = battle.run(run);
  }
  harness::BattleHarness battle;
  prepare(battle);
  {
    harness::ClickPlayer player(battle);
    run.draw = false;
    runs.clicked = battle.run(run, player);
  }
  runs.clickedLives = battle.map().mLives;
  runs.clickedMaxLives = battle.map().mMaxLives;
  return runs;
}

TEST(ClickedLevelsTest, FirstLevelIsWonByClicksWithTheScriptedTrace) {
  const std::string name = "normal_level_01_01";
  harness::BattleRun run;
  run.commands = harness::parseBattleScript(harness::readBattleText(harness::battleScriptsFolder() + name + ".txt"));
  ASSERT_FALSE(run.commands.empty());
  const ScriptedAndClicked runs = RunScriptedAndClicked(run, [](harness::BattleHarness&) {});
  EXPECT_EQ(runs.clicked.finalState, 1) << "the level is won";
  EXPECT_EQ(runs.clickedLives, runs.clickedMaxLives);
  EXPECT_EQ(harness::battleTraceText(runs.clicked),
            harness::readBattleText(harness::battleScriptsFolder() + name + ".trace"));
  EXPECT_EQ(runs.clicked.stateHashes, runs.scripted.stateHashes);
  EXPECT_GT(runs.clicked.ticks, runs.scripted.ticks) << "the first menus open in real time while the battle is paused";
}

// The first level with a budget for every kind of move.
void WriteRichFirstLevel(harness::BattleHarness& battle) {
  const std::string path = "ruv/levels_normal/level_01_01.xml";
  std::string level = harness::readBattleText(std::string(QM_SOURCE_DIR) + "/data/" + path);
  const std::string budget = "<budget>200</budget>";
  const size_t at = level.find(budget);
  ASSERT_NE(at, std::string::npos);
  battle.writeFile(path, level.replace(at, budget.size(), "<budget>1000</budget>"));
}

TEST(ClickedLevelsTest, EveryKindOfMoveByClicksIsTheScriptedMove) {
  // Builds, stars, a tier upgrade and a spot purchase at the start, a sale and a build during the
  // battle.
  harness::BattleRun run;
  run.commands = harness::parseBattleScript(
      "0 build 0 10000\n0 star 0\n0 star 0\n0 upgrade 0 1\n0 buy 5\n0 build 5 20000\n20 sell 0\n25 build 0 20000\n");
  const ScriptedAndClicked runs = RunScriptedAndClicked(run, WriteRichFirstLevel);
  for (const std::string& event : runs.scripted.events) EXPECT_EQ(event.find("undone"), std::string::npos) << event;
  EXPECT_EQ(runs.clicked.events, runs.scripted.events);
  EXPECT_EQ(runs.clicked.stateHashes, runs.scripted.stateHashes);
}

}  // namespace
