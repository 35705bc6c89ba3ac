#pragma once
// A build spot definition of the level (its name, place and prices come with the level file).

class RuvSpot {
 public:
  virtual ~RuvSpot() = default;

  float x = 0.0f;  // centre, map pixels
  float y = 0.0f;
  unsigned char isFree = 0;  // no price left to pay
};
