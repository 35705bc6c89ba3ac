// The map's modifiers: splash marks, blasts, poison and fire areas, impassable areas and the tower
// boost spell.
#include <algorithm>
#include <utility>

#include "Core/Base/StringEncoding.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvBullet.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

namespace {

constexpr int kBoostSpellId = 3004;
constexpr float kHammerRise = 50.0f;

// Live units closer than radius to (x, y), in list order.
std::vector<RuvUnit*> areaUnits(const RuvMap& map, float x, float y, float radius) {
  std::vector<RuvUnit*> found;
  for (const std::unique_ptr<RuvUnit>& unit : map.mWaves->units) {
    if (!unit->alive || unit->isDying()) continue;
    if (distance(x, y, unit->position.x, unit->position.y) < radius) found.push_back(unit.get());
  }
  return found;
}

}  // namespace

AreaDamageModifier::AreaDamageModifier(std::string modifierName, float modifierValue, float modifierDuration,
                                       const void* modifierSource, float areaX, float areaY, float areaRadius)
    : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, modifierSource) {
  kind = kKind;
  x = areaX;
  y = areaY;
  radius = areaRadius;
}

BlastModifier::BlastModifier(RuvMap& map, const RuvBullet& bullet) : RuvModifier("", 0.0f, 0.0f, nullptr) {
  const RuvProto* tier = bullet.tier;
  const RuvProto* ammunition = bullet.ammo();
  if (!tier || !ammunition) return;
  for (RuvUnit* unit : areaUnits(map, bullet.position.x, bullet.position.y, ammunition->r / 2.0f)) {
    unit->damage(tier->strength);
  }
  if (!ammunition->onHit.empty()) {
    startMapEffect(map, base::ToNarrow(ammunition->onHit, base::kEncodingUtf8), bullet.position, 2);
  }
}

DotModifierArea::DotModifierArea(RuvMap& map, float areaX, float areaY, float areaRadius, float modifierValue,
                                 float modifierDuration)
    : RuvModifier("", modifierValue, modifierDuration, nullptr), mMap(map) {
  x = areaX;
  y = areaY;
  radius = areaRadius;
}

void DotModifierArea::tick(RuvUnit*, float) {
  std::vector<RuvUnit*> inside;
  mMap.mWaves->unitsInCircle(x, y, radius, inside);
  for (RuvUnit* unit : inside) {
    if (!unit->alive || unit->isDying()) continue;
    auto poison = std::make_unique<DotModifier>(mMap, "", value, duration, nullptr);
    poison->period = 1.0f;
    if (unit->canAdmit(*poison)) unit->modifiers.push_back(std::move(poison));
  }
}

FireSplashModifier::FireSplashModifier(RuvMap& map, std::string modifierName, float modifierValue,
                                       float modifierDuration, const void* modifierSource, float areaX, float areaY,
                                       float areaRadius)
    : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, modifierSource), mMap(map) {
  x = areaX;
  y = areaY;
  radius = areaRadius;
}

void FireSplashModifier::tick(RuvUnit*, float) {
  for (RuvUnit* unit : areaUnits(mMap, x, y, radius / 2.0f)) unit->damage(value);
}

MapImpassableArea::MapImpassableArea(RuvMap& map, float modifierDuration, float areaX, float areaY, float areaRadius)
    : RuvModifier("", 0.0f, modifierDuration, nullptr), mMap(map) {
  x = areaX;
  y = areaY;
  radius = areaRadius;
}

void MapImpassableArea::tick(RuvUnit*, float) {
  for (RuvUnit* unit : areaUnits(mMap, x, y, radius / 2.0f)) unit->speedReduction = unitEntrySpeed(mMap, *unit);
}

TowersBoost::TowersBoost(RuvMap& map, float modifierDuration, float modifierValue)
    : RuvModifier("", modifierValue, modifierDuration, nullptr), mMap(map) {}

TowersBoost::~TowersBoost() {
  for (RuvWeak<RuvEffect>& effect : effects) {
    RuvEffect* live = effect.get();
    if (!live) continue;
    auto& list = mMap.mOverlayEffects;
    list.erase(std::remove_if(list.begin(), list.end(), [live](const auto& listed) { return listed.get() == live; }),
               list.end());
  }
  for (const std::unique_ptr<RuvTower>& tower : mMap.mTowers) tower->spellBoosted = 0;
}

void TowersBoost::tick(RuvUnit*, float) {
  for (const std::unique_ptr<RuvTower>& tower : mMap.mTowers) {
    const RuvProto* tier = tower->tier();
    if (!tier || !tower->bonus) continue;
    tower->bonus->strength += tier->strength * value;
    tower->bonus->r += tier->r * value;
    const bool seen = std::any_of(boosted.begin(), boosted.end(),
                                  [&tower](const RuvWeak<RuvTower>& known) { return known.get() == tower.get(); });
    if (seen) continue;
    auto effect = std::make_unique<RuvEffect>("hammer");
    // The hammer lasts as long as the upgraded spell; a speed that is not above 0 plays it at 1.
    const RuvProto* spell = mMap.mProtos->findProto(kBoostSpellId);
    const std::unique_ptr<RuvProto> upgraded = mMap.mProtos->makeUpgradedProto(kBoostSpellId, mMap.mUpgrades.get());
    effect->speed = spell && upgraded && upgraded->speed > 0.0f ? spell->speed / upgraded->speed : 1.0f;
    if (effect->emitter) {
      effect->emitter->SetPosition(math::Point2(tower->anchor.x, tower->anchor.y - kHammerRise), 0);
      effect->emitter->SetLoopMode(1);
      effect->emitter->SetState(render::ParticleEmitter::kPlaying);
    }
    effects.emplace_back(effect.get());
    mMap.mOverlayEffects.push_back(std::move(effect));
    boosted.emplace_back(tower.get());
    tower->spellBoosted = 1;
  }
}
