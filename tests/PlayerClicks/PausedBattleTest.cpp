// A player's pause holds the battle still: an idle tower with nothing in range turns to a new
// random heading only once the battle runs, and the game's random sequence is left alone meanwhile
// (so a battle paused for a move goes on as the same battle unpaused).
#include <gtest/gtest.h>

#include "Core/Math/Random.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvTower.h"
#include "tests/harness/BattleHarness.h"

namespace {

TEST(PausedBattleTest, IdleTowerTurnsOnlyOnceTheBattleRuns) {
  harness::BattleHarness battle;
  harness::BattleRun run;
  run.tickLimit = 1;
  run.commands = harness::parseBattleScript("0 build 0 10000\n");
  battle.run(run);
  RuvMap& map = battle.map();
  ASSERT_EQ(map.mTowers.size(), 1u);
  RuvTower& tower = *map.mTowers[0];
  tower.state = RuvTower::kIdle;
  struct Case {
    float speed;
    int state;
  };
  const Case cases[] = {{0.0f, RuvTower::kIdle}, {1.0f, RuvTower::kTurning}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    map.mSpeed = c.speed;
    constexpr std::uint32_t kSeed = 7;
    math::Random(kSeed);
    const float first = math::Random();
    math::Random(kSeed);
    map.update(harness::BattleHarness::kStep);
    EXPECT_EQ(tower.state, c.state);
    EXPECT_EQ(math::Random() == first, c.speed == 0.0f) << "the sequence is used only by the running battle";
  }
}

}  // namespace
