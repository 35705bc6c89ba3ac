#pragma once
#include <map>
#include <string>

namespace tinyxml2 {
class XMLElement;
}

class RuvProtoLibrary;

// One row of the setup sheet: what an episode holds and what opens it.
struct RuvEpisodeSetup {
  int levels = 0;
  int hardcoreLevels = 0;
  int starsNeeded = 0;
};

// Episode index -> its row; rows replace earlier rows of the same index and are never dropped.
using RuvEpisodeTable = std::map<int, RuvEpisodeSetup>;

// What a full read of the game's sheets sets besides the prototypes and the episodes.
struct RuvSheetDefaults {
  static constexpr float kSellRatio = 0.5f;
  static constexpr int kDefaultGems = 0;
};

// The game's semicolon-separated balance sheets.
namespace RuvDataSheet {

constexpr char16_t kTowersSheet[] = u"ruv/towers_sheet.csv";
constexpr char16_t kUnitsSheet[] = u"ruv/units_sheet.csv";
constexpr char16_t kAmmoSheet[] = u"ruv/ammo_sheet.csv";
constexpr char16_t kSetupSheet[] = u"ruv/setup_sheet.csv";

// Appends one element "unit" per row of a sheet's text to target (or under the earlier row its
// "parent" names). The text has no byte-order mark; an empty text adds nothing. Returns the rows.
std::size_t convert(const std::string& text, tinyxml2::XMLElement* target);
// The same for a sheet read through the file manager; an unreadable file adds nothing (logged).
void convertFile(const std::u16string& path, tinyxml2::XMLElement* target);

// Reads the setup sheet's lines into episodes; lines without exactly five fields or with a negative
// value are ignored and counted (blank lines are not). Returns that count.
int readSetup(const std::string& text, RuvEpisodeTable& episodes);

// Row lookups: -1 when the episode has no row.
int levelCount(const RuvEpisodeTable& episodes, int episode);
int hardcoreLevelCount(const RuvEpisodeTable& episodes, int episode);
int starsNeeded(const RuvEpisodeTable& episodes, int episode);
// Normal plus hardcore levels of the episodes 0, 1, ... up to the first missing index; an episode
// without normal levels adds nothing.
int totalLevelCount(const RuvEpisodeTable& episodes);

// Everything the map's sheet read does: the three prototype sheets become one "data" tree that
// protos loads again (its old prototypes are deleted), the setup sheet updates episodes (a missing
// sheet leaves it as it is; what is skipped is logged with the sheet's path), and sellRatio and defaultGems get their fixed values.
void loadSheets(RuvProtoLibrary& protos, RuvEpisodeTable& episodes, float& sellRatio, int& defaultGems);

}  // namespace RuvDataSheet
