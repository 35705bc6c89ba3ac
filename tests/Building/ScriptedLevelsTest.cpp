// The sample levels, normal and hardcore, played by their committed scripts of build, star, upgrade
// and sell moves; the first level keeps all its lives. The trace of each run is committed beside
// the script: a change of the battle rules shows as a changed trace (QM_WRITE_TRACES=1 rewrites
// them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "Game/Battle/RuvMap.h"
#include "tests/harness/BattleHarness.h"

namespace {

TEST(ScriptedLevelsTest, EverySampleLevelIsWonByItsScript) {
  struct Case {
    int mode, episode, level;
  };
  const Case cases[] = {{1, 0, 0}, {1, 0, 1}, {1, 0, 2}, {1, 1, 0}, {1, 1, 1}, {1, 1, 2}, {3, 0, 0}, {3, 1, 0}};
  for (const Case& c : cases) {
    char name[64];
    std::snprintf(name, sizeof name, "%s_level_%02d_%02d", c.mode == 3 ? "hardcore" : "normal", c.episode + 1,
                  c.level + 1);
    SCOPED_TRACE(name);
    harness::BattleHarness battle;
    harness::BattleRun run;
    run.mode = c.mode;
    run.episode = c.episode;
    run.level = c.level;
    run.draw = true;  // a shot starts from the direction its tower was last drawn in
    run.commands = harness::parseBattleScript(harness::readBattleText(harness::battleScriptsFolder() + name + ".txt"));
    ASSERT_FALSE(run.commands.empty());
    const harness::BattleTrace trace = battle.run(run);
    EXPECT_EQ(trace.finalState, 1) << "the level is won";
    if (c.mode == 1 && c.episode == 0 && c.level == 0) {
      EXPECT_EQ(battle.map().mLives, battle.map().mMaxLives);
    }
    const std::string tracePath = harness::battleScriptsFolder() + name + ".trace";
    if (std::getenv("QM_WRITE_TRACES")) std::ofstream(tracePath, std::ios::binary) << harness::battleTraceText(trace);
    EXPECT_EQ(harness::battleTraceText(trace), harness::readBattleText(tracePath));
  }
}

TEST(ScriptedLevelsTest, ScriptLines) {
  const auto commands = harness::parseBattleScript(
      "# comment\n0 build 2 10000\n1.5 upgrade 2 3 # tier\n2 star 2\n3 sell 2\n4 buy 5\nnonsense\n5 build 1\n");
  std::vector<std::string> described;
  for (const auto& command : commands) described.push_back(harness::describeBattleCommand(command));
  EXPECT_EQ(described, (std::vector<std::string>{"build 2 10000", "upgrade 2 3", "star 2", "sell 2", "buy 5"}));
  EXPECT_EQ(commands[1].time, 1.5f);
}

}  // namespace
