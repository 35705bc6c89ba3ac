#include "Game/Battle/RuvParticle.h"

#include <cmath>

#include "Core/Math/Random.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/RuvGeometry.h"
#include "Game/Battle/RuvUnit.h"

namespace {

// A beam emitter's start is spread over this many seconds so the chain does not pulse in step.
constexpr float kBeamPhaseSpread = 3.5f;

unsigned particleEmitterCount(float length, float step) { return unsigned(std::ceil(length / step)); }

}  // namespace

RuvParticle::RuvParticle(const std::string& effectName) {
  if (effectName.empty()) return;
  render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(effectName);
  if (!emitter) return;
  emitter->SetLoopMode(1);
  emitter->SetState(render::ParticleEmitter::kPlaying);
  emitters.push_back(emitter);
}

RuvParticle::~RuvParticle() {
  for (render::ParticleEmitter* emitter : emitters) delete emitter;
}

void RuvParticle::draw(render::Graphics& graphics) {
  for (render::ParticleEmitter* emitter : emitters) graphics.DrawParticles(emitter).Transform(transform);
}

void RuvParticle::update(float dt) {
  for (render::ParticleEmitter* emitter : emitters) emitter->Update(double(dt));
}

RuvBeamParticle::RuvBeamParticle(float muzzleX, float muzzleY, RuvUnit* unit, const std::string& effectName)
    : RuvParticle(std::string()), effect(effectName), fromX(muzzleX), fromY(muzzleY), target(unit) {
  mLastTarget = target ? target->position : math::Point2(fromX, fromY);
  aim();
  const math::Point2 to = targetPosition();
  const unsigned count = particleEmitterCount(std::hypot(to.x - fromX, to.y - fromY), step);
  for (unsigned i = 0; i < count; ++i) {
    render::ParticleEmitter* emitter = makeEmitter();
    if (!emitter) continue;
    emitter->Update(0.0);
    emitter->Update(double(math::Random() * kBeamPhaseSpread));
    emitters.push_back(emitter);
  }
}

render::ParticleEmitter* RuvBeamParticle::makeEmitter() const {
  render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(effect);
  if (!emitter) return nullptr;
  emitter->SetLoopMode(1);
  emitter->SetState(render::ParticleEmitter::kPlaying);
  return emitter;
}

math::Point2 RuvBeamParticle::targetPosition() const { return target ? target->position : mLastTarget; }

void RuvBeamParticle::aim() {
  const math::Point2 to = targetPosition();
  transform.RotateDegrees(normalizeAngle(std::atan2(to.x - fromX, to.y - fromY) * 180.0f / 3.1415927f + 90.0f));
}

void RuvBeamParticle::forgetUnit(const RuvUnit* unit) {
  if (unit != target) return;
  mLastTarget = target->position;
  target = nullptr;
}

void RuvBeamParticle::update(float dt) {
  grow = std::fmin(grow + dt * 10.0f, 1.0f);
  transform.Reset();
  const math::Point2 to = targetPosition();
  const unsigned count = particleEmitterCount(std::hypot(to.x - fromX, to.y - fromY), step);
  if (count < emitters.size()) {
    render::ParticleEmitter* last = emitters.back();
    last->SetState(render::ParticleEmitter::kInterrupted);
    delete last;
    emitters.pop_back();
  }
  while (count > emitters.size()) {
    render::ParticleEmitter* emitter = makeEmitter();
    if (!emitter) break;
    emitters.push_back(emitter);
  }
  aim();
  for (render::ParticleEmitter* emitter : emitters) emitter->Update(double(dt));
}

math::Point2 RuvBeamParticle::emitterPosition(size_t i) const {
  const math::Point2 to = targetPosition();
  const float length = std::hypot(to.x - fromX, to.y - fromY);
  const float theta = transform.GetRotation();
  const float r = i + 1 == emitters.size() ? length - step : step * float(i);
  return math::Point2(fromX + grow * std::sin(theta) * r, fromY + grow * std::cos(theta) * r);
}

void RuvBeamParticle::draw(render::Graphics& graphics) {
  for (size_t i = 0; i < emitters.size(); ++i) {
    math::Transform2D at;
    const math::Point2 p = emitterPosition(i);
    at.Translate(p.x, p.y);
    graphics.DrawParticles(emitters[i]).Transform(at);
  }
}
