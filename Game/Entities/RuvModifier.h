#pragma once
// Anything in a battle that lasts, repeats or works on an area. A holder deletes it once inactive.

class RuvUnit;

class RuvModifier {
 public:
  virtual ~RuvModifier() = default;
  // Once per frame by its holder; target is the unit holding it, or null for the map's modifiers.
  virtual void update(RuvUnit* target, float dt) {
    (void)target;
    (void)dt;
  }

  int active = 1;
};
