#pragma once
// Anything in a battle that lasts, repeats or works on an area: held by a unit (its target), by a
// tower (its abilities) or by the map (no target). The holder updates it once per frame with its
// time step and deletes it once inactive.
#include <string>

class RuvUnit;

class RuvModifier {
 public:
  static constexpr float kForever = -1.0f;
  static constexpr float kEveryUpdate = -1.0f;

  // duration in seconds, kForever for no end; source is what the modifier came from (a tower, a
  // bullet) or null; it only identifies, it is never owned.
  RuvModifier(std::string name, float value, float duration, const void* source);
  // No name, no source, forever, ticking every update.
  RuvModifier() = default;
  virtual ~RuvModifier() = default;
  RuvModifier(const RuvModifier&) = delete;
  RuvModifier& operator=(const RuvModifier&) = delete;

  // The timing rule: since-tick and elapsed grow by dt; a tick runs when since-tick passes the
  // period (kEveryUpdate: every update, also at dt 0); the modifier ends once elapsed passes the
  // duration. Nothing while inactive.
  virtual void update(RuvUnit* target, float dt);
  // The effect; target is null for the map's and the towers' modifiers.
  virtual void tick(RuvUnit* target, float dt);
  // The object (a sold tower) is going away.
  virtual void onSourceRemoved(const void* object);

  bool ability = false;  // a unit's own ability: never blocks the admission of another modifier
  int kind = 0;
  bool active = true;
  std::string name;
  float value = 0.0f;
  float duration = kForever;
  float elapsed = 0.0f;
  float sinceTick = 0.0f;
  float period = kEveryUpdate;
  float x = 0.0f;
  float y = 0.0f;
  float radius = 0.0f;  // a diameter: areas act within half of it
  const void* source = nullptr;
};
