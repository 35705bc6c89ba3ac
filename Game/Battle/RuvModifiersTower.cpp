// The towers' abilities: income, boosting the towers around, revealing invisible units.
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

GoldIncomerModifier::GoldIncomerModifier(int tierIncome, float incomePeriod, RuvTower& tower)
    : RuvModifier("", 0.0f, kForever, &tower), income(tierIncome), mTower(tower) {
  period = incomePeriod;
}

void GoldIncomerModifier::tick(RuvUnit*, float) { mTower.payIncome(); }

MagicTowerBoost::MagicTowerBoost(RuvMap& map, RuvTower& tower)
    : RuvModifier("", 0.0f, kForever, &tower), mMap(map), mTower(tower) {}

void MagicTowerBoost::tick(RuvUnit*, float) {
  const RuvProto* boostTier = mTower.tier();
  if (!boostTier) return;
  const float share = boostTier->speed / 100.0f;
  // A spot without "radius_mult" reads 0 here: such a boost reaches only a tower on the same point.
  const float reach = boostTier->r * 0.5f * mTower.spotAttribute("radius_mult");
  for (const std::unique_ptr<RuvTower>& other : mMap.mTowers) {
    const RuvProto* tier = other->tier();
    if (other.get() == &mTower || !tier || tier->boostTower || !other->bonus) continue;
    if (distance(mTower.position.x, mTower.position.y, other->position.x, other->position.y) > reach) continue;
    other->bonus->strength += tier->strength * share;
    other->bonus->r += tier->r * share;
    other->boosted = 1;
  }
}

ShowInvisible::ShowInvisible(RuvMap& map, RuvTower& tower)
    : RuvModifier("", 0.0f, kForever, &tower), mMap(map), mTower(tower) {}

void ShowInvisible::tick(RuvUnit*, float) {
  const RuvProto* tier = mTower.tier();
  if (!tier) return;
  const float reach = tier->r * 0.5f * mTower.spotAttribute("radius_mult");
  for (const std::unique_ptr<RuvUnit>& unit : mMap.mWaves->units) {
    if (distance(mTower.position.x, mTower.position.y, unit->position.x, unit->position.y) >= reach) continue;
    unit->invisibilityTimer = 0.0f;
    unit->brightnessTarget = 1.0f;
  }
}
