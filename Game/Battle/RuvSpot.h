#pragma once
// A build spot of the level: its prices, image kind, named values and centre, from the level file.
#include <vector>

#include "Game/Tables/RuvAttributes.h"

class RuvFrameEntry;
struct RuvLevelSpot;

class RuvSpot {
 public:
  // Prices and kind truncated from the named values; free when both prices are 0.
  explicit RuvSpot(const RuvLevelSpot& definition);

  int cost_gold = 0;
  int cost_real = 0;
  int kind = 0;  // the spot image: 0, 1 or 2
  RuvAttributes attributes{nullptr};
  std::vector<RuvFrameEntry*> boostIcons;  // also in the scenery, which owns them
  float x = 0.0f;
  float y = 0.0f;
  unsigned char isFree = 0;
};
