#pragma once
// The bullets in flight (spells fly in the same list).
#include <memory>
#include <vector>

#include "Game/Entities/RuvBullet.h"

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
  // The tower is sold: its bullets go, and every modifier of every live unit hears of it.
  void removeTowerBullets(RuvTower* tower);

  std::vector<std::unique_ptr<RuvBullet>> bullets;
};
