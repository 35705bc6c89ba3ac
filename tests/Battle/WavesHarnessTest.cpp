#include <gtest/gtest.h>

#include <string>

#include "Game/Battle/RuvMap.h"
#include "tests/harness/BattleHarness.h"

namespace {

using harness::BattleHarness;
using harness::BattleRun;
using harness::BattleTrace;

TEST(WavesHarnessTest, SampleLevelsWithoutTowers) {
  struct Case {
    int mode, episode, level;
    int finalState;
    float levelTime;
  };
  const Case cases[] = {
      {1, 0, 0, 1, 117.4606f}, {1, 0, 1, 1, 130.0957f}, {1, 0, 2, 2, 113.2097f}, {1, 1, 0, 1, 142.8092f},
      {1, 1, 1, 2, 289.3901f}, {1, 1, 2, 2, 108.2420f}, {3, 0, 0, 2, 34.2496f},  {3, 1, 0, 2, 57.7826f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " level " << c.episode + 1 << "_" << c.level + 1);
    BattleHarness battle;
    BattleRun run;
    run.mode = c.mode;
    run.episode = c.episode;
    run.level = c.level;
    const BattleTrace trace = battle.run(run);
    EXPECT_EQ(trace.finalState, c.finalState);
    EXPECT_NEAR(trace.levelTime, c.levelTime, 1e-3f);
  }
}

// One wave of three walkers (strength 2.5) on a short road, with its own units sheet.
void WriteOneWaveFixture(const BattleHarness& battle) {
  battle.writeFile("ruv/units_sheet.csv",
                   "id;parent;levelid;health;speed;strength;cost;fps\n1;-1;0;100;100;2.5;10;10\n");
  battle.writeFile("ruv/levels_normal/level_09_01.xml",
                   "<map><li>../../ruv/data/maps/ep1_1/</li><budget>100</budget><points>"
                   "<p id='0' x='100' y='300'><a name='spawn' value='1'/></p>"
                   "<p id='1' x='500' y='300'><a name='goal' value='1'/></p></points>"
                   "<links><l sid='0' eid='1' anchor_x='300' anchor_y='250'/></links>"
                   "<waves timeout='1.5'><wave><u id='1' upgrade='1'/><u id='1' upgrade='1' x='45'/>"
                   "<u id='1' upgrade='1' x='90'/></wave></waves></map>");
}

BattleRun FixtureRun() {
  BattleRun run;
  run.episode = 8;
  return run;
}

TEST(WavesHarnessTest, OneWaveLevelIsWonWithTheLivesLeft) {
  BattleHarness battle;
  WriteOneWaveFixture(battle);
  const BattleTrace trace = battle.run(FixtureRun());
  EXPECT_EQ(trace.finalState, 1);
  EXPECT_FLOAT_EQ(battle.map().mLives, 25.0f - 3 * 2.5f);
  int arrivals = 0;
  for (const std::string& event : trace.events) arrivals += event.find(" arrive ") != std::string::npos;
  EXPECT_EQ(arrivals, 3);
}

TEST(WavesHarnessTest, RunsRepeatExactlyAndDrawingChangesNothing) {
  BattleTrace traces[3];
  for (int i = 0; i < 3; ++i) {
    BattleHarness battle;
    BattleRun run;
    run.episode = 1;
    run.level = 1;
    run.draw = i == 2;
    traces[i] = battle.run(run);
  }
  ASSERT_FALSE(traces[0].stateHashes.empty());
  for (int i = 1; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(traces[i].events, traces[0].events);
    EXPECT_EQ(traces[i].stateHashes, traces[0].stateHashes);
    EXPECT_EQ(traces[i].ticks, traces[0].ticks);
  }
}

TEST(WavesHarnessTest, MissingLevelFileIsNotWon) {
  BattleHarness battle;
  BattleRun run;
  run.episode = 40;
  const BattleTrace trace = battle.run(run);
  EXPECT_EQ(trace.finalState, 6);
  EXPECT_EQ(trace.ticks, 0);
  EXPECT_EQ(battle.map().mLevelResult, 0);
}

}  // namespace
