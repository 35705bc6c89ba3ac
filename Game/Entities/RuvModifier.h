#pragma once
// Anything in a battle that lasts, repeats or works on an area. A holder deletes it once inactive.
#include <string>

class RuvUnit;

class RuvModifier {
 public:
  RuvModifier() = default;
  RuvModifier(std::string modifierName, float modifierValue, float modifierDuration, const void* modifierSource)
      : name(std::move(modifierName)), value(modifierValue), duration(modifierDuration), source(modifierSource) {}
  virtual ~RuvModifier() = default;
  // Once per frame by its holder; target is the unit holding it, or null for the map's modifiers.
  virtual void update(RuvUnit* target, float dt) {
    (void)target;
    (void)dt;
  }

  int active = 1;
  int kind = 0;
  float elapsed = 0.0f;  // seconds since creation
  std::string name;
  float value = 0.0f;
  float duration = -1.0f;  // seconds; -1 forever
  float period = -1.0f;    // seconds between ticks; -1 every update
  float x = 0.0f;          // centre of an area, map pixels
  float y = 0.0f;
  float radius = 0.0f;  // a diameter
  const void* source = nullptr;  // not owned
};

// The kinds the spells lay down. Their ticks come with the modifiers; here only their records.
class FireSplashModifier : public RuvModifier {
 public:
  FireSplashModifier(std::string modifierName, float modifierValue, float modifierDuration, const void* modifierSource,
                     float areaX, float areaY, float areaRadius)
      : RuvModifier(std::move(modifierName), modifierValue, modifierDuration, modifierSource) {
    x = areaX;
    y = areaY;
    radius = areaRadius;
  }
};

class MapImpassableArea : public RuvModifier {
 public:
  MapImpassableArea(float modifierDuration, float areaX, float areaY, float areaRadius)
      : RuvModifier(std::string(), 0.0f, modifierDuration, nullptr) {
    x = areaX;
    y = areaY;
    radius = areaRadius;
  }
};

class DotModifierArea : public RuvModifier {
 public:
  DotModifierArea(float areaX, float areaY, float areaRadius, float modifierValue, float modifierDuration)
      : RuvModifier(std::string(), modifierValue, modifierDuration, nullptr) {
    x = areaX;
    y = areaY;
    radius = areaRadius;
  }
};

class TowersBoost : public RuvModifier {
 public:
  TowersBoost(float modifierDuration, float modifierValue)
      : RuvModifier(std::string(), modifierValue, modifierDuration, nullptr) {}
};

class StunModifier : public RuvModifier {
 public:
  using RuvModifier::RuvModifier;
};
