#pragma once
// The level's build spots and scenery frames.

class RuvSpotList {
 public:
  virtual ~RuvSpotList() = default;
};
