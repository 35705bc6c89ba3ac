#pragma once
// What the game's tables read and write of the battle map. The map implements it; the tables it
// owns (progress, unlocks, upgrades, wallet) get it at construction and never own it.
#include <string>

class RuvProgress;
class RuvUnlocks;
class RuvUpgrades;
struct RuvWallet;

class RuvMapState {
 public:
  virtual ~RuvMapState() = default;

  // mMode: 3 is hardcore.
  virtual int getMode() const = 0;
  virtual void setMode(int mode) = 0;
  // mEpisode, mLevel: 0-based indices of the running (or chosen) level.
  virtual int getEpisode() const = 0;
  virtual int getLevel() const = 0;
  // From the setup sheet: episodes, levels of an episode (hardcore or normal list), stars needed.
  virtual int episodeCount() const = 0;
  virtual int levelCount(int episode, bool hardcore) const = 0;
  virtual int starsNeeded(int episode) const = 0;
  // mDefaultGems: the gem balance of a fresh profile.
  virtual int getDefaultGems() const = 0;
  // mLives as a float.
  virtual float getLives() const = 0;

  // Null while the map builds them.
  virtual RuvProgress* getProgress() = 0;
  virtual RuvUnlocks* getUnlocks() = 0;
  virtual RuvUpgrades* getUpgrades() = 0;
  virtual RuvWallet* getWallet() = 0;

  // The global upgrade bonuses (mMaxLivesBonus, mEnemyCostBonus, mStartBudgetBonus).
  virtual void setMaxLivesBonus(int lives) = 0;
  virtual void setEnemyCostBonus(float factor) = 0;
  virtual void setStartBudgetBonus(float factor) = 0;

  // The HUD's money and gem texts.
  virtual void updateCoinsText() = 0;
  virtual void updateCrystalsText() = 0;
  // The tutorial reads its enabled flag and step states from the profile again.
  virtual void reloadTutorialProgress() = 0;
  // The application's window mode and its switch (which stores the new mode in the profile).
  virtual bool isAppFullscreen() = 0;
  virtual void switchScreenMode() = 0;
  // The application's test that a window of the widest design size does not fit the work area.
  virtual bool isWorkAreaTooSmall() = 0;
  // Sets mCheatsEnabled: the root board's developer keys work from then on.
  virtual void enableCheats() = 0;
  // The dispatcher's handling of a command the player confirmed in a message box.
  virtual void runConfirmedCommand(const std::u16string& command) = 0;

  // The episode select's star gate: the episode has levels and the profile's star total over all
  // episodes reaches the episode's stars needed.
  bool isEpisodeAvailable(int episode);
};
