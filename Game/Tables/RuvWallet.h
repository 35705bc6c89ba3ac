#pragma once

class RuvMapState;
struct RuvLevelRecord;

// The player's money and gems during a battle, the running level's score and the combo bonus for
// kills in quick succession. The map owns one for the whole run.
struct RuvWallet {
  // The map (may be null) gets the HUD refreshes, the lives, the mode and the progress store.
  explicit RuvWallet(RuvMapState* map = nullptr) : mMap(map) {}

  // Money and the level's counters to 0; gems and the combo timer stay.
  void reset();
  void addMoney(int n);
  // No check: callers test the price first.
  void spendMoney(int n);
  // Both save the gem count to the profile.
  void addGems(int n);
  // Spends only when there are enough gems; saves the count in every case.
  void spendGems(int n);
  // An enemy died: its reward, and the combo.
  void onKill(int reward, float x, float y);
  // Real seconds, once per map update: the shown money steps toward money, the combo closes.
  void update(float dt);
  // kills, combo, health bonus and mode of the running level; stars and gems 0; high untouched.
  void makeLevelRecord(RuvLevelRecord& record) const;

  int shownMoney = 0;
  int killScore = 0;
  int comboTotal = 0;
  int levelGems = 0;
  int money = 0;
  int gems = 0;
  float comboWindow = 1.0f;
  int comboCount = 0;
  float comboTimer = 0.0f;

 private:
  void closeCombo();
  void coinsChanged();
  void gemsChanged();

  RuvMapState* mMap;
};
