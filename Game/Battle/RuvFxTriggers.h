#pragma once
// The scenery's ambient effect points, each starting its effect now and then.

class RuvFxTriggers {
 public:
  virtual ~RuvFxTriggers() = default;
  // Game seconds.
  virtual void update(float dt) { (void)dt; }
};
