#include "Game/Battle/RuvUnit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Core/Math/Approach.h"
#include "Core/Math/Random.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

constexpr float kFadeSpeed = 1.5f;
constexpr float kGoalReachDistance = 50.0f;  // a straight flyer arrives this close to the goal
constexpr float kFacingLeftBelow = -0.05f;

void PlayUnitSound(const char* prefix, int id, const char* suffix) {
  const std::string tag = prefix + std::to_string(id) + suffix;
  k2::SoundTags::Instance()->Play(std::u16string(tag.begin(), tag.end()));
}

// The shadow image of the flying kinds that have one; null for the others.
render::Image* loadShadow(int protoId) {
  switch (protoId) {
    case 3:
    case 30:
    case 31:
    case 38:
      return ruvLoadImage(u"ruv/data/ui_parts/shadows/wywern_shadow", nullptr);
    case 10:
    case 32:
    case 33:
      return ruvLoadImage(u"ruv/data/ui_parts/shadows/dragon_shadow", nullptr);
    default:
      return nullptr;
  }
}

}  // namespace

int unitKillReward(float cost, float costBonus, float incomeShare) {
  return static_cast<int>(std::ceil(costBonus * cost) + std::trunc(cost * incomeShare + 0.5f) + cost);
}

float animationLength(int frames, float fps) { return fps > 0.0f ? static_cast<float>(frames) / fps : 0.0f; }

RuvUnit::RuvUnit(RuvMap& map, RuvWaveEntry& waveEntry) : entry(&waveEntry), mMap(&map) {
  tierLevel = waveEntry.upgrade - 1;
  health = maxHealth();
  if (const RuvProto* tier = proto()) {
    if (tier->art) {
      for (const auto& [group, frames] : tier->art->groups) {
        for (const RuvFrameEntry* frame : frames) {
          artSize.x = std::max(artSize.x, frame->rect[2]);
          artSize.y = std::max(artSize.y, frame->rect[3]);
        }
      }
    }
    animationTime = math::Random() * animationLength(frameCount("walk"), tier->fps);
    if (tier->air) shadow.reset(loadShadow(tier->id));
  }
}

RuvUnit::RuvUnit() = default;

RuvUnit::~RuvUnit() = default;

const RuvProto* unitTierProto(const RuvProtoLibrary* library, const RuvWaveEntry& entry) {
  const RuvProto* base = library ? library->findProto(entry.protoId) : nullptr;
  return base ? base->tierForLevel(entry.upgrade - 1) : nullptr;
}

const RuvProto* RuvUnit::proto() const { return mMap && entry ? unitTierProto(mMap->mProtos.get(), *entry) : nullptr; }

float RuvUnit::maxHealth() const {
  const RuvProto* tier = proto();
  return tier ? (1.0f + mMap->difficultyOffset()) * tier->health : 0.0f;
}

int RuvUnit::frameCount(const char* group) const {
  const RuvProto* tier = proto();
  if (!tier || !tier->art) return 0;
  const auto found = tier->art->groups.find(group);
  return found == tier->art->groups.end() ? 0 : static_cast<int>(found->second.size());
}

void RuvUnit::setRoute(std::vector<int> pointIds, const RuvPoint& spawn) {
  route = std::move(pointIds);
  routeIndex = 0;
  progress = 0.0f;
  spawnPoint = &spawn;
  position = math::Point2(spawn.x, spawn.y);
  enterLink();
}

void RuvUnit::enterLink() {
  const RuvPoint* from = routeIndex < static_cast<int>(route.size())
                             ? RuvGraph(mMap->mPoints, mMap->mLinks).findPoint(route[routeIndex])
                             : nullptr;
  layer = from ? from->attributes.getFloat("upper") : 0.0f;
}

void RuvUnit::damage(float amount) {
  if (isDying()) return;
  health -= amount;
  healthBarTimer = 2.5f;
  if (amount > 0.0f) {
    invisibilityTimer = 0.0f;
    brightnessTarget = 1.0f;
  }
  PlayUnitSound("enemy", entry->protoId, "hit");
}

math::Rect RuvUnit::bounds() const {
  if (currentFrame) return math::Rect(position.x, position.y, currentFrame->rect[2], currentFrame->rect[3]);
  return math::Rect(position.x, position.y, artSize.x, artSize.y);
}

void RuvUnit::updateTimers(float dt) {
  invisibilityTimer -= dt;
  brightnessTarget = invisibilityTimer <= 0.0f ? 1.0f : 0.4f;
  math::Approach(brightness, dt, brightnessTarget);
  hasteTimer -= dt;
  if (hasteTimer <= 0.0f) {
    speedMultiplierTarget = 1.0f;
    hasteTimer = 0.0f;
  }
  math::Approach(speedMultiplier, dt, speedMultiplierTarget);
  healthBarTimer = std::max(0.0f, healthBarTimer - dt);
  fade += fadeSpeed * dt;
  // Only the end it moves toward stops it: a paused frame (dt 0) leaves a new unit fading in.
  if ((fadeSpeed > 0.0f && fade >= 1.0f) || (fadeSpeed < 0.0f && fade <= 0.0f)) fadeSpeed = 0.0f;
  fade = std::clamp(fade, 0.0f, 1.0f);
}

void RuvUnit::update(float dt) {
  updateTimers(dt);
  const RuvProto* tier = proto();
  if (tier && health <= 0.0f && !isDying()) {
    startDying(*tier);
    return;
  }
  if (!tier) {
    alive = 0;
    return;
  }
  if (!animate(*tier, dt)) return;
  modifiers.erase(std::remove_if(modifiers.begin(), modifiers.end(), [](const auto& m) { return !m->active; }),
                  modifiers.end());
  if (state == kSpecial) return;
  if (tier->straight) {
    flyStraight(*tier, dt);
  } else {
    walk(*tier, dt);
  }
}

void RuvUnit::startDying(const RuvProto& tier) {
  if (tier.carrier) releaseCarried();
  state = kDying;
  PlayUnitSound("enemy", tier.id, "die");
  const float incomeShare = incomeKillShare(*mMap, position);
  const int reward = unitKillReward(tier.cost, mMap->mEnemyCostBonus, incomeShare);
  mMap->mWallet->onKill(reward, position.x, position.y - 50.0f);
  if (mMap->mPopups)
    mMap->mPopups->add(position.x, position.y, 4)->text = u"+ " + [reward] {
      const std::string digits = std::to_string(reward);
      return std::u16string(digits.begin(), digits.end());
    }();
  animationTime = 0.0f;
  if (tier.explodeStr > 0.0f) {
    auto effect = std::make_unique<RuvEffect>("mg_00");
    if (effect->emitter) effect->emitter->SetPosition(position, 0);
    mMap->mOverlayEffects.push_back(std::move(effect));
    for (const auto& other : mMap->mWaves->units) {
      if (other.get() == this || !other->alive || other->isDying()) continue;
      const float dx = other->position.x - position.x;
      const float dy = other->position.y - position.y;
      if (std::sqrt(dx * dx + dy * dy) <= tier.explodeRadius) other->damage(tier.explodeStr);
    }
  }
}

bool RuvUnit::animate(const RuvProto& tier, float dt) {
  if (tier.speed - speedReduction > 0.0f || isDying()) animationTime += dt;
  switch (state) {
    case kDying: {
      if (tier.air) {
        drift.x += 50.0f * dt;
        drift.y += 80.0f * dt;
      }
      const int frames = frameCount("death");
      if (frames == 0) {
        finish();
      } else if (animationTime >= animationLength(frames, tier.fps)) {
        state = kDead;
        fadeSpeed = -kFadeSpeed;
        animationTime = animationLength(frames - 1, tier.fps);
      }
      return false;
    }
    case kDead:
      if (fade <= 0.0f) {
        animationTime = 0.0f;
        finish();
      }
      return false;
    case kSpecial:
      if (animationTime >= animationLength(frameCount("special"), tier.fps)) {
        animationTime = 0.0f;
        state = kWalking;
        PlayUnitSound("enemy", tier.id, "special");
      }
      return true;
    case kWalking:
      if (animationTime >= animationLength(frameCount("walk"), tier.fps)) animationTime = 0.0f;
      return true;
    default:
      return true;
  }
}

void RuvUnit::finish() {
  alive = 0;
  raiseDead();
}

void RuvUnit::walk(const RuvProto& tier, float dt) {
  RuvGraph graph(mMap->mPoints, mMap->mLinks);
  if (routeIndex + 1 < static_cast<int>(route.size())) {
    const RuvPoint* from = graph.findPoint(route[routeIndex]);
    const RuvPoint* to = graph.findPoint(route[routeIndex + 1]);
    const int link = from && to ? graph.findLink(*from, *to) : -1;
    if (link >= 0) mMap->mRoutes->findOrSampleRoute(graph, link, laneKey(entry->y), polyline);
  }
  const float step = (tier.speed - speedReduction) * dt * speedMultiplier;
  if (step > 0.0f) progress = std::max(0.0f, progress + polylineAdvance(polyline, step));
  if (progress >= 1.0f) {
    ++routeIndex;
    progress = 0.0f;
    if (routeIndex + 1 < static_cast<int>(route.size())) {
      enterLink();
      return;
    }
    mMap->onUnitReachedGoal(this);
    return;
  }
  if (polyline.empty()) return;
  position = polylinePosition(polyline, progress);
  const size_t last = polyline.size() - 1;
  const size_t i = std::min(last, static_cast<size_t>(std::floor(static_cast<float>(last) * progress)));
  facingLeft = polyline[i]->ny <= kFacingLeftBelow;
}

void RuvUnit::flyStraight(const RuvProto& tier, float dt) {
  const RuvPoint* goal = RuvGraph(mMap->mPoints, mMap->mLinks).firstGoalPoint();
  if (!goal) return;
  const float dx = goal->x - position.x;
  const float dy = goal->y - position.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length < kGoalReachDistance) mMap->onUnitReachedGoal(this);
  if (length > 0.0f) {
    const float step = std::min(length, tier.speed * dt);
    position.x += dx / length * step;
    position.y += dy / length * step;
  }
  facingLeft = goal->x < position.x;
}

void RuvUnit::releaseCarried() {
  const RuvPoint* from = routeIndex < static_cast<int>(route.size())
                             ? RuvGraph(mMap->mPoints, mMap->mLinks).findPoint(route[routeIndex])
                             : spawnPoint;
  if (!from) return;
  const float start = std::clamp(progress - 0.1f, 0.0f, 0.85f);
  for (int i = 0; i < 3; ++i) {
    RuvWaveEntry& carried = entry->wave->addSpawnedEntry(kCarriedProtoId, tierLevel + 1, entry->y);
    RuvUnit* unit = mMap->spawnUnit(carried, *from);
    if (!unit) continue;
    unit->route = route;
    unit->routeIndex = routeIndex;
    unit->spawnPoint = spawnPoint;
    unit->position = position;
    unit->progress = static_cast<float>(i) * 0.1f + start;
    unit->enterLink();
  }
}

void RuvUnit::raiseDead() {
  const RuvProto* own = proto();
  if (!own || own->id == kRaisedProtoId) return;
  RuvUnit* raiser = nullptr;
  for (const auto& other : mMap->mWaves->units) {
    if (other.get() == this || !other->alive || other->isDying()) continue;
    const RuvProto* tier = other->proto();
    if (!tier || !tier->raiseDead || other->speedReduction == -tier->speed) continue;
    const float dx = other->position.x - position.x;
    const float dy = other->position.y - position.y;
    if (std::sqrt(dx * dx + dy * dy) < tier->r) {
      raiser = other.get();
      break;
    }
  }
  if (!raiser) return;
  const RuvPoint* from = routeIndex < static_cast<int>(route.size())
                             ? RuvGraph(mMap->mPoints, mMap->mLinks).findPoint(route[routeIndex])
                             : spawnPoint;
  if (!from) return;
  RuvWaveEntry& raisedEntry = entry->wave->addSpawnedEntry(kRaisedProtoId, 1, entry->y);
  RuvUnit* raised = mMap->spawnUnit(raisedEntry, *from);
  if (!raised) return;
  raised->route = route;
  raised->routeIndex = routeIndex;
  raised->progress = progress;
  raised->spawnPoint = spawnPoint;
  raised->position = position;
  raised->enterLink();
  raised->state = kSpecial;
  raised->animationTime = 0.0f;
  if (raiser->state != kSpecial) {
    raiser->state = kSpecial;
    raiser->animationTime = 0.0f;
  }
}
