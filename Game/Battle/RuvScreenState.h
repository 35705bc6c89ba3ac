#pragma once
// The screen state: which screen is in front and how a click is read. The map keeps it in the int
// mState (and the state a modal message restores in mStateAfterModal); the HUD's pushes set it, the
// dispatcher (RuvMap::onMouseUp) reads clicks by it. The numbers are fixed: traces and tests compare
// them. No other code is ever entered.
enum RuvScreenState : int {
  kStateNone = -1,                   // no level loaded yet; as a modal's state to restore: none
  kStatePlaying = 0,                 // the battle with no screen in front
  kStateLevelWon = 1,                // level result
  kStateLevelLost = 2,               // level result
  kStateLoading = 3,                 // while a level loads
  kStatePauseMenu = 4,               // the in-game menu
  kStateEpisodeSelect = 5,
  kStateLevelSelect = 6,
  kStateMainMenu = 7,
  kStateUpgradeShop = 8,
  kStateUnlockMessage = 11,          // what a level start unlocks, before the battle runs
  kStateSplashScreens = 12,          // the logos at start
  kStateProfileList = 13,
  kStateNewProfile = 14,             // name input for a new profile
  kStateRenameProfile = 15,          // name input renaming the current profile
  kStateModalMessage = 16,           // one- or two-button message
  kStateGemShop = 18,
  kStateBattleGemOffer = 19,         // gems short during a level: offer to open the gem shop
  kStateUpgradeShopGemOffer = 20,    // gems short in the upgrade shop: the same offer
  kStateBuyHealthOffer = 22,         // lives gone: offer to buy health
  kStateHealthPurchasePending = 23,  // waiting for the health purchase's result
  kStateBoostShop = 24,
  kStateReserved = 25,               // entered by no screen; the HUD still counts it among its menus
  kStateResetPremiumPoints = 26,     // confirmation of the upgrades' refund
};
