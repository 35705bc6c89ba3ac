// Modifiers: the timing rule, admission, the teleport beam's hold, tower boosts, and links to
// effects and units that the map deletes (headless: the particle system makes no emitters).
#include <gtest/gtest.h>

#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvParticle.h"
#include "Towers/CombatScene.h"

namespace {

using combattest::CombatTest;

struct CountingModifier : RuvModifier {
  CountingModifier(float modifierPeriod, float modifierDuration) : RuvModifier("", 0.0f, modifierDuration, nullptr) {
    period = modifierPeriod;
  }
  void tick(RuvUnit*, float) override { ++ticks; }
  int ticks = 0;
};

TEST(ModifierTimingTest, TickAndEnd) {
  struct Case {
    const char* name;
    float period, duration;
    std::vector<float> steps;
    std::vector<int> ticks;       // total after each update
    std::vector<bool> active;     // after each update
  };
  const Case cases[] = {
      {"every update, also at dt 0", -1.0f, 3.0f, {0, 0, 0}, {1, 2, 3}, {true, true, true}},
      {"period 1 at dt 0 never", 1.0f, 3.0f, {0, 0, 0}, {0, 0, 0}, {true, true, true}},
      {"period 1 at dt 0.6: updates 2 and 4", 1.0f, 10.0f, {0.6f, 0.6f, 0.6f, 0.6f, 0.6f}, {0, 1, 1, 2, 2},
       {true, true, true, true, true}},
      {"elapsed exactly the duration is still active", -1.0f, 2.0f, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f},
       {1, 2, 3, 4, 5}, {true, true, true, true, false}},
      {"inactive does nothing", -1.0f, 0.25f, {0.5f, 0.5f}, {1, 1}, {false, false}},
      {"forever", 1.0f, -1.0f, {100.0f, 100.0f}, {1, 2}, {true, true}},
  };
  for (const Case& c : cases) {
    CountingModifier modifier(c.period, c.duration);
    for (size_t i = 0; i < c.steps.size(); ++i) {
      modifier.update(nullptr, c.steps[i]);
      EXPECT_EQ(modifier.ticks, c.ticks[i]) << c.name << " update " << i + 1;
      EXPECT_EQ(modifier.active, c.active[i]) << c.name << " update " << i + 1;
    }
  }
}

class ModifierTest : public CombatTest {
 protected:
  // A route of two points for the unit, walked halfway along its second link.
  void GiveRoute(RuvUnit& unit) {
    for (int id : {1, 2, 3}) {
      RuvPoint point;
      point.id = id;
      point.x = 100.0f * float(id);
      mMap->mPoints.push_back(point);
    }
    unit.route = {1, 2, 3};
    unit.routeIndex = 1;
    unit.progress = 0.5f;
  }

  void Run(float seconds, float dt = 0.125f) {
    for (float t = 0.0f; t < seconds; t += dt) mMap->update(dt);
  }
};

TEST_F(ModifierTest, Admission) {
  RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 0.0f);
  RuvTower& first = AddTower(300, 0.0f, 0.0f);
  RuvTower& second = AddTower(300, 10.0f, 0.0f);
  struct Case {
    const char* name;
    const void* source;
    bool ability;
    bool admitted;
  };
  unit.modifiers.push_back(std::make_unique<DotModifier>(*mMap, "health", 0.5f, 2.0f, &first));
  auto ability = std::make_unique<RegenModifier>();
  unit.modifiers.push_back(std::move(ability));
  const Case cases[] = {
      {"same tower", &first, false, false},
      {"another tower", &second, false, true},
      {"no source beside an ability", nullptr, false, true},
  };
  for (const Case& c : cases) {
    DotModifier candidate(*mMap, "", 0.0f, 1.0f, c.source);
    EXPECT_EQ(unit.canAdmit(candidate), c.admitted) << c.name;
  }
  // An inactive modifier not yet removed still blocks.
  unit.modifiers[0]->active = false;
  EXPECT_FALSE(unit.canAdmit(DotModifier(*mMap, "", 0.0f, 1.0f, &first)));
}

TEST_F(ModifierTest, SourcelessStunBlocksAPoisonArea) {
  RuvUnit& stunned = AddUnit(combattest::kWalker, 0.0f, 0.0f);
  RuvUnit& free = AddUnit(combattest::kWalker, 10.0f, 0.0f);
  stunned.modifiers.push_back(std::make_unique<StunModifier>(*mMap, "", 0.0f, 3.0f, nullptr));
  DotModifierArea area(*mMap, 0.0f, 0.0f, 100.0f, 2.0f, 5.0f);
  area.update(nullptr, 0.1f);
  EXPECT_EQ(stunned.modifiers.size(), 1u);
  ASSERT_EQ(free.modifiers.size(), 1u);
  EXPECT_EQ(free.modifiers[0]->period, 1.0f);
  EXPECT_EQ(free.modifiers[0]->duration, 5.0f);
}

TEST_F(ModifierTest, HoldsAndStuns) {
  RuvUnit& unit = AddUnit(combattest::kDebuffer, 0.0f, 0.0f);  // entry speed 10
  struct Case {
    std::unique_ptr<RuvModifier> modifier;
    float reduction;
  };
  Case cases[] = {{std::make_unique<HoldModifier>(*mMap, "speed", 0.5f, 3.0f, nullptr), 10.0f},
                  {std::make_unique<StunModifier>(*mMap, "speed", 0.5f, 3.0f, nullptr), 5.0f},
                  {std::make_unique<MapImpassableArea>(*mMap, 3.0f, 0.0f, 0.0f, 20.0f), 10.0f}};
  for (Case& c : cases) {
    unit.speedReduction = 0.0f;
    c.modifier->update(&unit, 0.1f);
    EXPECT_EQ(unit.speedReduction, c.reduction);
  }
}

TEST_F(ModifierTest, TeleportBeamHoldsThenSendsTheUnitBack) {
  for (bool sellDuringHold : {false, true}) {
    mMap->mWaves->units.clear();
    mMap->mTowers.clear();
    mMap->mPoints.clear();
    RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 50.0f);
    GiveRoute(unit);
    RuvTower& tower = AddTower(600, 0.0f, 0.0f, AddSpot(0.0f, 0.0f, ""));
    tower.target = &unit;
    tower.fire();
    ASSERT_EQ(unit.modifiers.size(), 1u);
    EXPECT_EQ(unit.state, RuvUnit::kHeldByBeam);
    EXPECT_FLOAT_EQ(unit.health, 95.0f);
    for (int i = 0; i < 12; ++i) mMap->mWaves->updateUnitModifiers(0.125f);  // 1.5 s
    if (sellDuringHold) mMap->sellTower(&tower);
    for (int i = 0; i < 12; ++i) mMap->mWaves->updateUnitModifiers(0.125f);  // 3.0 s: still held
    EXPECT_EQ(unit.routeIndex, 1);
    EXPECT_EQ(unit.speedReduction, unitEntrySpeed(*mMap, unit));
    mMap->mWaves->updateUnitModifiers(0.125f);  // the hold ends
    mMap->mWaves->updateUnitModifiers(0.125f);  // the teleport
    EXPECT_EQ(unit.routeIndex, 0) << sellDuringHold;
    EXPECT_EQ(unit.progress, 0.0f);
    EXPECT_EQ(unit.state, RuvUnit::kWalking);
    EXPECT_EQ(unit.spawnPoint, &mMap->mPoints[0]);
    if (!sellDuringHold) {
      EXPECT_EQ(tower.state, RuvTower::kIdle);
      EXPECT_EQ(tower.target, nullptr);
    }
    for (int i = 0; i < 5; ++i) mMap->mWaves->updateUnitModifiers(0.125f);
    EXPECT_FALSE(unit.modifiers[0]->active);
  }
}

TEST_F(ModifierTest, RefusedBeamHoldLeavesTheUnitWalking) {
  RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 50.0f);
  RuvTower& tower = AddTower(600, 0.0f, 0.0f);
  unit.modifiers.push_back(std::make_unique<DotModifier>(*mMap, "", 0.0f, 5.0f, &tower));
  tower.target = &unit;
  tower.fire();
  EXPECT_EQ(unit.state, RuvUnit::kWalking);
  EXPECT_EQ(unit.modifiers.size(), 1u);
}

TEST_F(ModifierTest, BoostTowersComeFirstAndBoostTheOthersInReach) {
  mMap->mWallet->money = 1000;
  const char* reach = R"(<a name="radius_mult" value="1"/>)";
  RuvTower* near = mMap->buildTower(mMap->mProtos->findProto(100), AddSpot(0.0f, 0.0f, reach));
  RuvTower* far = mMap->buildTower(mMap->mProtos->findProto(100), AddSpot(500.0f, 0.0f, reach));
  RuvTower* boost = mMap->buildTower(mMap->mProtos->findProto(500), AddSpot(60.0f, 0.0f, reach));
  ASSERT_TRUE(near && far && boost);
  EXPECT_EQ(mMap->mTowers[0].get(), boost);
  mMap->update(0.125f);
  // "speed" 50 of the boost tier: half of the tier's strength and range on top, for this frame.
  EXPECT_FLOAT_EQ(near->bonus->strength, 5.0f);
  EXPECT_FLOAT_EQ(near->bonus->r, 100.0f);
  EXPECT_EQ(near->boosted, 1);
  EXPECT_EQ(far->boosted, 0);
  EXPECT_EQ(boost->boosted, 0);
}

TEST_F(ModifierTest, TowerBoostSpellWithEffectsTheMapDropped) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  mMap->mModifiers.push_back(std::make_unique<TowersBoost>(*mMap, 1.0f, 0.25f));
  auto* boost = static_cast<TowersBoost*>(mMap->mModifiers.back().get());
  mMap->update(0.125f);
  EXPECT_FLOAT_EQ(tower.bonus->strength, 2.5f);
  EXPECT_EQ(tower.spellBoosted, 1);
  ASSERT_EQ(boost->effects.size(), 1u);
  // A tower built during the boost gets it from the next update on.
  RuvTower& late = AddTower(100, 200.0f, 0.0f);
  mMap->update(0.125f);
  EXPECT_EQ(late.spellBoosted, 1);
  EXPECT_EQ(boost->boosted.size(), 2u);
  // Without emitters the map has dropped the hammers already; the end of the boost frees nothing twice.
  EXPECT_EQ(boost->effects[0].get(), nullptr);
  Run(1.0f);
  EXPECT_TRUE(mMap->mModifiers.empty());
  EXPECT_EQ(tower.spellBoosted, 0);
  EXPECT_EQ(late.spellBoosted, 0);
}

TEST_F(ModifierTest, HammerEffectRemovedWhenStillListed) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  {
    TowersBoost boost(*mMap, 1.0f, 0.25f);
    boost.update(nullptr, 0.1f);
    EXPECT_EQ(mMap->mOverlayEffects.size(), 1u);
    // No spell 3004 in the library: the hammer plays at speed 1.
    EXPECT_EQ(mMap->mOverlayEffects[0]->speed, 1.0f);
  }
  EXPECT_TRUE(mMap->mOverlayEffects.empty());
  EXPECT_EQ(tower.spellBoosted, 0);
}

TEST_F(ModifierTest, PortalsTheMapDroppedAreNotStoppedAgain) {
  RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 50.0f);
  GiveRoute(unit);
  RuvTower& tower = AddTower(600, 0.0f, 0.0f);
  unit.modifiers.push_back(std::make_unique<HoldAndTeleport>(*mMap, "", 0.0f, 3.0f, &tower));
  auto* hold = static_cast<HoldAndTeleport*>(unit.modifiers.back().get());
  Run(2.5f);  // both portals opened, and dropped by the map (no emitters)
  EXPECT_TRUE(hold->startPortalOpened);
  EXPECT_TRUE(hold->unitPortalOpened);
  EXPECT_EQ(hold->startPortal.get(), nullptr);
  EXPECT_TRUE(mMap->mEffects.empty());
  mMap->mWaves->units.clear();  // the destructor must not touch the deleted portals
}

TEST_F(ModifierTest, HealSpriteForgetsAReapedUnit) {
  RuvUnit& healer = AddUnit(combattest::kWalker, 0.0f, 0.0f);
  RuvUnit& hurt = AddUnit(combattest::kWalker, 10.0f, 0.0f);
  hurt.health = 50.0f;
  HealerModifier heal(*mMap);
  // The walker's tier has "r" 0: give the healer a reach through its own prototype.
  mMap->mProtos->findProto(combattest::kWalker)->r = 50.0f;
  heal.update(&healer, 0.1f);
  EXPECT_FLOAT_EQ(hurt.health, 60.0f);
  EXPECT_EQ(healer.state, RuvUnit::kSpecial);
  ASSERT_EQ(mMap->mSprites.size(), 1u);
  auto* sprite = dynamic_cast<RuvAnimatedSprite*>(mMap->mSprites[0]);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->owner, &hurt);
  mMap->onUnitRemoved(&hurt);
  EXPECT_EQ(sprite->owner, nullptr);
}

TEST_F(ModifierTest, GoldIncomeTicksOnTheCooldown) {
  RuvTower& tower = AddTower(400, 0.0f, 0.0f);
  ASSERT_EQ(tower.modifiers.size(), 1u);
  const auto* income = dynamic_cast<GoldIncomerModifier*>(tower.modifiers[0].get());
  ASSERT_NE(income, nullptr);
  EXPECT_EQ(income->period, 10.0f);
  EXPECT_EQ(income->income, 5);
  EXPECT_EQ(income->source, &tower);
}

}  // namespace

namespace {

using combattest::CombatTest;

class TowerLinksTest : public CombatTest {};

TEST_F(TowerLinksTest, BeamTheMapDroppedReadsAsGone) {
  RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 50.0f);
  RuvTower& tower = AddTower(600, 0.0f, 0.0f);
  tower.target = &unit;
  tower.fire();
  const auto* beam = dynamic_cast<const RuvBeamParticle*>(tower.beam.get());
  ASSERT_NE(beam, nullptr);
  EXPECT_EQ(beam->target, &unit);
  ASSERT_EQ(mMap->mParticles.size(), 1u);
  mMap->update(0.125f);  // a beam without emitters is dropped by the map
  EXPECT_TRUE(mMap->mParticles.empty());
  EXPECT_EQ(tower.beam.get(), nullptr);
  tower.clearTarget();
  EXPECT_EQ(tower.state, RuvTower::kIdle);
}

TEST_F(TowerLinksTest, SoldTowerLeavesNothingOnTheUnits) {
  RuvUnit& unit = AddUnit(combattest::kWalker, 0.0f, 0.0f);
  RuvUnit& other = AddUnit(combattest::kWalker, 300.0f, 0.0f);
  RuvTower& sold = AddTower(300, 100.0f, 0.0f, AddSpot(100.0f, 0.0f, ""));
  const void* address = &sold;
  unit.modifiers.push_back(std::make_unique<DotModifier>(*mMap, "", 0.5f, 9.0f, address));
  other.modifiers.push_back(std::make_unique<StunModifier>(*mMap, "", 0.5f, 9.0f, address));
  mMap->sellTower(&sold);
  // Every unit, not only a beam's target: a tower built at the same address is never refused.
  EXPECT_TRUE(unit.modifiers.empty());
  EXPECT_TRUE(other.modifiers.empty());
}

}  // namespace

namespace {

using combattest::CombatTest;

class AbilityTest : public CombatTest {};

TEST_F(AbilityTest, SpawnedUnitsCarryTheirTiersAbilitiesInOrder) {
  RuvUnit& unit = AddUnit(combattest::kGifted, 0.0f, 0.0f);
  addUnitAbilities(*mMap, unit);
  ASSERT_EQ(unit.modifiers.size(), 6u);
  EXPECT_NE(dynamic_cast<HasteAreaModifier*>(unit.modifiers[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<InvisibleAreaModifier*>(unit.modifiers[1].get()), nullptr);
  EXPECT_NE(dynamic_cast<InvisibleModifier*>(unit.modifiers[2].get()), nullptr);
  EXPECT_NE(dynamic_cast<RegenModifier*>(unit.modifiers[3].get()), nullptr);
  EXPECT_NE(dynamic_cast<HealerModifier*>(unit.modifiers[4].get()), nullptr);
  EXPECT_NE(dynamic_cast<ShamanModifier*>(unit.modifiers[5].get()), nullptr);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(unit.modifiers[i]->period, 2.0f) << i;
  EXPECT_GE(unit.modifiers[5]->period, 2.0f);
  EXPECT_LT(unit.modifiers[5]->period, 4.0f);
  for (const auto& modifier : unit.modifiers) {
    EXPECT_TRUE(modifier->ability);
    EXPECT_EQ(modifier->source, nullptr);
    EXPECT_EQ(modifier->duration, RuvModifier::kForever);
  }
}

TEST_F(AbilityTest, WhatEachAbilityDoes) {
  RuvUnit& gifted = AddUnit(combattest::kGifted, 0.0f, 0.0f);
  RuvUnit& near = AddUnit(combattest::kWalker, 50.0f, 0.0f);
  RuvUnit& far = AddUnit(combattest::kWalker, 150.0f, 0.0f);
  HasteAreaModifier haste(*mMap);
  haste.update(&gifted, 0.1f);
  EXPECT_EQ(near.speedMultiplierTarget, 2.0f);
  EXPECT_EQ(near.hasteTimer, 5.0f);
  EXPECT_EQ(far.hasteTimer, 0.0f);
  EXPECT_EQ(gifted.hasteTimer, 0.0f);
  InvisibleAreaModifier hide(*mMap);
  hide.update(&gifted, 0.1f);
  EXPECT_EQ(near.invisibilityTimer, 2.0f);
  EXPECT_EQ(far.invisibilityTimer, 0.0f);
  InvisibleModifier self;
  self.period = 2.0f;
  self.update(&gifted, 0.1f);  // the first update ticks
  EXPECT_EQ(gifted.invisibilityTimer, 2.0f);
}

TEST_F(AbilityTest, RegenerationWaitsWhileHeld) {
  RuvUnit& unit = AddUnit(combattest::kGifted, 0.0f, 0.0f);
  unit.health = 50.0f;
  RegenModifier regen;
  unit.speedReduction = 10.0f;
  regen.update(&unit, 0.1f);
  EXPECT_EQ(unit.health, 50.0f);
  unit.speedReduction = 0.0f;
  regen.update(&unit, 0.1f);
  EXPECT_EQ(unit.health, 60.0f);
  unit.health = 95.0f;
  regen.update(&unit, 0.1f);
  EXPECT_EQ(unit.health, 100.0f);  // capped at the maximum
}

TEST_F(AbilityTest, ShamanOpensPortalsOnlyWhileAlive) {
  RuvUnit& shaman = AddUnit(combattest::kGifted, 0.0f, 0.0f);
  RuvWaveProto wave(RuvLevelWave{});
  shaman.entry->wave = &wave;
  ShamanModifier summon(*mMap);
  shaman.state = RuvUnit::kDying;
  summon.update(&shaman, 0.1f);
  EXPECT_TRUE(mMap->mModifiers.empty());
  shaman.state = RuvUnit::kWalking;
  summon.update(&shaman, 0.1f);
  ASSERT_EQ(mMap->mModifiers.size(), 1u);
  EXPECT_EQ(shaman.state, RuvUnit::kSpecial);
  // The summoned kind's "cooldown" is the portal's duration, its "speed" the period.
  EXPECT_EQ(mMap->mModifiers[0]->duration, 4.0f);
  EXPECT_EQ(mMap->mModifiers[0]->period, 20.0f);
  mMap->mModifiers.clear();  // the portal's effect was never made (no emitters): nothing to stop
  shaman.entry->wave = nullptr;
}

}  // namespace
