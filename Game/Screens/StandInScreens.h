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
  // Index of the button under the point: -1 none, -2 a hit that cannot be used.
  virtual int buttonIndexAt(int x, int y) {
    (void)x;
    (void)y;
    return -1;
  }
  virtual void onMouseDown(int x, int y) { (void)x, (void)y; }
  virtual void onMouseUp(int x, int y) { (void)x, (void)y; }
  virtual void onMouseMove(int x, int y) { (void)x, (void)y; }
  virtual void onWheel(int delta) { (void)delta; }
  virtual void refresh() {}

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

// A screen pushed by one of the HUD's typed pushes; kind names which ("episodes", "levels", "shop",
// "gem_shop", "profiles", "boost_shop", "message", "dialog", "input", "result").
class HUDStandInScreen : public HUDWindow {
 public:
  explicit HUDStandInScreen(std::u16string screenKind) : kind(std::move(screenKind)) {}
  std::u16string kind;
};

// A spell button of the battle HUD: armed by a click, recharging after a cast.
class HUDSpellButton {
 public:
  explicit HUDSpellButton(int number) : spellNumber(number) {}
  // The cast: recharging for cooldown seconds.
  void markUsed(float cooldown) {
    recharging = 1;
    remaining = cooldown;
  }
  void playReadyEffect() {}

  int spellNumber;
  int index = 0;
  unsigned char recharging = 0;
  float remaining = 0.0f;
  float centre[2] = {0.0f, 0.0f};
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
  // Typed pushes: the state is set as the real screens set it; a HUDStandInScreen of the kind joins.
  void pushEpisodeSelect();
  void pushLevelSelect();
  void pushShopWindow(int openedFromLevel);
  void pushGemShop(const std::u16string& returnName);
  void pushProfiles();
  void pushBoostShop();
  void pushModalMessage(const std::u16string& caption, const std::u16string& message, int id);
  void pushModalDialog(const std::u16string& caption, const std::u16string& message, int id);
  void pushModalInput();
  // The next level of the episode, or the episode select after the last one.
  void nextLevel();
  // The top screen's refresh; nothing with an empty stack.
  void refreshTop();
  // The engine's modal dialogs: a message box with a confirm command, the options dialog. The
  // stand-in only remembers what was shown.
  void showMessageBox(const std::u16string& command, const std::u16string& textKey);
  void showOptionsDialog();

  // The stacked screens from the top down, the first answer other than -1; -1 with an empty stack.
  int buttonIndexAt(int x, int y) override;
  // The top screen's answer; empty with an empty stack.
  std::u16string buttonNameAt(int x, int y) override;
  // Passed to the top screen; nothing with an empty stack.
  void onMouseDown(int x, int y) override;
  void onMouseUp(int x, int y) override;
  void onMouseMove(int x, int y) override;

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
  std::vector<std::unique_ptr<HUDSpellButton>> spellButtons;
  int blockUI = 0;  // set by the tutorial: 1 and 2 block parts of the input, 3 all but the early call
  std::u16string gemShopReturnScreen;
  std::u16string shopReturnScreen;      // the upgrade shop's return name
  std::vector<std::u16string> dialogs;  // commands of the message boxes shown, "options" for the dialog

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
  void resume() {}
  void onClick(int x, int y) { (void)x, (void)y; }
  void onMouseMove(int x, int y) { (void)x, (void)y; }
};
