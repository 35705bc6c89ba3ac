#pragma once
// The bullets in flight.
#include <memory>
#include <vector>

#include "Core/Math/Point.h"

namespace render {
class Graphics;
}

class RuvUnit;

struct RuvBullet {
  virtual ~RuvBullet() = default;
  // Game seconds: the flight; a bullet that is done clears alive and is reaped by the list.
  virtual void update(float dt) { (void)dt; }

  RuvUnit* target = nullptr;   // not owned; null once the unit is gone
  std::vector<RuvUnit*> hits;  // units hit so far, not owned
  math::Point2 position;
  float animationTime = 0.0f;
  unsigned char alive = 1;
};

class RuvBulletList {
 public:
  virtual ~RuvBulletList() = default;
  // Game seconds.
  virtual void update(float dt) { (void)dt; }
  // Every bullet, with the map's view installed.
  virtual void draw(render::Graphics& graphics) { (void)graphics; }
  // The unit leaves the map: no bullet targets it or keeps it among its hits.
  void forgetUnit(const RuvUnit* unit);
  // Takes the bullet; a bullet of a tower also starts the tower's muzzle effects.
  void add(std::unique_ptr<RuvBullet> bullet) { bullets.push_back(std::move(bullet)); }

  std::vector<std::unique_ptr<RuvBullet>> bullets;
};
