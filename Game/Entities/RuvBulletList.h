#pragma once
// The bullets in flight.
#include <memory>
#include <vector>

class RuvUnit;

struct RuvBullet {
  RuvUnit* target = nullptr;   // not owned; null once the unit is gone
  std::vector<RuvUnit*> hits;  // units hit so far, not owned
};

class RuvBulletList {
 public:
  virtual ~RuvBulletList() = default;
  // Game seconds.
  virtual void update(float dt) { (void)dt; }
  // The unit leaves the map: no bullet targets it or keeps it among its hits.
  void forgetUnit(const RuvUnit* unit);

  std::vector<std::unique_ptr<RuvBullet>> bullets;
};
