#pragma once
// TEMPORARY stand-ins for the HUD and the tutorial, with only what the battle map and
// the logo screens call: a screen stack, buttons shown or hidden by name, the HUD's counter texts
// and a tutorial that ignores everything. The real classes replace this file.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Game/Screens/HUDWindow.h"

namespace render {
class Graphics;
}

class RuvMap;

// The in-game HUD and the screen stack. The stand-in has no layout: a button exists once its
// visibility is set by name.
class HUD : public HUDWindow {
 public:
  explicit HUD(RuvMap& map) : mMap(map) {}
  ~HUD() override;

  // Real seconds: the stacked screens, then the closed ones get onClose and go, then the pushed ones
  // join the top in push order.
  void update(float dt) override;
  // The HUD owns the screen; it joins the stack at the end of the next update.
  void pushWindow(HUDWindow* screen);
  // Deletes the top screen at once, without onClose.
  void popWindow();
  // The stacked screens of that draw layer, bottom first.
  void drawWindows(render::Graphics& graphics, int drawLayer);
  // The logo screens (state 12, set after the push).
  void pushSplashScreens();
  // State 7. The main menu itself comes with the screens.
  void pushMainMenu();

  void setButtonVisible(const std::u16string& name, bool visible);

  // "text/coins": the wallet's shown money; "text/crystals": its gems; "text/mana": lives/max.
  void updateCoinsText();
  void updateCrystalsText();
  void updateLivesText();

  std::vector<std::unique_ptr<HUDWindow>> stack;  // bottom first
  std::vector<std::unique_ptr<HUDWindow>> pending;

 private:
  RuvMap& mMap;
};

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
