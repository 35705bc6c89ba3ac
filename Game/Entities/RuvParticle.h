#pragma once
// Looping emitters drawn with one transform (particles and beams of the battle map).
#include <string>
#include <vector>

#include "Game/Art/RuvTracked.h"

namespace render {
class ParticleEmitter;
}

class RuvParticle : public RuvTracked {
 public:
  // One playing, looping emitter of the effect; none for an empty name or an unknown effect.
  explicit RuvParticle(const std::string& effectName);
  // Deletes every emitter.
  virtual ~RuvParticle();
  RuvParticle(const RuvParticle&) = delete;
  RuvParticle& operator=(const RuvParticle&) = delete;

  // Game seconds: every emitter advances.
  virtual void update(float dt);

  std::vector<render::ParticleEmitter*> emitters;  // owned
};
