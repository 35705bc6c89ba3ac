#pragma once
// The level's waves and the live units.
#include <memory>
#include <vector>

#include "Game/Entities/RuvUnit.h"

class RuvWaveManager {
 public:
  virtual ~RuvWaveManager() = default;
  // Game seconds: starts and spawns the waves, reaps finished units.
  virtual void update(float dt) { (void)dt; }
  // Game seconds: the modifiers held by each live unit.
  virtual void updateUnitModifiers(float dt) { (void)dt; }

  std::vector<std::unique_ptr<RuvUnit>> units;  // live units, in spawn order
};
