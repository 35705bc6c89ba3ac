#pragma once
// A build spot definition of the level (its name, place and prices come with the level file).

class RuvSpot {
 public:
  virtual ~RuvSpot() = default;
};
