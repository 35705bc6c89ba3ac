#pragma once
// A recording battle map for the game's tables, recording screens for the battle's notices, and a
// temporary data root with a user-data folder.
#include <map>
#include <string>
#include <vector>

#include "tests/fakes/FileTestSupport.h"
#include "Game/Battle/RuvScreenNotices.h"
#include "Game/Tables/RuvMapState.h"

namespace gametest {

class FakeMapState : public RuvMapState {
 public:
  int getMode() const override { return mode; }
  void setMode(int value) override { mode = value; }
  int getEpisode() const override { return episode; }
  int getLevel() const override { return level; }
  int episodeCount() const override { return static_cast<int>(normalLevels.size()); }
  int levelCount(int index, bool hardcore) const override;
  int starsNeeded(int index) const override;
  int getDefaultGems() const override { return defaultGems; }
  float getLives() const override { return lives; }
  RuvProgress* getProgress() override { return progress; }
  RuvUnlocks* getUnlocks() override { return unlocks; }
  RuvUpgrades* getUpgrades() override { return upgrades; }
  RuvWallet* getWallet() override { return wallet; }
  void setMaxLivesBonus(int value) override { maxLivesBonus = value; }
  void setEnemyCostBonus(float value) override { enemyCostBonus = value; }
  void setStartBudgetBonus(float value) override { startBudgetBonus = value; }
  void updateCoinsText() override { ++coinsRefreshes; }
  void updateCrystalsText() override { ++crystalsRefreshes; }
  void reloadTutorialProgress() override { ++tutorialReloads; }
  bool isAppFullscreen() override { return fullscreen; }
  void switchScreenMode() override;
  bool isWorkAreaTooSmall() override { return workAreaTooSmall; }
  void enableCheats() override { cheatsEnabled = true; }
  void runConfirmedCommand(const std::u16string& command) override { confirmedCommands.push_back(command); }

  int mode = 0;
  int episode = 0;
  int level = 0;
  std::vector<int> normalLevels{3, 2};
  std::vector<int> hardcoreLevels{2, 1};
  std::vector<int> stars{0, 5};
  int defaultGems = 0;
  float lives = 0.0f;
  RuvProgress* progress = nullptr;
  RuvUnlocks* unlocks = nullptr;
  RuvUpgrades* upgrades = nullptr;
  RuvWallet* wallet = nullptr;
  int maxLivesBonus = 0;
  float enemyCostBonus = 0.0f;
  float startBudgetBonus = 0.0f;
  int coinsRefreshes = 0;
  int crystalsRefreshes = 0;
  int tutorialReloads = 0;
  int screenSwitches = 0;
  bool fullscreen = false;
  bool workAreaTooSmall = false;
  bool cheatsEnabled = false;
  std::vector<std::u16string> confirmedCommands;
};

// The screens as the battle tells them: every tutorial event in order, the wave-counter refreshes
// and the captions of the message boxes pushed.
class RecordingScreenNotices : public RuvScreenNotices {
 public:
  void tutorialEvent(const std::u16string& name) override { events.push_back(name); }
  void updateWaveText() override { ++waveTextRefreshes; }
  void pushModalDialog(const std::u16string& caption, const std::u16string&, int) override {
    dialogCaptions.push_back(caption);
  }

  std::vector<std::u16string> events;
  int waveTextRefreshes = 0;
  std::vector<std::u16string> dialogCaptions;
};

// A fresh current folder (the data root) with a user-data folder "user/" inside; the profiles are
// loaded from ProfilesText() when a test writes one. Singletons the game tables create are deleted.
class GameFolderTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string ProfilesPath() const { return mUser + "profiles.xml"; }
  void LoadProfiles(const std::string& text);
  std::string SavedProfiles() const { return ReadTestFile(ProfilesPath()); }
  // A file of the repository's sample data, copied to the same path under the data root.
  static void CopySampleData(const std::string& path);
  public:
  static std::string SampleDataText(const std::string& path);

 protected:

  std::string mUser;
};

}  // namespace gametest
