#pragma once
// A live enemy. The battle map reads its state, ticks it and zeroes its speed reduction every frame.

struct RuvWaveEntry;

class RuvUnit {
 public:
  enum State { kWalking = 1, kDying = 2, kSpecial = 4, kHeldByBeam = 5, kDead = 6 };

  virtual ~RuvUnit() = default;
  // Game seconds.
  virtual void update(float dt) { (void)dt; }

  int state = kWalking;
  RuvWaveEntry* entry = nullptr;  // its spawn entry, owned by the wave
  // Raised by the modifiers that slow or hold the unit; zeroed by the map at the end of each tick.
  float speedReduction = 0.0f;
};
