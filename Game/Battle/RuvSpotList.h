#pragma once
// The level's build spots and scenery frames.
#include <memory>
#include <vector>

#include "Game/Art/RuvFrameEntry.h"

class RuvSpotList {
 public:
  virtual ~RuvSpotList() = default;

  // The first visible spot entry whose rectangle centre lies within 40 map pixels of the point.
  RuvFrameEntry* findSpotAt(int x, int y) const;

  std::vector<RuvFrameEntry*> spots;  // entries named "#n", owner = their RuvSpot; also in scenery
  std::vector<std::unique_ptr<RuvFrameEntry>> scenery;
};
