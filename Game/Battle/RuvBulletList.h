#pragma once
// The bullets in flight (spells fly in the same list).
#include <memory>
#include <vector>

#include "Game/Battle/RuvBullet.h"

namespace render {
class Graphics;
}

class RuvTower;
class RuvUnit;

class RuvBulletList {
 public:
  virtual ~RuvBulletList();

  // Starts the ammunition's muzzle effect and trail, then appends the bullet.
  void add(std::unique_ptr<RuvBullet> bullet);
  // Game seconds: every bullet flies, then the dead ones are removed; a flame tower waiting for its
  // shot idles again.
  virtual void update(float dt);
  // The unit leaves the map: no bullet targets it or keeps it among its hits.
  void forgetUnit(const RuvUnit* unit);
  // Every bullet's trail, then its ammunition's art: a layer folder through the flame animation at
  // the bullet's heading, an image centred on the bullet, alpha blended.
  void draw(render::Graphics& graphics);
  // The tower is sold: its bullets go, and every modifier of every live unit hears of it.
  void removeTowerBullets(RuvTower* tower);

  std::vector<std::unique_ptr<RuvBullet>> bullets;
};
