#pragma once
// TEMPORARY stand-ins for the screens, the HUD and the tutorial, with only what the battle map and
// the logo screens call: a screen stack, buttons shown or hidden by name, the HUD's counter texts
// and a tutorial that ignores everything. The real classes replace this file.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Game/Art/RuvFrameEntry.h"

namespace render {
class Graphics;
}

class RuvMap;

// Base of every screen. open 0 asks the HUD to close and delete the screen.
class HUDWindow {
 public:
  virtual ~HUDWindow() = default;

  virtual void draw(render::Graphics& graphics) { (void)graphics; }
  // Real seconds.
  virtual void update(float dt) { time += dt; }
  // Called by the HUD just before it deletes a closed screen.
  virtual void onClose() {}
  // Name of the button under the point, empty when none.
  virtual std::u16string buttonNameAt(int x, int y) {
    (void)x;
    (void)y;
    return std::u16string();
  }

  // Replaces the text of that name, or appends it.
  void setText(const std::u16string& name, const std::u16string& text);
  // The text of that name; empty when it was never set.
  std::u16string getText(const std::u16string& name) const;

  int layer = 0;  // 0 below the radial menu, 1 above it
  std::vector<std::pair<std::u16string, std::u16string>> texts;
  float time = 0.0f;
  unsigned char open = 1;
  int phase = 0;
};

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
  // Null for a name never set.
  RuvButtonFrame* findButton(const std::u16string& name);

  // "text/coins": the wallet's shown money; "text/crystals": its gems; "text/mana": lives/max.
  void updateCoinsText();
  void updateCrystalsText();
  void updateLivesText();

  std::vector<std::unique_ptr<HUDWindow>> stack;  // bottom first
  std::vector<std::unique_ptr<HUDWindow>> pending;
  std::vector<std::unique_ptr<RuvButtonFrame>> buttons;

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
