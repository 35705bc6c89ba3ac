// The enemies' own abilities: haste, heal, invisibility, regeneration and the shaman's portal.
#include <utility>

#include "Core/Base/StringEncoding.h"
#include "Core/Math/Random.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

constexpr float kHasteMultiplier = 2.0f;
constexpr float kHasteSeconds = 5.0f;
constexpr float kInvisibleSeconds = 2.0f;
constexpr float kInvisibleBrightness = 0.4f;
constexpr float kHealShare = -10.0f;  // damage(maximum / -10) heals a tenth
constexpr int kSummonedProtoId = 0;

void abilityMark(RuvModifier& modifier) { modifier.ability = true; }

// Other live units closer than radius to the unit, in list order.
template <class Visit>
void forUnitsAround(const RuvMap& map, const RuvUnit& centre, float radius, Visit visit) {
  for (const std::unique_ptr<RuvUnit>& unit : map.mWaves->units) {
    if (unit.get() == &centre) continue;
    if (distance(centre.position.x, centre.position.y, unit->position.x, unit->position.y) < radius) visit(*unit);
  }
}

float abilityReach(const RuvUnit& unit) {
  const RuvProto* tier = unit.proto();
  return tier ? tier->r : 0.0f;
}

}  // namespace

HasteAreaModifier::HasteAreaModifier(RuvMap& map) : RuvModifier("", 0.0f, kForever, nullptr), mMap(map) {
  abilityMark(*this);
}

void HasteAreaModifier::tick(RuvUnit* target, float) {
  if (!target || target->isDying()) return;
  forUnitsAround(mMap, *target, abilityReach(*target), [](RuvUnit& other) {
    other.speedMultiplierTarget = kHasteMultiplier;
    other.hasteTimer = kHasteSeconds;
  });
}

HealerModifier::HealerModifier(RuvMap& map) : RuvModifier("", 0.0f, kForever, nullptr), mMap(map) {
  abilityMark(*this);
}

void HealerModifier::tick(RuvUnit* target, float) {
  if (!target || target->speedReduction != 0.0f || target->isDying()) return;
  bool healed = false;
  forUnitsAround(mMap, *target, abilityReach(*target), [this, &healed](RuvUnit& other) {
    const float maximum = other.maxHealth();
    if (other.isDying() || other.health >= maximum) return;
    other.damage(maximum / kHealShare);
    auto* sprite = new RuvAnimatedSprite(u"ruv/mob_heal");
    sprite->x = other.position.x;
    sprite->y = other.position.y;
    sprite->setOwner(&other);
    mMap.mSprites.push_back(sprite);
    if (other.health > maximum) other.health = maximum;
    healed = true;
  });
  if (healed) {
    target->state = RuvUnit::kSpecial;
    target->animationTime = 0.0f;
  }
}

InvisibleAreaModifier::InvisibleAreaModifier(RuvMap& map) : RuvModifier("", 0.0f, kForever, nullptr), mMap(map) {
  abilityMark(*this);
}

void InvisibleAreaModifier::tick(RuvUnit* target, float) {
  if (!target || target->isDying()) return;
  forUnitsAround(mMap, *target, abilityReach(*target), [](RuvUnit& other) {
    other.invisibilityTimer = kInvisibleSeconds;
    other.brightnessTarget = kInvisibleBrightness;
  });
}

InvisibleModifier::InvisibleModifier() : RuvModifier("", 0.0f, kForever, nullptr) {
  abilityMark(*this);
  sinceTick = 100.0f;
}

void InvisibleModifier::tick(RuvUnit* target, float) {
  if (!target || target->isDying()) return;
  target->invisibilityTimer = kInvisibleSeconds;
  target->brightnessTarget = kInvisibleBrightness;
}

RegenModifier::RegenModifier() : RuvModifier("", 0.0f, kForever, nullptr) { abilityMark(*this); }

void RegenModifier::tick(RuvUnit* target, float) {
  if (!target || target->speedReduction != 0.0f || target->isDying()) return;
  const float maximum = target->maxHealth();
  if (target->health >= maximum) return;
  target->damage(maximum / kHealShare);
  if (target->health > maximum) target->health = maximum;
}

ShamanModifier::ShamanModifier(RuvMap& map) : RuvModifier("", 0.0f, kForever, nullptr), mMap(map) {
  abilityMark(*this);
}

void ShamanModifier::tick(RuvUnit* target, float) {
  if (!target || target->speedReduction != 0.0f || target->isDying() || !target->entry) return;
  const RuvProto* tier = target->proto();
  const RuvProto* summoned = tier ? mMap.mProtos->findProto(tier->ammoId) : nullptr;
  if (!summoned || !target->entry->wave) return;
  target->state = RuvUnit::kSpecial;
  target->animationTime = 0.0f;
  auto portal = std::make_unique<ShamanPortal>(mMap, *target, summoned->cooldown);
  portal->period = summoned->speed;
  mMap.mModifiers.push_back(std::move(portal));
}

ShamanPortal::ShamanPortal(RuvMap& map, RuvUnit& caster, float portalDuration)
    : RuvModifier("", 0.0f, portalDuration, nullptr),
      mMap(map),
      mWave(caster.entry ? caster.entry->wave : nullptr),
      mRoute(caster.route),
      mRouteIndex(caster.routeIndex),
      mProgress(caster.progress),
      mSpawnPoint(caster.spawnPoint),
      mLane(caster.entry ? caster.entry->y : 0.0f),
      mPosition(caster.position) {
  const RuvProto* tier = caster.proto();
  const RuvProto* summoned = tier ? map.mProtos->findProto(tier->ammoId) : nullptr;
  if (summoned && !summoned->onFire.empty()) {
    portal = startMapEffect(map, base::ToNarrow(summoned->onFire, base::kEncodingUtf8), mPosition, 1);
  }
}

ShamanPortal::~ShamanPortal() { stopMapEffect(portal); }

void ShamanPortal::update(RuvUnit* target, float dt) {
  if (RuvEffect* live = portal.get()) live->update(dt);
  RuvModifier::update(target, dt);
}

void ShamanPortal::tick(RuvUnit*, float) {
  if (!mWave || mRouteIndex < 0 || mRouteIndex >= static_cast<int>(mRoute.size())) return;
  const RuvPoint* point = RuvGraph(mMap.mPoints, mMap.mLinks).findPoint(mRoute[static_cast<size_t>(mRouteIndex)]);
  if (!point) return;
  RuvWaveEntry& entry = mWave->addSpawnedEntry(kSummonedProtoId, 1, mLane);
  entry.state = 1;
  RuvUnit* unit = mMap.mWaves->spawnUnit(entry, *point);
  if (!unit) return;
  unit->tierLevel = 0;
  unit->route = mRoute;
  unit->routeIndex = mRouteIndex;
  unit->progress = mProgress;
  unit->spawnPoint = mSpawnPoint;
  unit->position = mPosition;
}

void addUnitAbilities(RuvMap& map, RuvUnit& unit) {
  const RuvProto* tier = unit.proto();
  if (!tier) return;
  const auto add = [&unit, tier](std::unique_ptr<RuvModifier> modifier) {
    modifier->period = tier->cooldown;
    unit.modifiers.push_back(std::move(modifier));
  };
  if (tier->hasteBuff) add(std::make_unique<HasteAreaModifier>(map));
  if (tier->invisibleArea) add(std::make_unique<InvisibleAreaModifier>(map));
  if (tier->invisible) add(std::make_unique<InvisibleModifier>());
  if (tier->regen) add(std::make_unique<RegenModifier>());
  if (tier->healer) add(std::make_unique<HealerModifier>(map));
  if (tier->summon) {
    add(std::make_unique<ShamanModifier>(map));
    unit.modifiers.back()->period = math::RandomRange(tier->cooldown, 2.0f * tier->cooldown);
  }
}
