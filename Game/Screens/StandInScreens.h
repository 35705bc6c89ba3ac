#pragma once
// TEMPORARY stand-ins for the tutorial and the shops, with only what the battle map, the HUD and
// the dialogs call. The real classes replace this file.
#include <string>
#include <utility>

#include "Core/Base/Singletone.h"
#include "Game/Screens/HUDWindow.h"

// A shop screen without layout: kind is "shop", "gem_shop" or "boost_shop".
class HUDShopStandIn : public HUDWindow {
 public:
  HUDShopStandIn(std::u16string shopKind, int fromLevel) : kind(std::move(shopKind)), openedFromLevel(fromLevel) {}

  std::u16string kind;
  int openedFromLevel;
};

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
