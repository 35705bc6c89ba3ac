#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Game/Screens/HUDSpellButton.h"
#include "Game/Screens/HUDWindow.h"

class RuvAnimation;
class RuvMap;

// The battle's overlay on "ruv/ui" (counters, its own buttons, the spell buttons and the
// spell-cast animation) and the keeper of every other screen: a stack, updated and drawn every
// frame, whose top screen answers the clicks. The typed pushes set the map's screen state.
class HUD : public HUDWindow {
 public:
  explicit HUD(RuvMap& map);
  // The animation, the spell buttons and slots, the stacked and the still pending screens.
  ~HUD() override;

  // Unless a menu state hides it: the spell-cast animation while a spell is armed, the spell
  // buttons, then frames, buttons and texts. Leaves alpha blending and white set.
  void draw(render::Graphics& graphics) override;
  // Real seconds: own buttons, animation, fade, spell buttons, the stacked screens; then the
  // closed ones get onClose and go; last the pending ones join the top in push order.
  void update(float dt) override;
  // Own buttons, the top screen, then the spell buttons' hover.
  void onMouseMove(int x, int y) override;
  // The top screen only.
  void onMouseUp(int x, int y) override;
  void onMouseDown(int x, int y) override;
  // Every stacked screen, bottom first.
  void onWheel(int delta) override;
  // The stacked screens from the top down, the first answer other than -1. With an empty stack:
  // own buttons, then the first spell button that takes the click, -2 for one hit that does not.
  int buttonIndexAt(int x, int y) override;
  // The top screen's answer. With an empty stack: the first spell button that takes the click,
  // else the own buttons.
  std::u16string buttonNameAt(int x, int y) override;

  // A button on the next "spell/" slot for a known spell unlocked at this level.
  void addSpellButton(int spellNumber);
  // Every spell button ready, without the highlight.
  void resetSpellButtons();

  // The HUD owns the screen; it joins the stack at the end of the next update.
  void pushWindow(HUDWindow* screen);
  // Deletes the top screen at once, without onClose; pending screens stay.
  void popWindow();
  void refreshTop();
  // The stacked screens of that draw layer, bottom first.
  void drawWindows(render::Graphics& graphics, int drawLayer);
  void broadcastChar(int character);
  void broadcastKey(int keyCode);
  void resetFade();

  // The main menu; kStateMainMenu before the push.
  void pushMainMenu();
  // The episode select; kStateEpisodeSelect before the push.
  void pushEpisodeSelect();
  // The level select of the map's episode and mode; kStateLevelSelect before the push.
  void pushLevelSelect();
  // The profile list; kStateProfileList after the push; the map's return screen is emptied.
  void pushProfiles();
  // Two-button message over the battle: kStateModalMessage after the push, mStateAfterModal = id.
  void pushModalDialog(const std::u16string& caption, const std::u16string& message, int id);
  // One-button message: kStateModalMessage after the push, mStateAfterModal = id; the message
  // restores id when it is deleted (unless kStateNone).
  void pushModalMessage(const std::u16string& caption, const std::u16string& message, int id);
  // The profile name input; the caller sets kStateNewProfile or kStateRenameProfile first.
  void pushModalInput();
  // The logo screens; kStateSplashScreens after the push.
  void pushSplashScreens();
  // The upgrade shop (openedFromLevel 0 from a menu, 1 after a level result); kStateUpgradeShop
  // before the push.
  void pushShopWindow(int openedFromLevel);
  // The next level of the episode (hardcore levels in mode 3), or the episode select after the last.
  void nextLevel();

  // "text/crystals": the wallet's gems; "text/mana": lives/max; "text/coins": the shown money;
  // "text/waves": "game_wave" with the shown wave and the wave count.
  void updateCrystalsText();
  void updateLivesText();
  void updateCoinsText();
  void updateWaveText();

  std::vector<RuvFrameEntry*> spellSlots;  // owned, in listed order
  std::unique_ptr<RuvAnimation> spellCastAnimation;
  int blockShop = 0;  // set by the tutorial
  int blockUI = 0;    // set by the tutorial
  std::vector<std::unique_ptr<HUDWindow>> stack;  // bottom first
  std::vector<std::unique_ptr<HUDWindow>> pending;
  std::vector<std::unique_ptr<HUDSpellButton>> spellButtons;
  std::u16string shopReturnScreen;     // where the upgrade shop's back button leads
  std::u16string gemShopReturnScreen;  // where the gem shop's back button leads
  std::u16string boostShopReturnScreen;  // where the boost shop's back button leads

 private:
  // What the spell buttons answer at the point: the index of the first that takes the click, -2
  // when one is hit but does not take it, -1 when none is hit. Both click queries of one release
  // share one answer, so a recharge is bought or offered once per release.
  int spellButtonAt(int x, int y);

  RuvMap& mMap;
  struct SpellAnswer {
    bool asked = false;
    int x = 0;
    int y = 0;
    int result = -1;
  } mSpellAnswer;  // forgotten at the next press and the next update

 public:
  // The yes/no questions go into the root board's confirm slot, not onto the stack; nothing
  // happens without a root board. (Defined with the dialogs.)
  void showProfileDeletionDialog();
  void showTutorialCancelDialog();
  // The level's new unlocks; kStateUnlockMessage after the push, the battle stopped (speed 0), the
  // HUD's fade phase and time back to 0.
  void pushUnlockMessage(const std::vector<int>& unlockIds);
  // The gem shop; kStateGemShop after the push; its back button leads to returnScreen.
  void pushGemShop(const std::u16string& returnScreen);
  // The boost shop; kStateBoostShop before the push; its back button leads to returnScreen.
  void pushBoostShop(const std::u16string& returnScreen);
};
