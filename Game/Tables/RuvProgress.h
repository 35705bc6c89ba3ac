#pragma once
#include <map>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

class RuvMapState;

// The result of one level.
struct RuvLevelRecord {
  int kills = 0;
  int combo = 0;
  int healthBonus = 0;
  int stars = 0;
  int gems = 0;
  int high = 0;
  int mode = 0;

  int score() const { return kills + healthBonus; }
};

// The game's typed view of the current profile element of the engine's profiles file. Every read
// goes to the XML; every setter changes it and saves the whole file at once. New child elements
// stand first in their parent (the newest first). Owned by the map, which outlives it.
class RuvProgress {
 public:
  // Binds to the current profile (the profiles must have been loaded) and lays it out.
  explicit RuvProgress(RuvMapState* map);
  ~RuvProgress();
  RuvProgress(const RuvProgress&) = delete;
  RuvProgress& operator=(const RuvProgress&) = delete;

  // Profiles.
  void ensureLayout();  // "levels", "towers", version 4; does not save
  void refreshProfileNames();
  void selectProfile(const std::u16string& name);
  void createProfile(const std::u16string& name);
  void renameProfile(const std::u16string& name);
  void deleteProfile();
  void save();
  // Every profile name but the first (the engine's default one); empty while there is one profile.
  const std::vector<std::u16string>& getOtherProfileNames() const { return mOtherProfileNames; }
  const std::u16string& getCurrentProfileName() const { return mCurrentProfileName; }

  // Levels. getLevelRecord returns a new record the caller deletes.
  RuvLevelRecord* getLevelRecord(int episode, int level, int mode);
  void saveLevelResult(int episode, int level, int mode, const RuvLevelRecord& record);
  // The first level without stars; the last index when all have some; 0 for an episode without levels.
  int nextPlayableLevel(int episode, int mode);
  bool isLevelOpen(int episode, int level, int mode);
  // Over the episode's records in every mode, or over all records for episode -1.
  int getStarCount(int episode);
  void findLastPlayedLevel(int& episode, int& level);
  int getLastEpisode();

  // Balance, mode and options.
  int getGems();
  void setGems(int n);
  void addGems(int n);
  int getMode();
  void setMode(int mode);
  float getMusicVolume();
  void setMusicVolume(float volume);
  float getSoundVolume();
  void setSoundVolume(float volume);
  bool getFullscreen();
  void setFullscreen(bool fullscreen);
  int getInt(const char* name);
  // Boosts bought for gems, kept as <boost name="..." count="N"/> children of the profile: a
  // boost's name is no valid attribute name. 0 for a boost never bought.
  int getBoostCount(const std::string& name);
  // Counts one more purchase and saves.
  void addBoostPurchase(const std::string& name);

  // Per-episode counters ("episode%d" + 'h' in mode 3, else 'n') and one-shot flags ("event%d").
  int getEpisodeVisits(int episode, int mode);
  void setEpisodeVisits(int episode, int mode, int count);
  bool getEventFlag(int n);
  void setEventFlag(int n);

  // Tutorial.
  bool isTutorialEnabled();
  void setTutorialEnabled(bool enabled);
  int getTutorialStepState(int id);
  void setTutorialStepState(int id, int state);
  int getTutorialParam(const std::u16string& name);
  void setTutorialParam(const std::u16string& name, int value);

  // Upgrades: -1 none bought (always in hardcore mode), -2 when the list has no entry for the id.
  int getUpgradeLevel(int id);
  // The level the profile keeps, in every mode: what the shop sells on and the reset refunds. The
  // battle's view stays getUpgradeLevel's.
  int getStoredUpgradeLevel(int id);
  void setUpgradeLevel(int id, int level);

  // Build spots bought in a level; hardcore purchases and the others are kept apart.
  void addOwnedSpot(const std::u16string& spotName, int episode, int level);
  bool isSpotOwned(const std::u16string& spotName, int episode, int level);

  tinyxml2::XMLElement* getProfileElement() const { return mProfile; }

 private:
  void bindCurrentProfile();
  tinyxml2::XMLElement* child(const char* name) const;
  tinyxml2::XMLElement* childOrNew(const char* name);
  tinyxml2::XMLElement* findLevel(int episode, int level, int mode);
  float volume(const char* name);
  void writeVolume(const char* name, float volume);
  tinyxml2::XMLElement* tutorialElement();
  tinyxml2::XMLElement* createUpgradeList();
  int levelCount(int episode, int mode) const;

  RuvMapState* mMap;
  tinyxml2::XMLElement* mProfile = nullptr;
  std::map<int, int> mUpgradeLevels;
  std::vector<std::u16string> mOtherProfileNames;
  std::u16string mCurrentProfileName;
};
