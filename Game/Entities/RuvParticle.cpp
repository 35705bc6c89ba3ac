#include "Game/Entities/RuvParticle.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"

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

void RuvParticle::update(float dt) {
  for (render::ParticleEmitter* emitter : emitters) emitter->Update(double(dt));
}
