#include "Game/Battle/RuvTower.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "Core/Math/Random.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvBullet.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

constexpr float kTowerTurnDegreesPerSecond = 360.0f;
constexpr float kTowerRestSeconds = 3.0f;
constexpr float kTowerBeamSeconds = 0.2f;
constexpr float kTowerSlowFactor = 1.5f;
constexpr float kTowerPi = 3.1415927f;

const RuvFrameEntry* towerFirstFrame(const RuvArtSet* art, const char* group) {
  if (!art) return nullptr;
  const auto found = art->groups.find(group);
  return found == art->groups.end() || found->second.empty() ? nullptr : found->second.front();
}

bool towerHasUnit(const std::vector<RuvUnit*>& units, const RuvUnit* unit) {
  return unit && std::find(units.begin(), units.end(), unit) != units.end();
}

// A flyer by its entry's library prototype (not its tier).
bool towerUnitFlies(const RuvMap& map, const RuvUnit& unit) {
  const RuvProto* base = unit.entry && map.mProtos ? map.mProtos->findProto(unit.entry->protoId) : nullptr;
  return base && base->air;
}

void playTowerSound(const RuvProto& tierRecord) {
  const std::string tag = "tower" + std::to_string(tierRecord.id) + "shot";
  k2::SoundTags::Instance()->Play(std::u16string(tag.begin(), tag.end()));
}

std::u16string towerDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

int towerSector(float angle) { return static_cast<int>(angle / RuvTower::kSectorDegrees + 0.5f); }

float towerTurn(float current, float target, float step) {
  float difference = target - current;
  float direction;
  if (std::fabs(difference) == 180.0f) {
    direction = current < target ? 1.0f : -1.0f;
  } else {
    if (difference > 180.0f) difference -= 360.0f;
    if (difference < -180.0f) difference += 360.0f;
    direction = difference < 0.0f ? -1.0f : 1.0f;
  }
  if (step >= std::fabs(difference)) return target;
  return current + direction * step;
}

void sortTowersBoostFirst(RuvMap& map) {
  const auto boosts = [](const std::unique_ptr<RuvTower>& tower) {
    const RuvProto* current = tower->tier();
    return current && current->boostTower;
  };
  std::stable_partition(map.mTowers.begin(), map.mTowers.end(), boosts);
}

float incomeKillShare(const RuvMap& map, const math::Point2& point) {
  float share = 0.0f;
  for (const std::unique_ptr<RuvTower>& tower : map.mTowers) {
    const RuvProto* current = tower->tier();
    if (!current || current->goldIncome <= 0) continue;
    if (distance(tower->position.x, tower->position.y, point.x, point.y) < tower->range()) {
      share += current->health / 100.0f;
    }
  }
  return share;
}

RuvTower::RuvTower() = default;

RuvTower::RuvTower(RuvMap& map) : mMap(&map) {}

RuvTower::~RuvTower() = default;

void RuvTower::setProto(const RuvProto* proto) {
  baseProto = proto;
  tierLevel = 0;
  bonus = std::make_unique<RuvProto>();
  if (proto) setArtSize(*proto);
  createAbilities();
}

void RuvTower::setArtSize(const RuvProto& tierRecord) {
  artSize = math::Point2();
  if (!tierRecord.art) return;
  for (const auto& group : tierRecord.art->groups) {
    for (const RuvFrameEntry* frame : group.second) {
      artSize.x = std::max(artSize.x, frame->rect[2]);
      artSize.y = std::max(artSize.y, frame->rect[3]);
    }
  }
}

void RuvTower::createAbilities() {
  modifiers.clear();
  const RuvProto* current = tier();
  if (!current || !mMap) return;
  if (current->goldIncome > 0) {
    modifiers.push_back(std::make_unique<GoldIncomerModifier>(current->goldIncome, current->cooldown, *this));
  }
  if (current->boostTower) modifiers.push_back(std::make_unique<MagicTowerBoost>(*mMap, *this));
  if (current->showInvisible) modifiers.push_back(std::make_unique<ShowInvisible>(*mMap, *this));
  sortTowersBoostFirst(*mMap);
}

const RuvProto* RuvTower::tierProto(int level) const { return baseProto ? baseProto->tierForLevel(level) : nullptr; }

float RuvTower::spotAttribute(const char* name) const {
  const auto* spotDef = spot ? static_cast<const RuvSpot*>(spot->owner) : nullptr;
  return spotDef ? spotDef->attributes.getFloat(name) : 0.0f;
}

float RuvTower::range() const {
  const RuvProto* current = tier();
  if (!current) return 0.0f;
  float multiplier = spotAttribute("radius_mult");
  if (multiplier == 0.0f) multiplier = 1.0f;
  return ((bonus ? bonus->r : 0.0f) + current->r) * multiplier * 0.5f;
}

void RuvTower::clearCombatStats() {
  if (!bonus) return;
  bonus->strength = 0.0f;
  bonus->cooldown = 0.0f;
  bonus->r = 0.0f;
  // Bought stars last as long as the tier: their bonus comes back after every clear.
  if (stars > 0 && baseProto) {
    bonus->r += static_cast<float>(stars) * baseProto->tierK * baseProto->r;
    bonus->strength = static_cast<float>(stars) * baseProto->tierK * baseProto->strength + baseProto->strength;
  }
}

void RuvTower::collectTargets(float margin, std::vector<RuvUnit*>& out) const {
  collectTargetBands({{margin, &out}});
}

void RuvTower::collectTargetBands(std::initializer_list<TargetBand> bands) const {
  const RuvProto* current = tier();
  if (!current || !mMap) return;
  const float base = range();
  float widest = 0.0f;
  for (const TargetBand& band : bands) widest = std::max(widest, base + band.margin);
  for (const std::unique_ptr<RuvUnit>& unit : mMap->mWaves->units) {
    if (!unit->alive || unit->isDying() || unit->invisibilityTimer > 0.0f) continue;
    const float away = distance(position.x, position.y, unit->position.x, unit->position.y);
    if (away >= widest || (!current->air && towerUnitFlies(*mMap, *unit))) continue;
    for (const TargetBand& band : bands) {
      if (away < base + band.margin) band.out->push_back(unit.get());
    }
  }
}

RuvUnit* RuvTower::chooseTarget(const std::vector<RuvUnit*>& candidates, RuvUnit* current, bool inRange) const {
  if (!towerHasUnit(candidates, current)) current = nullptr;
  if (inRange && mMap && towerHasUnit(candidates, mMap->mSelectedUnit)) return mMap->mSelectedUnit;
  if (current) return current;
  const auto squaredDistance = [this](const RuvUnit* unit) {
    const float dx = unit->position.x - position.x;
    const float dy = unit->position.y - position.y;
    return dx * dx + dy * dy;
  };
  if (!inRange) {
    RuvUnit* nearest = nullptr;
    float best = 1e9f;
    for (RuvUnit* unit : candidates) {
      const float d = distance(position.x, position.y, unit->position.x, unit->position.y);
      if (d < best) {
        best = d;
        nearest = unit;
      }
    }
    return nearest;
  }
  std::vector<RuvUnit*> pool;
  for (RuvUnit* unit : candidates) {
    if (mMap && towerUnitFlies(*mMap, *unit)) pool.push_back(unit);
  }
  if (pool.empty()) pool = candidates;
  if (pool.empty()) return nullptr;
  std::stable_sort(pool.begin(), pool.end(), [](const RuvUnit* a, const RuvUnit* b) { return a->health < b->health; });
  RuvUnit* chosen = pool.front();
  float best = squaredDistance(chosen);
  for (RuvUnit* unit : pool) {
    if (unit->health != pool.front()->health) break;
    const float d = squaredDistance(unit);
    if (d < best) {
      best = d;
      chosen = unit;
    }
  }
  return chosen;
}

void RuvTower::setFacing(float angle) {
  const float turned = angle < 90.0f ? angle + 270.0f : angle - 90.0f;
  if (std::floor(turned / kSectorDegrees) != std::floor(targetAngle / kSectorDegrees)) targetAngle = turned;
  targetAngle = std::floor(targetAngle);
}

void RuvTower::update(float dt) {
  const RuvProto* current = tier();
  if (!current || !mMap) return;
  if (fadeSpeed != 0.0f) {
    fade += mMap->mFrameTime * fadeSpeed;
    if (fade >= 1.0f || fade <= 0.0f) {
      fade = std::clamp(fade, 0.0f, 1.0f);
      fadeSpeed = 0.0f;
    }
  }
  if (mMap->isTowerBlocked(*this)) {
    if (!switchedOff) {
      switchedOff = 1;
      auto* sprite = new RuvAnimatedSprite(u"ruv/disabletower");
      sprite->loop = 1;
      sprite->x = position.x;
      sprite->y = position.y;
      mMap->mSprites.push_back(sprite);
      switchedOffSprite = sprite;
    }
    return;
  }
  if (switchedOffSprite) removeOwnedObject(mMap->mSprites, switchedOffSprite);
  switchedOffSprite = nullptr;
  switchedOff = 0;
  if (mMap->isTowerDebuffed(*this)) {
    if (!slowed) {
      slowed = 1;
      auto* sprite = new RuvAnimatedSprite(u"ruv/tower_debuff");
      sprite->loop = 1;
      sprite->animation->fps = 10.0f;
      sprite->x = position.x;
      sprite->y = position.y;
      mMap->mSprites.push_back(sprite);
      slowedSprite = sprite;
    }
  } else {
    if (slowedSprite) removeOwnedObject(mMap->mSprites, slowedSprite);
    slowedSprite = nullptr;
    slowed = 0;
  }
  restTime = std::max(0.0f, restTime - dt);
  cooldown = std::max(0.0f, cooldown - dt);
  bool haveNear = false;
  updateTargeting(dt, haveNear);
  if (target && state != kAfterBeam && state != kFlameInFlight) {
    const float dx = target->position.x - position.x;
    const float dy = target->position.y - position.y;
    setFacing(std::atan2(dx, dy) * 180.0f / kTowerPi + 90.0f);
  }
  turn(dt, haveNear);
  updateState(*current, dt);
  if (currentAngle < 0.0f) currentAngle += 360.0f;
  if (currentAngle > 360.0f) currentAngle -= 360.0f;
  for (size_t i = 0; i < modifiers.size();) {
    if (!modifiers[i]->active) {
      modifiers.erase(modifiers.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    modifiers[i]->update(nullptr, dt);
    ++i;
  }
  if (beam && !isEffectRunning(beam->emitters)) beam.reset();
}

void RuvTower::updateTargeting(float dt, bool& haveNear) {
  // Both bands in one pass over the units.
  std::vector<RuvUnit*> near;
  std::vector<RuvUnit*> far;
  collectTargetBands({{0.0f, &near}, {kPreAimMargin, &far}});
  haveNear = !near.empty();
  if (tier()->strength == -1.0f) {
    target = nullptr;
  } else if (near.empty()) {
    if (far.empty()) {
      if (target) clearTarget();
      // A paused battle stands still: no new heading, and the game's random sequence is kept.
      if (state == kIdle && dt > 0.0f) {
        state = kTurning;
        targetAngle = math::Random() * 360.0f;
      }
    } else {
      target = chooseTarget(far, target, false);
      state = kAiming;
    }
  } else {
    target = chooseTarget(near, target, true);
    if (state == kIdle) state = kAiming;
  }
}

void RuvTower::turn(float dt, bool haveNear) {
  if (towerSector(currentAngle) != towerSector(targetAngle)) {
    currentAngle = towerTurn(currentAngle, targetAngle, kTowerTurnDegreesPerSecond * dt);
  }
  if (towerSector(currentAngle) == towerSector(targetAngle) && haveNear && state == kAiming) {
    currentAngle = targetAngle;
    if (cooldown <= 0.0f) {
      state = kFiring;
      animationTime = 0.0f;
    }
  }
}

int RuvTower::frameCount(const char* group) const {
  const RuvProto* current = tier();
  if (!current || !current->art) return 0;
  const auto found = current->art->groups.find(group);
  return found == current->art->groups.end() ? 0 : static_cast<int>(found->second.size());
}

void RuvTower::finishShot(const RuvProto& current) {
  fire();
  cooldown = (current.cooldown - (bonus ? bonus->cooldown : 0.0f)) * (slowed ? kTowerSlowFactor : 1.0f);
}

void RuvTower::updateState(const RuvProto& current, float dt) {
  switch (state) {
    case kIdle:
      if (!current.rotating) {
        animationTime += dt;
        if (animationTime > animationLength(frameCount("idle"), current.fps)) animationTime = 0.0f;
      }
      break;
    case kTurning:
      if (towerSector(currentAngle) == towerSector(targetAngle)) {
        state = kResting;
        restTime = kTowerRestSeconds;
      }
      break;
    case kFiring:
      animationTime += dt;
      if (current.rotating) {
        if (animationTime > animationLength(4, current.fps)) {
          state = kIdle;
          animationTime = 0.0f;
          finishShot(current);
        }
      } else if (animationTime > animationLength(frameCount("blast"), current.fps)) {
        finishShot(current);
        if (current.ammoId == kFlameAmmo) {
          state = kFlameInFlight;
          target = nullptr;
        } else {
          animationTime = 0.0f;
          state = current.teleportEnemy ? kAfterBeam : kIdle;
        }
      }
      break;
    case kAiming:
      if (!current.rotating) {
        animationTime += dt;
        // A product, unlike idle's quotient: the aiming tower plays its idle cycle once and holds the last frame.
        if (animationTime > static_cast<float>(frameCount("idle")) * current.fps) animationTime = 0.0f;
      }
      break;
    case kAfterBeam:
      animationTime += dt;
      if (animationTime > kTowerBeamSeconds) {
        if (RuvParticle* live = beam.get()) {
          for (render::ParticleEmitter* emitter : live->emitters) emitter->SetState(render::ParticleEmitter::kInterrupted);
        }
        beam.reset();
        // Only a hold that was admitted ends the wait (its teleport idles the tower); without one the
        // tower would wait for ever.
        if (!target || target->state != RuvUnit::kHeldByBeam) state = kIdle;
      }
      break;
    case kResting:
      restTime -= dt;
      if (restTime <= 0.0f) state = kIdle;
      break;
    default:
      break;
  }
}

math::Point2 RuvTower::beamMuzzle() const {
  const RuvProto* current = tier();
  const RuvArtSet* art = current ? current->art : nullptr;
  const RuvFrameEntry* b = towerFirstFrame(art, "base_point");
  const RuvFrameEntry* s = towerFirstFrame(art, "s_point");
  if (!b || !s) return position;
  const float w = artSize.x;
  const float h = artSize.y;
  return math::Point2(position.x - ((w / 2.0f - b->rect[0]) + (w / 2.0f - s->rect[0])),
                      position.y - ((h / 2.0f - b->rect[1]) - (h / 2.0f - s->rect[1])));
}

void RuvTower::fire() {
  const RuvProto* current = tier();
  if (!target || !current || !mMap) return;
  playTowerSound(*current);
  if (current->speed == -1.0f && current->teleportEnemy) {
    fireBeam(*current);
    return;
  }
  mMap->mBullets->add(std::make_unique<RuvBullet>(*mMap, this, target));
}

void RuvTower::fireBeam(const RuvProto&) {
  if ((beam && isEffectRunning(beam->emitters)) || target->state == RuvUnit::kHeldByBeam) return;
  const math::Point2 muzzle = beamMuzzle();
  auto particle = std::make_unique<RuvBeamParticle>(muzzle.x, muzzle.y, target, "t_line");
  beam = particle.get();
  mMap->mParticles.push_back(std::move(particle));
  RuvBullet shot(*mMap, this, target);
  target->hit(shot, true);
  // Held only when the beam's hold was admitted: a refused one would never be released.
  const bool held = std::any_of(target->modifiers.begin(), target->modifiers.end(), [this](const auto& modifier) {
    return modifier->source == this && dynamic_cast<const HoldAndTeleport*>(modifier.get());
  });
  if (held) {
    target->state = RuvUnit::kHeldByBeam;
    target->animationTime = 0.0f;
  }
}

void RuvTower::clearTarget() {
  target = nullptr;
  state = kIdle;
  if (RuvParticle* live = beam.get()) {
    for (render::ParticleEmitter* emitter : live->emitters) emitter->SetState(render::ParticleEmitter::kInterrupted);
  }
  beam.reset();
}

void RuvTower::payIncome() {
  const RuvProto* current = tier();
  if (!current || !mMap || current->goldIncome < 1) return;
  playTowerSound(*current);
  const std::unique_ptr<RuvProto> upgraded = mMap->mProtos->makeUpgradedProto(current->id, mMap->mUpgrades.get());
  const float income = static_cast<float>(upgraded ? upgraded->goldIncome : 0) * spotAttribute("income_mult");
  const int paid = static_cast<int>(std::trunc(income));
  if (mMap->mPopups) mMap->mPopups->add(position.x, position.y, 4)->text = u"+" + towerDecimal(paid);
  mMap->mWallet->addMoney(paid);
  state = kFiring;
}

void RuvTower::buyStar() {
  const RuvProto* current = tier();
  if (!current || !baseProto || !mMap) return;
  const float price = current->tierCost;
  if (price > static_cast<float>(mMap->mWallet->money)) return;
  mMap->mWallet->spendMoney(static_cast<int>(std::trunc(price)));
  ++stars;
  if (stars > baseProto->tierUpdates) {
    stars = 0;
    return;
  }
  animationTime = 0.0f;
  state = kIdle;
  if (bonus) {
    bonus->r += static_cast<float>(stars) * baseProto->tierK * baseProto->r;
    bonus->strength = static_cast<float>(stars) * baseProto->tierK * baseProto->strength + baseProto->strength;
  }
}
