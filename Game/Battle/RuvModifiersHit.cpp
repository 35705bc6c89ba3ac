// The modifiers a hit leaves on a unit: poison, stun, hold and the teleport beam's hold.
#include <utility>

#include "Core/Base/StringEncoding.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

constexpr float kTeleportStartPortalBelow = 1.0f;  // seconds of hold left
constexpr float kTeleportUnitPortalBelow = 2.0f;
constexpr float kTeleportUnitPortalRise = 15.0f;
constexpr float kTeleportDoneSeconds = 0.5f;

}  // namespace

float unitEntrySpeed(const RuvMap& map, const RuvUnit& unit) {
  const RuvProto* proto = unit.entry && map.mProtos ? map.mProtos->findProto(unit.entry->protoId) : nullptr;
  return proto ? proto->speed : 0.0f;
}

RuvWeak<RuvEffect> startMapEffect(RuvMap& map, const std::string& name, const math::Point2& point, int loopMode) {
  auto effect = std::make_unique<RuvEffect>(name);
  if (effect->emitter) {
    effect->emitter->SetPosition(point, 0);
    effect->emitter->SetLoopMode(loopMode);
    effect->emitter->SetState(render::ParticleEmitter::kPlaying);
  }
  RuvWeak<RuvEffect> handle(effect.get());
  map.mEffects.push_back(std::move(effect));
  return handle;
}

void stopMapEffect(RuvWeak<RuvEffect>& effect) {
  if (RuvEffect* live = effect.get()) {
    if (live->emitter) live->emitter->SetState(render::ParticleEmitter::kInterrupted);
  }
  effect.reset();
}

DotModifier::DotModifier(RuvMap& map, std::string modifierName, float modifierValue, float modifierDuration,
                         const void* modifierSource)
    : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, modifierSource), mMap(map) {}

void DotModifier::tick(RuvUnit* target, float) {
  if (!target) return;
  target->damage(value);
  auto* sprite = new RuvAnimatedSprite(u"ruv/mob_dot");
  sprite->x = target->position.x;
  sprite->y = target->position.y;
  mMap.mSprites.push_back(sprite);
}

StunModifier::StunModifier(RuvMap& map, std::string modifierName, float modifierValue, float modifierDuration,
                           const void* modifierSource)
    : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, modifierSource), mMap(map) {}

void StunModifier::tick(RuvUnit* target, float) {
  if (target) target->speedReduction = 0.5f * unitEntrySpeed(mMap, *target);
}

HoldModifier::HoldModifier(RuvMap& map, std::string modifierName, float modifierValue, float modifierDuration,
                           const void* modifierSource)
    : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, modifierSource), mMap(map) {}

void HoldModifier::tick(RuvUnit* target, float) {
  if (target) target->speedReduction = unitEntrySpeed(mMap, *target);
}

HoldAndTeleport::HoldAndTeleport(RuvMap& map, std::string modifierName, float modifierValue,
                                 float modifierDuration, RuvTower* tower)
    : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, tower), mMap(map), mTower(tower) {}

HoldAndTeleport::~HoldAndTeleport() {
  stopMapEffect(startPortal);
  stopMapEffect(unitPortal);
}

void HoldAndTeleport::update(RuvUnit* target, float dt) {
  RuvModifier::update(target, dt);
  if (!active && kind == kHolding) {
    active = true;
    kind = kTeleportDue;
  }
}

void HoldAndTeleport::onSourceRemoved(const void* object) {
  if (object != source) return;
  source = nullptr;
  mTower = nullptr;
}

void HoldAndTeleport::tick(RuvUnit* target, float) {
  if (!target) return;
  const float remaining = duration - elapsed;
  const RuvGraph graph(mMap.mPoints, mMap.mLinks);
  const RuvPoint* first = target->route.empty() ? nullptr : graph.findPoint(target->route.front());
  if (remaining < kTeleportStartPortalBelow && !startPortalOpened && first) {
    startPortalOpened = true;
    startPortal = startMapEffect(mMap, "portal_1", math::Point2(first->x, first->y), 1);
  }
  if (remaining < kTeleportUnitPortalBelow && !unitPortalOpened) {
    unitPortalOpened = true;
    unitPortal = startMapEffect(mMap, "portal_1",
                                math::Point2(target->position.x, target->position.y - kTeleportUnitPortalRise), 1);
  }
  if (kind == kHolding) {
    target->speedReduction = unitEntrySpeed(mMap, *target);
  } else if (kind == kTeleportDue) {
    teleport(*target);
    kind = kDone;
    elapsed = 0.0f;
    duration = kTeleportDoneSeconds;
  }
}

void HoldAndTeleport::teleport(RuvUnit& unit) {
  const math::Point2 oldPosition = unit.position;
  unit.routeIndex = 0;
  unit.progress = 0.0f;
  k2::SoundTags::Instance()->Play(u"teleportEnemy");
  if (mTower) {
    mTower->state = RuvTower::kIdle;
    mTower->target = nullptr;
    mTower->clearTarget();
  }
  const RuvGraph graph(mMap.mPoints, mMap.mLinks);
  if (!unit.route.empty()) {
    if (const RuvPoint* first = graph.findPoint(unit.route.front())) unit.spawnPoint = first;
  }
  startMapEffect(mMap, "blow_bub", oldPosition, 2);
  stopMapEffect(unitPortal);
  const RuvProto* tier = unit.proto();
  if (!tier || !tier->ice) unit.state = RuvUnit::kWalking;
}
