#include "Game/Entities/RuvDataSheet.h"

#include "Game/Entities/RuvProtos.h"

namespace RuvDataSheet {

void convert(const std::string&, tinyxml2::XMLElement*) {}
void convertFile(const std::u16string&, tinyxml2::XMLElement*) {}
void readSetup(const std::string&, RuvEpisodeTable&) {}
int levelCount(const RuvEpisodeTable&, int) { return -1; }
int hardcoreLevelCount(const RuvEpisodeTable&, int) { return -1; }
int starsNeeded(const RuvEpisodeTable&, int) { return -1; }
int totalLevelCount(const RuvEpisodeTable&) { return 0; }
void loadSheets(RuvProtoLibrary&, RuvEpisodeTable&, float& sellRatio, int& defaultGems) {
  sellRatio = RuvSheetDefaults::kSellRatio;
  defaultGems = RuvSheetDefaults::kDefaultGems;
}

}  // namespace RuvDataSheet
