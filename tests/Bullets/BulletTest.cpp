// Bullets: the damage rule, landing of straight and homing shots, blasts, and the bullets of a sold
// tower.
#include <gtest/gtest.h>

#include <cmath>

#include "Game/Art/RuvPopupList.h"
#include "Towers/CombatScene.h"

namespace {

using combattest::CombatTest;

class BulletTest : public CombatTest {
 protected:
  // A bullet of the tower at the unit, placed at (x, y).
  std::unique_ptr<RuvBullet> Shot(RuvTower& tower, RuvUnit* target, float x, float y) {
    auto bullet = std::make_unique<RuvBullet>(*mMap, &tower, target);
    bullet->position = math::Point2(x, y);
    return bullet;
  }
};

TEST_F(BulletTest, DamageRule) {
  struct Case {
    const char* name;
    int tower;      // 100: strength 10, ammo r 60; 200: ammo r 0
    const char* spot;
    float bonus;
    bool direct;
    float distance;  // from the unit to the bullet
    float expected;
  };
  const Case cases[] = {
      {"direct", 100, "", 0.0f, true, 45.0f, 10.0f},
      {"direct with bonus and damage_mult", 100, R"(<a name="damage_mult" value="3"/>)", 2.0f, true, 0.0f, 15.0f},
      {"indirect at 0", 100, "", 0.0f, false, 0.0f, 10.0f},
      {"indirect at 30 of 60", 100, "", 0.0f, false, 30.0f, 5.0f},
      {"indirect at 45 of 60", 100, "", 0.0f, false, 45.0f, 2.5f},
      {"indirect at 60", 100, "", 0.0f, false, 60.0f, 0.0f},
      {"indirect beyond", 100, "", 0.0f, false, 90.0f, 0.0f},
      {"r 0: no fall-off", 200, "", 0.0f, false, 30.0f, 10.0f},
  };
  for (const Case& c : cases) {
    mMap->mWaves->units.clear();
    RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 0.0f);
    RuvTower& tower = AddTower(c.tower, 500.0f, 0.0f, AddSpot(500.0f, 0.0f, c.spot));
    tower.bonus->strength = c.bonus;
    const float before = unit.health;
    unit.hit(*Shot(tower, &unit, c.distance, 0.0f), c.direct);
    EXPECT_FLOAT_EQ(before - unit.health, c.expected) << c.name;
    EXPECT_FALSE(std::isnan(unit.health)) << c.name;
  }
}

TEST_F(BulletTest, Immunities) {
  struct Case {
    int unit;
    int tower;
    float ammo;  // the tier's "ammoid"
    bool immune;
  };
  const Case cases[] = {
      {combattest::kFireOnly, 100, 2004, true},      {combattest::kFireOnly, 100, 2001, false},
      {combattest::kIce, 300, 902, true},            {combattest::kPoisonImmune, 300, 902, true},
      {combattest::kWalker, 300, 902, false},
  };
  for (const Case& c : cases) {
    mMap->mWaves->units.clear();
    mMap->mModifiers.clear();
    const size_t popups = mMap->mPopups->popups.size();
    RuvUnit& unit = AddUnit(c.unit, 0.0f, 0.0f);
    RuvTower& tower = AddTower(c.tower, 100.0f, 0.0f);
    RuvProto tier;
    tier.copyFrom(*tower.tier());
    tier.ammoId = int(c.ammo);
    auto shot = Shot(tower, &unit, 0.0f, 0.0f);
    shot->tier = &tier;
    const float before = unit.health;
    unit.hit(*shot, true);
    EXPECT_EQ(unit.health == before, c.immune) << c.unit << " " << c.ammo;
    // Only tower 300 has side effects; an immune unit gets none of them.
    EXPECT_EQ(!unit.modifiers.empty(), c.tower == 300 && !c.immune) << c.unit;
    EXPECT_EQ(mMap->mPopups->popups.size() > popups, c.immune) << c.unit;
  }
}

TEST_F(BulletTest, SideEffectsAdmittedOrRefused) {
  RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 0.0f);
  RuvUnit& near = AddUnit(combattest::kWalker, 30.0f, 0.0f);   // within 80 / 2 of the unit
  RuvUnit& far = AddUnit(combattest::kWalker, 50.0f, 0.0f);
  RuvTower& first = AddTower(300, 100.0f, 0.0f);
  RuvTower& second = AddTower(300, 200.0f, 0.0f);
  unit.hit(*Shot(first, &unit, 0.0f, 0.0f), true);
  // Poison, stun and hold of one source: the first is admitted, the other two refused.
  ASSERT_EQ(unit.modifiers.size(), 1u);
  EXPECT_NE(dynamic_cast<DotModifier*>(unit.modifiers[0].get()), nullptr);
  EXPECT_EQ(unit.modifiers[0]->period, 0.9f);
  // The splash marks the map and hurts the unit's neighbour with fall-off from the bullet.
  ASSERT_EQ(mMap->mModifiers.size(), 1u);
  EXPECT_EQ(mMap->mModifiers[0]->kind, AreaDamageModifier::kKind);
  EXPECT_FLOAT_EQ(near.health, 100.0f - 20.0f * (80.0f - 30.0f) / 80.0f);
  EXPECT_FLOAT_EQ(far.health, 100.0f);
  unit.hit(*Shot(first, &unit, 0.0f, 0.0f), true);
  EXPECT_EQ(unit.modifiers.size(), 1u);
  unit.hit(*Shot(second, &unit, 0.0f, 0.0f), true);
  EXPECT_EQ(unit.modifiers.size(), 2u);
  // Indirect hits carry the side effects too; a unit at 0 health is neither hurt nor given more.
  EXPECT_EQ(near.modifiers.size(), 2u);
  near.health = 0.0f;
  RuvTower& third = AddTower(300, 300.0f, 0.0f);
  near.hit(*Shot(third, &near, 30.0f, 0.0f), true);
  EXPECT_EQ(near.health, 0.0f);
  EXPECT_EQ(near.modifiers.size(), 2u);
}

TEST_F(BulletTest, StraightShotLandsAndHurtsAroundWithFallOff) {
  RuvUnit& target = AddUnit(combattest::kWalker, 0.0f, 100.0f);
  RuvUnit& beside = AddUnit(combattest::kWalker, 30.0f, 100.0f);
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &tower, &target));
  for (int i = 0; i < 10 && !mMap->mBullets->bullets.empty(); ++i) mMap->mBullets->update(0.05f);
  EXPECT_TRUE(mMap->mBullets->bullets.empty());
  // r 60: the unit on the landing point takes it all, the one 30 px away half.
  EXPECT_NEAR(target.health, 90.0f, 0.01f);
  EXPECT_NEAR(beside.health, 95.0f, 0.01f);
}

TEST_F(BulletTest, FastShotsLandWhateverTheStep) {
  for (bool homing : {false, true}) {
    mMap->mWaves->units.clear();
    mMap->mBullets->bullets.clear();
    RuvUnit& target = AddUnit(combattest::kWalker, 0.0f, 50.0f);
    RuvTower& tower = AddTower(homing ? 200 : 100, 0.0f, 0.0f);
    mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &tower, &target));
    mMap->mBullets->update(0.2f);  // 60 or 80 px in one step: over the target, never inside 10 px of it
    EXPECT_TRUE(mMap->mBullets->bullets.empty()) << homing;
    EXPECT_LT(target.health, 100.0f) << homing;
  }
}

TEST_F(BulletTest, ShotFromItsTargetPointLandsAtOnce) {
  RuvUnit& target = AddUnit(combattest::kWalker, 0.0f, 0.0f);
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  auto bullet = std::make_unique<RuvBullet>(*mMap, &tower, &target);
  EXPECT_EQ(bullet->direction.x, 0.0f);
  EXPECT_EQ(bullet->direction.y, 0.0f);
  mMap->mBullets->add(std::move(bullet));
  mMap->mBullets->update(0.05f);
  EXPECT_TRUE(mMap->mBullets->bullets.empty());
  EXPECT_FLOAT_EQ(target.health, 90.0f);
}

TEST_F(BulletTest, StraightShotBeyondTheRangeDiesAtTheBorder) {
  RuvUnit& target = AddUnit(combattest::kWalker, 0.0f, 150.0f);  // range 100
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &tower, &target));
  for (int i = 0; i < 20; ++i) mMap->mBullets->update(0.05f);
  EXPECT_TRUE(mMap->mBullets->bullets.empty());
  EXPECT_FLOAT_EQ(target.health, 100.0f);
}

TEST_F(BulletTest, HomingShotThatLostItsTargetBlasts) {
  RuvUnit& target = AddUnit(combattest::kWalker, 0.0f, 90.0f);
  RuvTower& tower = AddTower(200, 0.0f, 0.0f);
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &tower, &target));
  mMap->mBullets->update(0.05f);
  mMap->onUnitRemoved(&target);
  mMap->mBullets->update(0.05f);
  EXPECT_TRUE(mMap->mBullets->bullets.empty());
  ASSERT_EQ(mMap->mModifiers.size(), 1u);
  EXPECT_NE(dynamic_cast<BlastModifier*>(mMap->mModifiers[0].get()), nullptr);
  EXPECT_EQ(mMap->mModifiers[0]->source, nullptr);
  // The blast is over at the next update that moves time.
  mMap->mModifiers[0]->update(nullptr, 0.05f);
  EXPECT_FALSE(mMap->mModifiers[0]->active);
}

TEST_F(BulletTest, SellingATowerRemovesItsBullets) {
  RuvUnit& target = AddUnit(combattest::kWalker, 0.0f, 90.0f);
  RuvTower& sold = AddTower(100, 0.0f, 0.0f, AddSpot(0.0f, 0.0f, ""));
  RuvTower& kept = AddTower(100, 10.0f, 0.0f);
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &sold, &target));
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &kept, &target));
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, &sold, &target));
  mMap->sellTower(&sold);
  ASSERT_EQ(mMap->mBullets->bullets.size(), 1u);
  EXPECT_EQ(mMap->mBullets->bullets[0]->tower, &kept);
  EXPECT_EQ(mMap->mTowers.size(), 1u);
}

TEST_F(BulletTest, HeadingRule) {
  struct Case {
    float dx, dy, expected;
  };
  // atan2 of the x difference over the y difference, turned by -90, then q.
  const Case cases[] = {{0, 1, 180}, {1, 0, 270}, {0, -1, 0}, {-1, 0, 90}};
  for (const Case& c : cases) {
    float a = std::atan2(c.dx, c.dy) * 180.0f / 3.1415927f - 90.0f;
    a = a >= 90.0f ? a - 90.0f : a + 270.0f;
    EXPECT_FLOAT_EQ(bulletHeading(c.dx, c.dy), a);
    EXPECT_NEAR(bulletHeading(c.dx, c.dy), c.expected, 1e-3f) << c.dx << " " << c.dy;
  }
}

}  // namespace
