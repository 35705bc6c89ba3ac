// Towers: range, target choice, pre-aiming, firing cadence, sectors and turning, upgrade pop-up
// lines, income, stars and the upgrades of live towers.
#include <gtest/gtest.h>

#include <cmath>

#include "Game/Art/RuvPopupList.h"
#include "Towers/CombatScene.h"

namespace {

using combattest::CombatTest;

class TowerTest : public CombatTest {};

TEST_F(TowerTest, RangeIsHalfTheDiameterTimesTheSpotMultiplier) {
  struct Case {
    const char* values;
    float bonus;
    float expected;
  };
  const Case cases[] = {
      {"", 0.0f, 100.0f},
      {R"(<a name="radius_mult" value="1.5"/>)", 0.0f, 150.0f},
      {R"(<a name="radius_mult" value="0"/>)", 0.0f, 100.0f},
      {R"(<a name="radius_mult" value="1.5"/>)", 20.0f, 165.0f},
  };
  for (const Case& c : cases) {
    RuvTower& tower = AddTower(100, 0.0f, 0.0f, AddSpot(0.0f, 0.0f, c.values));
    tower.bonus->r = c.bonus;
    EXPECT_FLOAT_EQ(tower.range(), c.expected) << c.values;
  }
}

TEST_F(TowerTest, TargetChoice) {
  struct Placed {
    int kind;
    float x, y, health;
  };
  struct Case {
    const char* name;
    int tower;
    std::vector<Placed> units;
    int selected;  // index or -1
    int current;   // index or -1
    int expected;  // index or -1
  };
  const Case cases[] = {
      {"lowest health", 100, {{1, 0, 50, 80}, {1, 0, 60, 40}, {1, 0, 30, 90}}, -1, -1, 1},
      {"equal health, nearer", 100, {{1, 0, 80, 40}, {1, 0, 60, 40}, {1, 0, 20, 50}}, -1, -1, 1},
      {"equal health and distance, first", 100, {{1, 60, 0, 40}, {1, 0, 60, 40}}, -1, -1, 0},
      {"selected unit in range wins", 100, {{1, 0, 60, 10}, {1, 0, 50, 90}}, 1, -1, 1},
      {"current target stays", 100, {{1, 0, 60, 10}, {1, 0, 50, 90}}, -1, 1, 1},
      {"flyers first", 200, {{1, 0, 20, 10}, {2, 0, 90, 90}}, -1, -1, 1},
      {"a tower without air ignores flyers", 100, {{2, 0, 20, 10}, {1, 0, 90, 90}}, -1, -1, 1},
  };
  for (const Case& c : cases) {
    mMap->mWaves->units.clear();
    std::vector<RuvUnit*> placed;
    for (const Placed& p : c.units) {
      RuvUnit& unit = AddUnit(p.kind, p.x, p.y);
      unit.health = p.health;
      placed.push_back(&unit);
    }
    RuvTower& tower = AddTower(c.tower, 0.0f, 0.0f);
    mMap->mSelectedUnit = c.selected >= 0 ? placed[size_t(c.selected)] : nullptr;
    std::vector<RuvUnit*> candidates;
    tower.collectTargets(0.0f, candidates);
    RuvUnit* current = c.current >= 0 ? placed[size_t(c.current)] : nullptr;
    RuvUnit* expected = c.expected >= 0 ? placed[size_t(c.expected)] : nullptr;
    EXPECT_EQ(tower.chooseTarget(candidates, current, true), expected) << c.name;
  }
  mMap->mSelectedUnit = nullptr;
}

TEST_F(TowerTest, InvisibleAndDyingUnitsAreNoCandidates) {
  RuvUnit& visible = AddUnit(1, 0, 50);
  AddUnit(1, 0, 40).invisibilityTimer = 0.5f;
  AddUnit(1, 0, 30).state = RuvUnit::kDying;
  AddUnit(1, 0, 20).state = RuvUnit::kDead;
  AddUnit(1, 0, 10).alive = 0;
  std::vector<RuvUnit*> candidates;
  AddTower(100, 0, 0).collectTargets(0.0f, candidates);
  EXPECT_EQ(candidates, std::vector<RuvUnit*>{&visible});
}

TEST_F(TowerTest, PreAimBandTurnsTowardUnitsButDoesNotFire) {
  struct Case {
    float outside;
    bool aimed;
  };
  // Range 100: 80 px outside is in the 100 px band, 120 px is not (the tower looks around at random).
  const Case cases[] = {{80.0f, true}, {120.0f, false}};
  for (const Case& c : cases) {
    mMap->mWaves->units.clear();
    mMap->mTowers.clear();
    RuvUnit& unit = AddUnit(1, 0.0f, 100.0f + c.outside);
    RuvTower& tower = AddTower(100, 0.0f, 0.0f);
    tower.state = RuvTower::kIdle;
    for (int i = 0; i < 20; ++i) tower.update(0.1f);
    EXPECT_EQ(tower.state == RuvTower::kAiming, c.aimed) << c.outside;
    EXPECT_EQ(tower.target, c.aimed ? &unit : nullptr) << c.outside;
    EXPECT_TRUE(mMap->mBullets->bullets.empty()) << c.outside;
  }
}

TEST_F(TowerTest, ShotsOverTenSecondsNormalAndSlowed) {
  const float dt = 0.125f;  // exact in binary: the cooldown runs out on a step
  const int steps = 80;
  for (bool slowed : {false, true}) {
    mMap->mWaves->units.clear();
    mMap->mTowers.clear();
    AddUnit(1, 0.0f, 50.0f);  // straight below: no turn needed
    if (slowed) AddUnit(combattest::kDebuffer, 0.0f, -50.0f);
    RuvTower& tower = AddTower(100, 0.0f, 0.0f);
    int shots = 0;
    for (int i = 0; i < steps; ++i) {
      tower.update(dt);
      shots += int(mMap->mBullets->bullets.size());
      mMap->mBullets->bullets.clear();
    }
    // Without blast frames a shot leaves at once: the first on the first step, then one per cooldown.
    const float cooldown = 2.0f * (slowed ? 1.5f : 1.0f);
    const int expected = 1 + int(std::floor(float(steps - 1) / (cooldown / dt)));
    EXPECT_EQ(shots, expected) << slowed;
    EXPECT_EQ(tower.slowed, slowed ? 1 : 0);
  }
}

TEST_F(TowerTest, SwitchedOffTowerDoesNothing) {
  AddUnit(1, 0.0f, 50.0f);
  RuvUnit& blocker = AddUnit(combattest::kBlocker, 0.0f, -50.0f);
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  tower.update(0.1f);
  EXPECT_EQ(tower.switchedOff, 1);
  EXPECT_EQ(mMap->mSprites.size(), 1u);
  EXPECT_TRUE(mMap->mBullets->bullets.empty());
  blocker.speedReduction = 10.0f;  // held blockers do not count
  tower.update(0.1f);
  EXPECT_EQ(tower.switchedOff, 0);
  EXPECT_TRUE(mMap->mSprites.empty());
}

TEST_F(TowerTest, SectorsAndTurning) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  tower.setFacing(89.0f);
  EXPECT_EQ(tower.targetAngle, 359.0f);
  const int sector359 = towerSector(tower.targetAngle);
  tower.setFacing(91.0f);
  EXPECT_EQ(tower.targetAngle, 1.0f);
  EXPECT_NE(towerSector(tower.targetAngle), sector359);

  struct Turn {
    float current, target, step, expected;
  };
  const Turn turns[] = {
      {350.0f, 10.0f, 5.0f, 355.0f},  // the shorter way is up through 360
      {10.0f, 350.0f, 5.0f, 5.0f},    // and down through 0
      {0.0f, 180.0f, 5.0f, 5.0f},     // exactly opposite: up when below
      {180.0f, 0.0f, 5.0f, 175.0f},   // and down otherwise
      {100.0f, 103.0f, 36.0f, 103.0f},  // never past the target
  };
  for (const Turn& t : turns) EXPECT_FLOAT_EQ(towerTurn(t.current, t.target, t.step), t.expected) << t.current;
}

TEST_F(TowerTest, UpgradeInfoLinesSkipZeroDivisors) {
  struct Case {
    float r0, s0, c0;
    int g0;
    float r1, s1, c1;
    int g1;
    std::vector<std::pair<std::u16string, int>> expected;
  };
  const Case cases[] = {
      {100, 10, 1.0f, 0, 120, 10, 1.0f, 0, {{u"towerUpgradeInfoRange", 20}}},
      {100, 10, 1.0f, 0, 100, 15, 0.8f, 0, {{u"towerUpgradeInfoDamage", 50}, {u"towerUpgradeInfoRof", 25}}},
      {100, 0, 1.0f, 0, 100, 15, 1.0f, 0, {}},                             // no damage before: no line
      {100, -1, 10.0f, 0, 100, -1, 9.0f, 5, {{u"towerUpgradeInfoRof", 11}}},  // income from 0: no line
      {0, 10, 1.0f, 2, 100, 10, 0.0f, 3, {{u"towerUpgradeInfoIncome", 50}}},  // range from 0, cooldown to 0
  };
  for (const Case& c : cases) {
    RuvProto from;
    from.r = c.r0;
    from.strength = c.s0;
    from.cooldown = c.c0;
    from.goldIncome = c.g0;
    RuvProto to;
    to.r = c.r1;
    to.strength = c.s1;
    to.cooldown = c.c1;
    to.goldIncome = c.g1;
    std::vector<std::pair<std::u16string, int>> lines;
    for (const RuvUpgradeInfoLine& line : towerUpgradeInfo(from, to)) lines.emplace_back(line.key, line.percent);
    EXPECT_EQ(lines, c.expected) << c.r0 << " " << c.s0;
  }
}

TEST_F(TowerTest, TierUpgradeNeedsTheMoney) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  mMap->mWallet->money = 40;
  tower.upgrade(1, 50.0f);
  EXPECT_EQ(tower.tierLevel, 0);
  EXPECT_EQ(mMap->mWallet->money, 40);
  mMap->mWallet->money = 60;
  tower.upgrade(1, 50.5f);
  EXPECT_EQ(tower.tierLevel, 1);
  EXPECT_EQ(mMap->mWallet->money, 10);
  tower.upgrade(9, 0.0f);  // no such tier
  EXPECT_EQ(tower.tierLevel, 1);
}

TEST_F(TowerTest, IncomeIsTheUpgradedIncomeTimesTheSpotMultiplier) {
  struct Case {
    const char* values;
    int paid;
  };
  const Case cases[] = {{"", 0}, {R"(<a name="income_mult" value="2"/>)", 10}};
  for (const Case& c : cases) {
    mMap->mTowers.clear();
    mMap->mWallet->money = 100;
    RuvTower& tower = AddTower(400, 0.0f, 0.0f, AddSpot(0.0f, 0.0f, c.values));
    tower.payIncome();
    EXPECT_EQ(mMap->mWallet->money, 100 + c.paid) << c.values;
    ASSERT_FALSE(mMap->mPopups->popups.empty());
    const std::string digits = "+" + std::to_string(c.paid);
    EXPECT_EQ(mMap->mPopups->popups.back()->text, std::u16string(digits.begin(), digits.end()));
    EXPECT_EQ(tower.state, RuvTower::kFiring);
  }
}

TEST_F(TowerTest, IncomeTowerPaysEveryCooldown) {
  mMap->mWallet->money = 0;
  AddTower(400, 0.0f, 0.0f, AddSpot(0.0f, 0.0f, R"(<a name="income_mult" value="1"/>)"));
  for (int i = 0; i < 84; ++i) mMap->update(0.125f);  // 10.5 s: one payout after 10 s
  EXPECT_EQ(mMap->mWallet->money, 5);
}

TEST_F(TowerTest, BoughtStarStillCountsASecondLater) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  mMap->mWallet->money = 100;
  tower.buyStar();
  EXPECT_EQ(tower.stars, 1);
  EXPECT_EQ(mMap->mWallet->money, 85);
  for (int i = 0; i < 8; ++i) mMap->update(0.125f);
  // base 10 and 200, tierK 0.1: strength 1 x 0.1 x 10 + 10, range bonus 1 x 0.1 x 200.
  EXPECT_FLOAT_EQ(tower.bonus->strength, 11.0f);
  EXPECT_FLOAT_EQ(tower.bonus->r, 20.0f);
  EXPECT_FLOAT_EQ(tower.range(), 110.0f);
  tower.buyStar();
  tower.buyStar();  // past "tierUpdates" 2: back to none
  EXPECT_EQ(tower.stars, 0);
  mMap->update(0.125f);
  EXPECT_FLOAT_EQ(tower.bonus->strength, 0.0f);
}

TEST_F(TowerTest, UpgradesOfLiveTowers) {
  SetUpgrades(R"(<upgrades><upgrade id="7"><targets><target id="100"/></targets><steps>
      <step><attributes><a name="radius" value="10"/><a name="strength" value="15"/>
      <a name="cooldown" value="25"/></attributes></step></steps></upgrade></upgrades>)",
              {{7, 0}});
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  tower.clearCombatStats();
  applyToTower(*mMap->mUpgrades, tower);
  EXPECT_FLOAT_EQ(tower.bonus->r, 20.0f);
  EXPECT_FLOAT_EQ(tower.bonus->strength, 2.0f);  // ceil(1.5)
  // A positive "cooldown" shortens the time between shots: 2 - 0.5.
  EXPECT_FLOAT_EQ(tower.bonus->cooldown, 0.5f);
  applyToTower(*mMap->mUpgrades, tower);  // the map clears in between; without a clear it adds up
  EXPECT_FLOAT_EQ(tower.bonus->r, 40.0f);
}

}  // namespace

namespace {

using combattest::CombatTest;

class IncomeShareTest : public CombatTest {};

TEST_F(IncomeShareTest, IncomeTowersInRangeAddTheirShareToKills) {
  AddTower(400, 0.0f, 0.0f);    // range 100, "health" 20
  AddTower(400, 500.0f, 0.0f);  // out of reach
  AddTower(100, 0.0f, 0.0f);    // no income
  const float share = incomeKillShare(*mMap, math::Point2(0.0f, 50.0f));
  EXPECT_FLOAT_EQ(share, 0.2f);
  EXPECT_EQ(unitKillReward(10.0f, 0.25f, share), 15);
  EXPECT_EQ(incomeKillShare(*mMap, math::Point2(0.0f, 100.0f)), 0.0f);
}

}  // namespace
