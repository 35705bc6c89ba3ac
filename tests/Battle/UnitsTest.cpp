#include <gtest/gtest.h>

#include "Core/Math/Random.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "WavesLevelScene.h"

namespace {

using UnitsTest = battletest::LevelSceneTest;

std::string OneEntryWave(int id, int upgrade) {
  return "<waves><wave><u id='" + std::to_string(id) + "' upgrade='" + std::to_string(upgrade) + "'/></wave></waves>";
}

TEST_F(UnitsTest, HealthByModeAndTier) {
  struct Case {
    int mode, id, upgrade;
    float health;
  };
  // Kind 1 has no tiers; kind 7 has tier 70 (levelid 1, health 300). "upgrade" 0 names no tier.
  const Case cases[] = {{0, 1, 1, 90.0f},  {1, 1, 1, 100.0f}, {2, 1, 1, 110.0f}, {3, 1, 1, 100.0f},
                        {1, 1, 0, 100.0f}, {1, 1, 3, 100.0f}, {1, 7, 1, 100.0f}, {1, 7, 2, 300.0f},
                        {2, 7, 2, 330.0f}, {1, 7, 0, 100.0f}, {1, 7, 5, 300.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " id " << c.id << " upgrade " << c.upgrade);
    WriteLevel(c.mode, 7, 0, OneEntryWave(c.id, c.upgrade));
    Start(c.mode, 7, 0);
    Run(1.0f / 60.0f);
    ASSERT_EQ(mMap->mWaves->units.size(), 1u);
    const RuvUnit& unit = *Unit(0);
    const float offset = c.mode == 0 ? -0.1f : c.mode == 2 ? 0.1f : 0.0f;
    EXPECT_FLOAT_EQ(unit.maxHealth(), (1.0f + offset) * unit.proto()->health);
    EXPECT_NEAR(unit.health, c.health, 1e-3f);
    EXPECT_EQ(unit.tierLevel, c.upgrade - 1);
  }
}

// reward = trunc(ceil(bonus x cost) + trunc(cost x share + 0.5) + cost), worked by hand.
TEST_F(UnitsTest, KillRewardFormula) {
  struct Case {
    float cost, bonus, share;
    int reward;
  };
  const Case cases[] = {
      {10.0f, 0.25f, 0.2f, 15},  // ceil(2.5) + trunc(2.0 + 0.5) + 10 = 3 + 2 + 10 (one income tower of 20)
      {10.0f, 0.0f, 0.0f, 10},   // ceil(0) + trunc(0 + 0.5) + 10 = 0 + 0 + 10
      {10.0f, 0.2f, 0.0f, 12},   // ceil(2.0) + trunc(0.5) + 10 = 2 + 0 + 10: a whole bonus is not rounded up
      {7.0f, 0.1f, 0.5f, 12},    // ceil(0.7) + trunc(3.5 + 0.5) + 7 = 1 + 4 + 7
      {3.0f, 0.5f, 0.17f, 6},    // ceil(1.5) + trunc(0.51 + 0.5) + 3 = 2 + 1 + 3
      {5.0f, 0.0f, 0.1f, 6},     // ceil(0) + trunc(0.5 + 0.5) + 5 = 0 + 1 + 5: a half share rounds up
      {4.0f, 0.0f, 0.1f, 4},     // ceil(0) + trunc(0.4 + 0.5) + 4 = 0 + 0 + 4
      {10.0f, 0.25f, 0.4f, 17},  // ceil(2.5) + trunc(4.0 + 0.5) + 10 = 3 + 4 + 10 (two income towers)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unitKillReward(c.cost, c.bonus, c.share), c.reward) << c.cost << " " << c.bonus << " " << c.share;
  }
}

TEST_F(UnitsTest, DeathPaysOnceWithTheCostBonus) {
  WriteLevel(1, 7, 0, OneEntryWave(1, 1), 400.0f, 0);
  Start(1, 7, 0);
  mMap->mEnemyCostBonus = 0.25f;
  Run(0.1f);
  RuvUnit& unit = *Unit(0);
  unit.damage(150.0f);
  EXPECT_EQ(unit.healthBarTimer, 2.5f);
  Run(1.0f / 60.0f);
  EXPECT_EQ(unit.state, RuvUnit::kDying);
  EXPECT_EQ(mMap->mWallet->killScore, 13);  // ceil(0.25 x 10) + trunc(0 + 0.5) + 10 = 3 + 0 + 10
  const float health = unit.health;
  unit.damage(50.0f);  // ignored while dying
  EXPECT_EQ(unit.health, health);
  Run(1.0f / 60.0f);
  EXPECT_EQ(mMap->mWallet->killScore, 13);
  EXPECT_TRUE(mMap->mWaves->units.empty());
}

TEST_F(UnitsTest, NegativeDamageHealsAndKeepsInvisibility) {
  WriteLevel(1, 7, 0, OneEntryWave(1, 1));
  Start(1, 7, 0);
  Run(0.1f);
  RuvUnit& unit = *Unit(0);
  unit.invisibilityTimer = 3.0f;
  unit.damage(-20.0f);
  EXPECT_FLOAT_EQ(unit.health, 120.0f);
  EXPECT_FLOAT_EQ(unit.invisibilityTimer, 3.0f);
  unit.damage(30.0f);
  EXPECT_FLOAT_EQ(unit.invisibilityTimer, 0.0f);
  EXPECT_FLOAT_EQ(unit.brightnessTarget, 1.0f);
}

TEST_F(UnitsTest, WalksToTheGoalAndCostsItsStrength) {
  WriteLevel(1, 7, 0, OneEntryWave(1, 1), 300.0f);
  Start(1, 7, 0);
  Run(1.0f);
  ASSERT_EQ(mMap->mWaves->units.size(), 1u);
  EXPECT_NEAR(Unit(0)->position.x, 200.0f, 8.0f) << "100 px per second from x 100";
  EXPECT_NEAR(Unit(0)->position.y, 280.0f, 0.5f) << "the lane of y 0 lies 20 px to the side";
  Run(3.0f);
  EXPECT_TRUE(mMap->mWaves->units.empty());
  EXPECT_FLOAT_EQ(mMap->mLives, 25.0f - 2.5f);
  EXPECT_EQ(mMap->mWaves->waves[0]->entries[0]->state, RuvWaveEntry::kGotThrough);
  Run(1.0f / 60.0f);
  EXPECT_EQ(mMap->mState, 1);
}

TEST_F(UnitsTest, HeldUnitNeitherAnimatesNorMoves) {
  WriteLevel(1, 7, 0, OneEntryWave(1, 1));
  Start(1, 7, 0);
  Run(0.5f);
  RuvUnit& unit = *Unit(0);
  const float progress = unit.progress;
  const float animation = unit.animationTime;
  unit.speedReduction = 100.0f;
  unit.update(0.1f);
  EXPECT_EQ(unit.progress, progress);
  EXPECT_EQ(unit.animationTime, animation);
}

TEST_F(UnitsTest, CarrierReleasesThreeUnitsAlongItsRoute) {
  struct Case {
    float progress;
    float released[3];
  };
  const Case cases[] = {{0.5f, {0.4f, 0.5f, 0.6f}}, {0.97f, {0.85f, 0.95f, 1.05f}}, {0.05f, {0.0f, 0.1f, 0.2f}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.progress);
    WriteLevel(1, 7, 0, "<waves><wave><u id='12' upgrade='2' y='-65'/></wave></waves>");
    Start(1, 7, 0);
    Run(0.1f);
    RuvUnit& carrier = *Unit(0);
    carrier.progress = c.progress;
    carrier.health = 0.0f;
    carrier.update(0.0f);
    ASSERT_EQ(mMap->mWaves->units.size(), 4u);
    const RuvWaveProto& wave = *mMap->mWaves->waves[0];
    ASSERT_EQ(wave.entries.size(), 4u);
    for (int i = 0; i < 3; ++i) {
      const RuvUnit& released = *Unit(1 + i);
      EXPECT_NEAR(released.progress, c.released[i], 1e-5f);
      EXPECT_EQ(released.route, carrier.route);
      EXPECT_EQ(released.spawnPoint, carrier.spawnPoint);
      EXPECT_EQ(released.entry, wave.entries[1 + i].get());
      EXPECT_EQ(released.entry->protoId, RuvUnit::kCarriedProtoId);
      EXPECT_EQ(released.entry->upgrade, carrier.tierLevel + 1);
      EXPECT_FLOAT_EQ(released.entry->x, -1.0f);
      EXPECT_FLOAT_EQ(released.entry->y, -65.0f);
      EXPECT_EQ(released.entry->spawned, 1);
    }
  }
}

TEST_F(UnitsTest, NecromancerRaisesTheDeadOnce) {
  // The necromancer (slow) comes first; the walker catches up and dies beside it.
  WriteLevel(1, 7, 0, "<waves><wave><u id='5' upgrade='1'/><u id='1' upgrade='1' x='45'/></wave></waves>");
  Start(1, 7, 0);
  Run(1.1f);
  ASSERT_EQ(mMap->mWaves->units.size(), 2u);
  RuvUnit& necromancer = *Unit(0);
  Unit(1)->health = 0.0f;
  Run(2.0f / 60.0f);
  ASSERT_EQ(mMap->mWaves->units.size(), 2u);
  RuvUnit& raised = *Unit(1);
  EXPECT_EQ(raised.entry->protoId, RuvUnit::kRaisedProtoId);
  EXPECT_EQ(raised.entry->upgrade, 1);
  // Without "special" frames the raised unit, updated after its raiser in the same tick, walks at once.
  EXPECT_EQ(raised.state, RuvUnit::kWalking);
  EXPECT_EQ(necromancer.state, RuvUnit::kSpecial);
  EXPECT_EQ(mMap->mWaves->waves[0]->entries.size(), 3u);
  raised.health = 0.0f;
  Run(3.0f / 60.0f);
  EXPECT_EQ(mMap->mWaves->units.size(), 1u) << "a raised unit is never raised again";
  EXPECT_EQ(mMap->mWaves->waves[0]->entries.size(), 3u);
}

TEST_F(UnitsTest, ExplosionHurtsNeighboursInItsRadius) {
  WriteLevel(
      1, 7, 0,
      "<waves><wave><u id='8' upgrade='1'/><u id='1' upgrade='1'/><u id='1' upgrade='1' x='450'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.2f);
  ASSERT_EQ(mMap->mWaves->units.size(), 2u);
  Unit(0)->health = 0.0f;
  Run(1.0f / 60.0f);
  EXPECT_FLOAT_EQ(Unit(1)->health, 100.0f - 30.0f);
}

TEST_F(UnitsTest, StraightFlyerArrivesWithinFiftyPixels) {
  WriteLevel(1, 7, 0, OneEntryWave(6, 1), 400.0f);
  Start(1, 7, 0);
  Run(0.5f);
  ASSERT_EQ(mMap->mWaves->units.size(), 1u);
  EXPECT_NEAR(Unit(0)->position.x, 200.0f, 8.0f) << "200 px per second";
  Run(1.5f);
  EXPECT_TRUE(mMap->mWaves->units.empty()) << "arrived 50 px short of the goal";
}

TEST_F(UnitsTest, PickingAndCircleQueries) {
  WriteLevel(1, 7, 0, OneEntryWave(1, 1));
  Start(1, 7, 0);
  Run(0.5f);
  RuvUnit& unit = *Unit(0);
  std::vector<RuvUnit*> found;
  mMap->mWaves->unitsInCircle(unit.position.x + 9.0f, unit.position.y, 20.0f, found);
  EXPECT_EQ(found, std::vector<RuvUnit*>{&unit});
  found.clear();
  mMap->mWaves->unitsInCircle(unit.position.x + 11.0f, unit.position.y, 20.0f, found);
  EXPECT_TRUE(found.empty());
  unit.artSize = math::Point2(20.0f, 40.0f);
  EXPECT_EQ(mMap->mWaves->unitAt(unit.position.x + 10.0f, unit.position.y - 20.0f), &unit);
  EXPECT_EQ(mMap->mWaves->unitAt(unit.position.x + 10.5f, unit.position.y), nullptr);
}

TEST_F(UnitsTest, DeathFramesEndTheDyingAndTheFadeEndsTheDead) {
  WriteLevel(1, 7, 0, "<waves><wave><u id='20' upgrade='1'/><u id='21' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.5f);
  ASSERT_EQ(mMap->mWaves->units.size(), 2u);
  RuvUnit& framed = *Unit(0);
  RuvUnit& still = *Unit(1);
  for (const auto& unit : mMap->mWaves->units) unit->health = 0.0f;
  Run(2.0f / 60.0f);
  EXPECT_EQ(framed.state, RuvUnit::kDying);
  EXPECT_EQ(still.state, RuvUnit::kDead) << "death frames at 0 frames per second count as shown";
  EXPECT_FLOAT_EQ(still.fadeSpeed, -1.5f);
  Run(0.6f);  // six death frames at 10 per second
  EXPECT_EQ(framed.state, RuvUnit::kDead);
  EXPECT_EQ(mMap->mWaves->units.size(), 1u) << "the other one has faded out";
  Run(0.7f);  // faded out in two thirds of a second
  EXPECT_TRUE(mMap->mWaves->units.empty());
}

TEST_F(UnitsTest, FadesInOverTwoThirdsOfASecondEvenAfterAPause) {
  WriteLevel(1, 7, 0, OneEntryWave(1, 1));
  Start(1, 7, 0);
  Run(1.0f / 60.0f);
  RuvUnit& unit = *Unit(0);
  mMap->mSpeed = 0.0f;
  Run(0.5f);
  EXPECT_FLOAT_EQ(unit.fadeSpeed, 1.5f);
  mMap->mSpeed = 1.0f;
  Run(0.5f);
  EXPECT_GT(unit.fade, 0.7f);
  EXPECT_LT(unit.fade, 0.8f);
  Run(0.25f);
  EXPECT_FLOAT_EQ(unit.fade, 1.0f);
  EXPECT_FLOAT_EQ(unit.fadeSpeed, 0.0f);
}

TEST_F(UnitsTest, DrawHandsTheFrameToTheGroundLayer) {
  WriteLevel(1, 7, 0, OneEntryWave(20, 1));
  Start(1, 7, 0);
  Run(0.5f);
  RuvUnit& unit = *Unit(0);
  render::Graphics graphics(&mRender);
  unit.draw(graphics);
  ASSERT_EQ(mMap->mDrawLayers[1].size(), 1u);
  const RuvFrameEntry& record = *mMap->mDrawLayers[1][0];
  EXPECT_FLOAT_EQ(record.depth, unit.position.y);
  EXPECT_FLOAT_EQ(record.colour.a, unit.brightness * unit.fade);
  EXPECT_FLOAT_EQ(record.rect[2], 64.0f);
  EXPECT_EQ(record.flipX, unit.facingLeft);
  EXPECT_EQ(unit.currentFrame->image, record.image);
  EXPECT_FLOAT_EQ(unit.bounds().width, 64.0f);
  for (float value : record.shaderValues) EXPECT_FLOAT_EQ(value, 1.0f);  // "fillColor" ffffffff
  mMap->mDrawLayers[1].clear();
}

TEST_F(UnitsTest, HeldUnitDrawsARandomFrameWithoutTouchingTheGameSequence) {
  WriteLevel(1, 7, 0, OneEntryWave(20, 1));
  Start(1, 7, 0);
  Run(0.5f);
  RuvUnit& unit = *Unit(0);
  unit.state = RuvUnit::kHeldByBeam;
  const auto& deathFrames = unit.proto()->art->groups.at("death");
  math::Random(777);
  const float undisturbed = math::Random();
  math::Random(777);
  render::Graphics graphics(&mRender);
  int shown[2] = {0, 0};
  for (int i = 0; i < 64; ++i) {
    unit.draw(graphics);
    ASSERT_TRUE(unit.currentFrame == deathFrames[1] || unit.currentFrame == deathFrames[2]);
    ++shown[unit.currentFrame == deathFrames[2]];
  }
  EXPECT_EQ(math::Random(), undisturbed);
  EXPECT_GT(shown[0], 0);
  EXPECT_GT(shown[1], 0);
  mMap->mDrawLayers[1].clear();
}

TEST_F(UnitsTest, AnimationWithoutFramesPerSecondCountsAsShown) {
  EXPECT_FLOAT_EQ(animationLength(8, 0.0f), 0.0f);
  EXPECT_FLOAT_EQ(animationLength(8, -1.0f), 0.0f);
  EXPECT_FLOAT_EQ(animationLength(8, 16.0f), 0.5f);
}

}  // namespace
