#include "Game/Battle/RuvSpell.h"

#include <algorithm>

#include "Core/Base/StringEncoding.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvGeometry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

namespace {

constexpr float kSpellRingInner = 25.0f;
constexpr float kSpellRingOuter = 50.0f;

void addSpellSprite(RuvMap& map, const std::u16string& art, float x, float y, float delay) {
  auto* sprite = new RuvAnimatedSprite(art);
  sprite->x = x;
  sprite->y = y;
  sprite->delay = delay;
  map.mSprites.push_back(sprite);
}

void addSpellRingSprite(RuvMap& map, const std::u16string& art, float x, float y, float delay) {
  const math::Point2 at = randomPointInRing(x, y, kSpellRingOuter, kSpellRingInner);
  addSpellSprite(map, art, at.x, at.y, delay);
}

}  // namespace

float spellEffectSpeed(float libraryDuration, float upgradedDuration) {
  return libraryDuration / (upgradedDuration > 0.0f ? upgradedDuration : 1.0f);
}

RuvSpell::RuvSpell(RuvMap& map, int spellProtoId) : RuvBullet(map, nullptr, nullptr), protoId(spellProtoId) {}

void RuvSpell::cast() {
  const std::unique_ptr<RuvProto> upgraded = mMap.mProtos->makeUpgradedProto(protoId, mMap.mUpgrades.get());
  if (!upgraded) return;
  const RuvProto& p = *upgraded;
  const float x = position.x;
  const float y = position.y;
  if (p.fireSplash) {
    mMap.mModifiers.push_back(std::make_unique<FireSplashModifier>(mMap, std::string(), p.strength, p.speed, nullptr, x, y, p.r));
    mMap.mModifiers.back()->period = 1.0f;
  }
  if (p.splash) {
    std::vector<RuvUnit*> inside;
    mMap.mWaves->unitsInCircle(x, y, p.r, inside);
    for (RuvUnit* unit : inside) {
      unit->damage(p.strength);
      hits.push_back(unit);
    }
  }
  if (p.hold) mMap.mModifiers.push_back(std::make_unique<MapImpassableArea>(mMap, p.speed, x, y, p.r));
  if (p.dot) mMap.mModifiers.push_back(std::make_unique<DotModifierArea>(mMap, x, y, p.r, p.strength, p.speed));
  if (p.boostTower) mMap.mModifiers.push_back(std::make_unique<TowersBoost>(mMap, p.speed, p.strength / 100.0f));
  if (!p.onAmmo.empty()) {
    auto effect = std::make_unique<RuvEffect>(base::ToNarrow(p.onAmmo, base::kEncodingUtf8));
    if (effect->emitter) effect->emitter->SetPosition(math::Point2(x, y), 1);
    const RuvProto* library = mMap.mProtos->findProto(protoId);
    effect->speed = spellEffectSpeed(library ? library->speed : p.speed, p.speed);
    mMap.mEffects.push_back(std::move(effect));
  }
  if (p.art && p.art->container) {
    const std::u16string art = u"ruv/" + p.psd;
    addSpellSprite(mMap, art, x, y, 0.0f);
    addSpellRingSprite(mMap, art, x, y, 0.5f);
    addSpellRingSprite(mMap, art, x, y, 0.75f);
  }
  mMap.mNotices->tutorialEvent(u"spell_casted");
}

void RuvSpell::update(float dt) {
  const RuvProto* p = mMap.mProtos->findProto(protoId);
  animationTime += dt;
  if (!p || animationTime >= p->speed) {
    alive = 0;
    return;
  }
  std::vector<RuvUnit*> inside;
  mMap.mWaves->unitsInCircle(position.x, position.y, p->r, inside);
  for (RuvUnit* unit : inside) {
    if (std::find(hits.begin(), hits.end(), unit) != hits.end()) continue;
    unit->health -= p->strength;
    if (p->stun) unit->modifiers.push_back(std::make_unique<StunModifier>(mMap, std::string(), 0.0f, p->speed, nullptr));
    hits.push_back(unit);
  }
}
