#include "Game/Battle/RuvModifier.h"

#include <utility>

RuvModifier::RuvModifier(std::string modifierName, float modifierValue, float modifierDuration,
                         const void* modifierSource)
    : name(std::move(modifierName)), value(modifierValue), duration(modifierDuration), source(modifierSource) {}

void RuvModifier::update(RuvUnit* target, float dt) {
  if (!active) return;
  sinceTick += dt;
  elapsed += dt;
  if (sinceTick > period) {
    // The remainder is dropped: ticks come every whole multiple of dt past the period.
    sinceTick = 0.0f;
    tick(target, dt);
  }
  if (duration != kForever && elapsed > duration) active = false;
}

void RuvModifier::tick(RuvUnit*, float) {}

void RuvModifier::onSourceRemoved(const void*) {}
