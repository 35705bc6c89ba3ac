#pragma once
// TEMPORARY stand-in for the tutorial, with only what the battle map, the HUD and the dialogs
// call. The real class replaces this file.
#include <string>

#include "Core/Base/Singletone.h"

// The tutorial: the stand-in ignores every call.
class RuvTutorial : public base::Singletone<RuvTutorial> {
 public:
  void update(float dt) { (void)dt; }
  void suspend() {}
  void hide() {}
  void reloadProgress() {}
  void onEvent(const std::u16string& name) { (void)name; }
  void disable() {}
  void resume() {}
  void onClick(int x, int y) { (void)x, (void)y; }
  void onMouseMove(int x, int y) { (void)x, (void)y; }

  unsigned char mShown = 0;      // a step is on screen and the skip button reacts
  unsigned char mSkipAsked = 0;  // the skip question is open
};
