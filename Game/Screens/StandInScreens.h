#pragma once
// TEMPORARY stand-in for the tutorial, with only what the battle map and the dialogs call.
// The real classes replace this file.
#include <string>

#include "Core/Base/Singletone.h"
#include "Game/Screens/HUDWindow.h"

// The tutorial: the stand-in ignores every call.
class RuvTutorial : public base::Singletone<RuvTutorial> {
 public:
  void update(float dt) { (void)dt; }
  void suspend() {}
  void hide() {}
  void reloadProgress() {}
  void onEvent(const std::u16string& name) { (void)name; }
  void disable() {}

  unsigned char mShown = 0;      // a step is on screen and the skip button reacts
  unsigned char mSkipAsked = 0;  // the skip question is open
};
