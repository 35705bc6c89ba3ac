#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

class RuvMapState;

// Which tower, spell and upgrade ids are unlocked at which level, from "ruv/unlocks.csv" (lines
// "episode;level;id,id,..."; the id -1 unlocks everything). Built by the map; in hardcore mode
// everything is unlocked.
class RuvUnlocks {
 public:
  static constexpr char16_t kPath[] = u"ruv/unlocks.csv";
  // Announced at the first level of the first episode in hardcore mode.
  static constexpr int kHardcoreAnnouncements[] = {36, 37, 38};

  // Reads kPath; a missing file gives an empty table. The map must outlive the table.
  explicit RuvUnlocks(RuvMapState* map);
  // Replaces the table by one file's text.
  void load(const std::string& text);

  // Hardcore: true. Otherwise: the id (or -1) is in the cumulative list of the map's level; a level
  // without a line unlocks nothing.
  bool isUnlocked(int id);
  // The same test at the last level the profile reached, in every mode.
  bool isUnlockedAtLastLevel(int id);
  // The ids of the map's level's own line (hardcore: 36, 37, 38 appended at the very first level).
  void newlyUnlocked(std::vector<int>& out);

 private:
  using Key = std::pair<int, int>;
  bool contains(const Key& key, int id);

  RuvMapState* mMap;
  std::map<Key, std::vector<int>> mCumulative;
  std::map<Key, std::vector<int>> mPerLine;
};
