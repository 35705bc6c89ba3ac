#include "Core/Layer/ParticlesLayer.h"

#include "Core/Layer/ContentDrawScope.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/DrawParticlesParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"

namespace layer {

ParticlesLayer::~ParticlesLayer() {
  if (mOwnsEmitter) delete mEmitter;
}

void ParticlesLayer::SetEmitter(render::ParticleEmitter* emitter, bool owns) {
  if (mOwnsEmitter && mEmitter != emitter) delete mEmitter;
  mEmitter = emitter;
  mOwnsEmitter = owns;
}

VNResultEnum ParticlesLayer::DrawContent(render::Graphics* graphics) {
  if (!mEmitter) return VN_OK;
  ContentDrawScope scope(graphics, this, false);
  graphics->DrawParticles(mEmitter);  // draws as the request goes out of scope
  return VN_OK;
}

}  // namespace layer
