#include "Game/Battle/RuvBullet.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Core/Base/StringEncoding.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

namespace {

constexpr float kBulletPi = 3.1415927f;
constexpr float kFlameRiseSeconds = 0.5f;
constexpr float kFlameLift = 15.0f;
constexpr float kFlameArc = 35.0f;

int bulletFrameCount(const RuvArtSet* art, const char* group) {
  if (!art) return 0;
  const auto found = art->groups.find(group);
  return found == art->groups.end() ? 0 : static_cast<int>(found->second.size());
}

const RuvFrameEntry* bulletFrame(const RuvArtSet* art, const char* group, int index) {
  if (!art) return nullptr;
  const auto found = art->groups.find(group);
  if (found == art->groups.end() || found->second.empty()) return nullptr;
  const std::size_t i = static_cast<std::size_t>(index) < found->second.size() ? static_cast<std::size_t>(index) : 0;
  return found->second[i];
}

// The point of segment a-b nearest to p.
math::Point2 bulletNearestOnSegment(const math::Point2& a, const math::Point2& b, const math::Point2& p) {
  const float dx = b.x - a.x;
  const float dy = b.y - a.y;
  const float lengthSquared = dx * dx + dy * dy;
  if (lengthSquared == 0.0f) return a;
  const float t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0f, 1.0f);
  return math::Point2(a.x + t * dx, a.y + t * dy);
}

float bulletDistance(const math::Point2& a, const math::Point2& b) { return distance(a.x, a.y, b.x, b.y); }

void wrapAnimation(float& time, const RuvProto* ammunition) {
  const float length = animationLength(bulletFrameCount(ammunition ? ammunition->art : nullptr, "shot"),
                                       ammunition ? ammunition->fps : 0.0f);
  if (length > 0.0f && time > length) time = 0.0f;
}

}  // namespace

float bulletHeading(float dx, float dy) {
  const float a = std::atan2(dx, dy) * 180.0f / kBulletPi - 90.0f;
  return a >= 90.0f ? a - 90.0f : a + 270.0f;
}

RuvBullet::RuvBullet(RuvMap& map, RuvTower* firingTower, RuvUnit* targetUnit)
    : tower(firingTower), target(targetUnit), mMap(map) {
  if (target) targetPoint = target->position;
  if (!tower) return;
  tier = tower->tier();
  start = tower->position;
  if (tower->directionIndex < 0 || tower->directionIndex > 31) tower->directionIndex = 0;
  if (tier && tier->rotating) {
    const int index = tower->directionIndex == 0 ? 0 : 32 - tower->directionIndex;
    const RuvFrameEntry* s = bulletFrame(tier->art, "s_point", index);
    const RuvFrameEntry* b = bulletFrame(tier->art, "base_point", 0);
    if (s && b) {
      const float w = tower->artSize.x;
      const float h = tower->artSize.y;
      start.x += (w / 2.0f - b->rect[0]) + (w / 2.0f - s->rect[0]);
      start.y -= (h / 2.0f - s->rect[1]) - (h / 2.0f - b->rect[1]);
    }
  }
  const float length = bulletDistance(start, targetPoint);
  // A start on the target point has no direction: such a shot lands at once.
  if (length > 0.0f) direction = math::Point2((targetPoint.x - start.x) / length, (targetPoint.y - start.y) / length);
  speed = tier ? tier->speed : 0.0f;
  if (tier && tier->ammoId == kFlameAmmo) {
    start.y -= kFlameLift;
    flame = std::make_unique<RuvAnimation>(u"ruv/tower3_1b", u"fire");
  }
  position = start;
}

RuvBullet::~RuvBullet() = default;

const RuvProto* RuvBullet::ammo() const {
  return tier && mMap.mProtos ? mMap.mProtos->findProto(tier->ammoId) : nullptr;
}

void RuvBullet::playHitEffect(const math::Point2& point) {
  const RuvProto* ammunition = ammo();
  if (!tower || !ammunition || ammunition->onHit.empty()) return;
  const std::string tag = "ammo" + std::to_string(ammunition->id) + "hit";
  k2::SoundTags::Instance()->Play(std::u16string(tag.begin(), tag.end()));
  auto effect = std::make_unique<RuvEffect>(base::ToNarrow(ammunition->onHit, base::kEncodingUtf8));
  if (effect->emitter) {
    effect->emitter->SetPosition(point, 0);
    effect->emitter->SetLoopMode(2);
    effect->emitter->SetState(render::ParticleEmitter::kPlaying);
  }
  mMap.mEffects.push_back(std::move(effect));
}

void RuvBullet::update(float dt) {
  animationTime += dt;
  flightTimer += dt;
  if (flame) flame->update(dt);
  if (!tier || !tower) {
    alive = 0;
    return;
  }
  if (tier->ammoId == kFlameAmmo && !updateFlame(dt)) return;
  if (tier->speed == -1.0f) {
    if (target) target->hit(*this, true);
    alive = 0;
    return;
  }
  const RuvProto* ammunition = ammo();
  if (bulletFrameCount(ammunition ? ammunition->art : nullptr, "shot") > 0) {
    animationTime += dt;
    wrapAnimation(animationTime, ammunition);
  }
  if (tier->aimed) {
    updateHoming(dt);
  } else {
    updateStraight(dt);
  }
  if (trail) {
    trail->Update(double(dt));
    trail->SetPosition(position, 0);
  }
}

bool RuvBullet::updateFlame(float dt) {
  if (phase == kRising) {
    if (!target) {
      alive = 0;
      return false;
    }
    if (flightTimer < kFlameRiseSeconds) {
      position.y -= speed * dt;
    } else {
      phase = kLobbed;
      flightTimer = 0.0f;
      curveStart = position;
      curveEnd = target->position;
      curveControl = math::Point2(curveStart.x + 0.5f * (curveEnd.x - curveStart.x),
                                  curveStart.y - 0.5f * (curveEnd.y - curveStart.y) - kFlameArc);
    }
  } else if (phase == kLobbed) {
    if (flightTimer <= 1.0f) {
      const float t = flightTimer;
      const float u = 1.0f - t;
      const math::Point2 next(u * u * curveStart.x + 2.0f * u * t * curveControl.x + t * t * curveEnd.x,
                              u * u * curveStart.y + 2.0f * u * t * curveControl.y + t * t * curveEnd.y);
      heading = bulletHeading(next.x - position.x, next.y - position.y);
      position = next;
    } else {
      position = curveEnd;
      flightTimer = 0.0f;
      phase = kLanded;
    }
  }
  if (phase == kLanded) return true;
  const RuvProto* ammunition = ammo();
  if (ammunition && ammunition->art) {
    if (trail) {
      trail->Update(double(dt));
      trail->SetPosition(position, 0);
    }
    wrapAnimation(animationTime, ammunition);
  }
  return false;
}

void RuvBullet::blast() {
  mMap.mModifiers.push_back(std::make_unique<BlastModifier>(mMap, *this));
  alive = 0;
}

void RuvBullet::updateHoming(float dt) {
  if (!target || bulletDistance(tower->position, target->position) > tower->range()) {
    blast();
    return;
  }
  const float away = bulletDistance(position, target->position);
  const float step = speed * dt;
  // The step may carry the bullet past the target: it hits when its path comes close enough.
  if (away - step < kLandingDistance) {
    if (away >= kLandingDistance && away > 0.0f) {
      const float travel = std::min(step, away);
      position.x += (target->position.x - position.x) / away * travel;
      position.y += (target->position.y - position.y) / away * travel;
    }
    target->hit(*this, true);
    playHitEffect(position);
    alive = 0;
    return;
  }
  direction = math::Point2((target->position.x - position.x) / away, (target->position.y - position.y) / away);
  follow(math::Point2(direction.x * step, direction.y * step));
}

void RuvBullet::updateStraight(float dt) {
  const math::Point2 from = position;
  position.x += direction.x * speed * dt;
  position.y += direction.y * speed * dt;
  // Landing looks along the whole step, so a fast bullet cannot jump over its point.
  const math::Point2 nearest = bulletNearestOnSegment(from, position, targetPoint);
  const float range = tower->range();
  if (bulletDistance(nearest, targetPoint) < kLandingDistance && bulletDistance(tower->position, nearest) <= range) {
    position = nearest;
    land();
    return;
  }
  if (bulletDistance(tower->position, position) > range) alive = 0;
}

void RuvBullet::land() {
  const RuvProto* ammunition = ammo();
  const float reach = ammunition ? ammunition->r : 0.0f;
  std::vector<RuvUnit*> struck;
  for (const std::unique_ptr<RuvUnit>& unit : mMap.mWaves->units) {
    if (!unit->alive || unit->isDying()) continue;
    if (bulletDistance(unit->position, position) <= reach) struck.push_back(unit.get());
  }
  for (RuvUnit* unit : struck) {
    playHitEffect(unit->position);
    unit->hit(*this, false);
  }
  playHitEffect(position);
  alive = 0;
}

void RuvBullet::follow(const math::Point2& step) {
  position.x += step.x;
  position.y += step.y;
  heading = bulletHeading(step.x, step.y);
}
