#pragma once
// The radial menu of a build spot or a tower: it opens and closes in 0.2 s of real time.

class RuvRadialMenu {
 public:
  static constexpr float kTransitionSeconds = 0.2f;
  enum Phase { kOpening = 0, kOpen = 2, kClosing = 3 };

  virtual ~RuvRadialMenu() = default;
  // Real seconds: opening ends in the open phase; closing ends with active cleared.
  void update(float dt);

  int phase = kOpening;
  float timer = 0.0f;
  int active = 1;
};
