#pragma once
// TEMPORARY stand-ins for the pause menu and the tutorial, with only what the battle map calls.
// The real classes replace this file.
#include <string>

#include "Core/Base/Singletone.h"
#include "Game/Screens/HUDWindow.h"

// The pause menu: an empty screen until the menus come.
class HUDIngameMenu : public HUDWindow {};

// The tutorial: the stand-in ignores every call.
class RuvTutorial : public base::Singletone<RuvTutorial> {
 public:
  void update(float dt) { (void)dt; }
  void suspend() {}
  void hide() {}
  void reloadProgress() {}
  void onEvent(const std::u16string& name) { (void)name; }
};
