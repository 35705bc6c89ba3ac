#pragma once
// The scenery's ambient effect points, each starting its effect now and then.
#include <memory>
#include <string>
#include <vector>

class RuvEffect;

// One point: its effect starts first after 3 to 8 s; a looping one (period 0) is started once, any
// other again on the next update and then after a random 20 s to its period each time.
struct RuvAmbientSpot {
  // The first delay is drawn now: 3 + 5 x a random number.
  RuvAmbientSpot(std::u16string effect, float atX, float atY, float repeatPeriod);

  // Starts the effect at the point, looping when the point loops, onto effects (which owns it).
  void fire(std::vector<std::unique_ptr<RuvEffect>>& effects);

  std::u16string effectName;  // empty: the point never shows anything
  float x;
  float y;
  unsigned char loop;
  float firstDelay;
  float period;
  float nextDelay = 0.0f;
  float elapsed = 0.0f;  // seconds since the last start
  unsigned char started = 0;
  RuvEffect* current = nullptr;  // not owned
};

class RuvFxTriggers {
 public:
  // Fired effects go onto overlayEffects (the map's list); without one nothing can be fired.
  explicit RuvFxTriggers(std::vector<std::unique_ptr<RuvEffect>>* overlayEffects = nullptr)
      : mOverlayEffects(overlayEffects) {}
  virtual ~RuvFxTriggers();
  RuvFxTriggers(const RuvFxTriggers&) = delete;
  RuvFxTriggers& operator=(const RuvFxTriggers&) = delete;

  // Game seconds: each point waits, fires and waits again.
  virtual void update(float dt);
  // A point of the scenery at x, y for a level of that episode (index from 0): the first episode
  // shows "tr1", the second "bird", both every 30 s; any other episode shows nothing there.
  void addPoint(int episode, float x, float y);

  std::vector<std::unique_ptr<RuvAmbientSpot>> spots;

 private:
  std::vector<std::unique_ptr<RuvEffect>>* mOverlayEffects;
};
