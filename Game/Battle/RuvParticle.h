#pragma once
// Looping emitters drawn with one transform (particles and beams of the battle map).
#include <string>
#include <vector>

#include "Core/Math/Point.h"
#include "Core/Math/Transform2D.h"
#include "Game/Art/RuvTracked.h"

namespace render {
class Graphics;
class ParticleEmitter;
}  // namespace render

class RuvUnit;

class RuvParticle : public RuvTracked {
 public:
  // One playing, looping emitter of the effect; none for an empty name or an unknown effect.
  explicit RuvParticle(const std::string& effectName);
  // Deletes every emitter.
  virtual ~RuvParticle();
  RuvParticle(const RuvParticle&) = delete;
  RuvParticle& operator=(const RuvParticle&) = delete;

  // Every emitter through the transform.
  virtual void draw(render::Graphics& graphics);
  // Game seconds: every emitter advances.
  virtual void update(float dt);
  // The unit leaves the map; nothing here holds units.
  virtual void forgetUnit(const RuvUnit* unit) { (void)unit; }

  std::vector<render::ParticleEmitter*> emitters;  // owned
  math::Transform2D transform;
};

// A beam from a tower's muzzle to a moving unit: a chain of emitters one step apart, growing to
// its full length in 0.1 s, following the unit and losing one emitter per update as it shortens.
class RuvBeamParticle : public RuvParticle {
 public:
  static constexpr float kStep = 30.0f;

  RuvBeamParticle(float fromX, float fromY, RuvUnit* target, const std::string& effectName);

  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  // The target is gone: the beam keeps pointing at its last position.
  void forgetUnit(const RuvUnit* unit) override;
  // Where emitter i is drawn: grow x its distance (i x step; the last one length - step) along
  // the beam's direction from the muzzle.
  math::Point2 emitterPosition(size_t i) const;

  std::string effect;
  float step = kStep;
  float grow = 0.0f;
  float fromX;
  float fromY;
  RuvUnit* target;  // not owned; null once the unit left the map

 private:
  math::Point2 targetPosition() const;
  // Rotated toward the target, as the emitters' chain runs.
  void aim();
  render::ParticleEmitter* makeEmitter() const;

  math::Point2 mLastTarget;
};
