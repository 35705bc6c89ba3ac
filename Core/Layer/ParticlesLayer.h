#pragma once
#include "Core/Layer/Layer.h"

namespace render {
class ParticleEmitter;
}

namespace layer {

// Draws one particle emitter. It has no content box, so the mouse never hits it.
class ParticlesLayer : public Layer {
 public:
  ParticlesLayer() = default;
  // Deletes the emitter when owned.
  ~ParticlesLayer() override;

  // Deletes the previous emitter when it was owned (not when it is the same emitter).
  void SetEmitter(render::ParticleEmitter* emitter, bool owns);
  render::ParticleEmitter* GetEmitter() const { return mEmitter; }
  bool OwnsEmitter() const { return mOwnsEmitter; }

  // Always in blend mode 1, whatever the additive flag says.
  VNResultEnum DrawContent(render::Graphics* graphics) override;

 private:
  render::ParticleEmitter* mEmitter = nullptr;
  bool mOwnsEmitter = false;
};

}  // namespace layer
