#pragma once
// A tower on a build spot. The map clears its per-frame combat state and ticks it.

#include "Core/Math/Point.h"

namespace render {
class Graphics;
}

class RuvFrameEntry;
class RuvUnit;

class RuvTower {
 public:
  virtual ~RuvTower() = default;
  // Game seconds.
  virtual void update(float dt) { (void)dt; }
  // Zeroes the bonus record the upgrades fill again every frame.
  virtual void clearCombatStats() {}
  // Hands its pictures to the map's draw layers; the overlay draws in screen space.
  virtual void draw(render::Graphics& graphics) { (void)graphics; }
  virtual void drawOverlay(render::Graphics& graphics) { (void)graphics; }

  unsigned char boosted = 0;  // set each frame by a boosting tower, cleared by the map
  RuvUnit* target = nullptr;  // the unit aimed at, not owned
  math::Point2 position;       // the spot centre
  RuvFrameEntry* spot = nullptr;  // the spot entry it stands on, not owned
};
