#pragma once
// One shot of a tower: it flies straight at the point where its target stood, homes in on the
// target, or (the flame) rises and is lobbed; on impact it hurts one unit or every unit around.
#include <memory>
#include <vector>

#include "Core/Math/Point.h"

namespace render {
class ParticleEmitter;
}

class RuvAnimation;
class RuvMap;
class RuvProto;
class RuvTower;
class RuvUnit;

class RuvBullet {
 public:
  static constexpr float kLandingDistance = 10.0f;
  static constexpr int kFlameAmmo = 2003;
  enum FlamePhase { kRising = 0, kLobbed = 1, kLanded = 4 };

  // Starts at the tower (its muzzle for a rotating tier) toward the target's position. Both may be
  // null (spells): such a bullet has no tier.
  RuvBullet(RuvMap& map, RuvTower* tower, RuvUnit* target);
  virtual ~RuvBullet();
  RuvBullet(const RuvBullet&) = delete;
  RuvBullet& operator=(const RuvBullet&) = delete;

  // Game seconds: flight and impact; the alive flag clears when the bullet is done.
  virtual void update(float dt);
  // The ammunition's hit sound and "onHit" effect at the point.
  void playHitEffect(const math::Point2& point);
  // The library ammunition of the tier's "ammoid"; null without.
  const RuvProto* ammo() const;

  int phase = kRising;
  math::Point2 curveStart;
  math::Point2 curveControl;
  math::Point2 curveEnd;
  float flightTimer = 0.0f;
  const RuvProto* tier = nullptr;  // the tower's tier when it fired (a library record)
  math::Point2 targetPoint;
  std::unique_ptr<RuvAnimation> flame;
  std::unique_ptr<render::ParticleEmitter> trail;
  int alive = 1;
  RuvTower* tower = nullptr;   // the bullets of a sold tower are deleted with it
  RuvUnit* target = nullptr;   // null once the unit left the game
  float animationTime = 0.0f;
  float heading = 0.0f;
  std::vector<RuvUnit*> hits;  // used by spells; not owned
  math::Point2 direction;      // a unit vector; 0 when the start is the target point
  math::Point2 position;
  math::Point2 start;
  float speed = 0.0f;

  RuvMap& getMap() const { return mMap; }

 protected:
  RuvMap& mMap;

 private:
  // False while the flame is rising or lobbed (nothing else happens then).
  bool updateFlame(float dt);
  void updateHoming(float dt);
  void updateStraight(float dt);
  void land();
  void blast();
  void follow(const math::Point2& step);
};

// Degrees of the heading rule for a step: q(atan2(dx, dy) x 180 / pi - 90), q(a) = a - 90 when
// a >= 90, else a + 270.
float bulletHeading(float dx, float dy);
