// Every path that the code or the data names exists under data/ with its exact case (the game runs
// on case-sensitive file systems), and the art that the sheets name loads.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvLevelPaths.h"
#include "Game/Tables/RuvDataSheet.h"
#include "tests/Data/DataArtScene.h"
#include "tests/Data/DataSources.h"

namespace datatest {
namespace {

// The extensions a path without one is looked up with: layouts, images, fonts, sounds, effects.
const char* const kImplicitExtensions[] = {"", ".png", ".psd", ".fnt", ".xml", ".ogg", ".wav", ".ptc", ".csv"};

bool ExistsWithSomeExtension(const std::string& path) {
  for (const char* extension : kImplicitExtensions) {
    if (ExistsWithExactCase(DataRoot(), path + extension)) return true;
  }
  return false;
}

using DataPathsTest = DataArtScene;

// A literal that the code extends ("..." + number, or a format) names a prefix of some entry; any
// other literal is a file or folder, or else the key of an art set that an art folder holds.
TEST_F(DataPathsTest, EveryPathTheCodeNamesExistsWithItsCase) {
  LoadCodeArtFolders();
  std::map<std::string, std::string> checked;  // literal -> first file naming it
  for (const CodeFile& file : GameCode()) {
    for (const Literal& literal : Literals(file.text)) {
      const std::string& path = literal.value;
      if (path.rfind("ruv/", 0) != 0 && path.rfind("logo/", 0) != 0) continue;
      const bool extended = NextNonBlank(file.text, literal.end) == '+' || path.find('%') != std::string::npos;
      if (!checked.emplace(path + (extended ? "+" : ""), file.path).second) continue;
      SCOPED_TRACE(path + " in " + file.path);
      if (extended) {
        EXPECT_TRUE(DataEntryBeginsWith(path.substr(0, path.find('%'))));
      } else if (!ExistsWithSomeExtension(path)) {
        EXPECT_NE(FindArt(path), nullptr) << "neither a file, a folder nor an art set";
      }
    }
  }
  EXPECT_GT(checked.size(), 40u);
}

// The spells sheet's icons and the sound sheet's files (looked up in the sound folder as named,
// then with ".ogg", then ".wav").
TEST_F(DataPathsTest, EveryPathTheSheetsNameExistsWithItsCase) {
  int icons = 0;
  for (const auto& fields : SplitLines(ReadDataFile("ruv/spells_sheet.csv"), ';')) {
    ASSERT_GE(fields.size(), 4u);
    for (std::size_t k : {2u, 3u}) {
      EXPECT_TRUE(ExistsWithExactCase(DataRoot(), fields[k])) << fields[k];
      ++icons;
    }
  }
  EXPECT_GT(icons, 0);
  int sounds = 0;
  for (const auto& fields : SplitLines(ReadDataFile("ruv/sounds_sheet.csv"), ';')) {
    ASSERT_GE(fields.size(), 2u);
    const std::string file = "ruv/data/sound/" + fields[1];
    EXPECT_TRUE(ExistsWithExactCase(DataRoot(), file) || ExistsWithExactCase(DataRoot(), file + ".ogg") ||
                ExistsWithExactCase(DataRoot(), file + ".wav"))
        << fields[0] << " -> " << file;
    ++sounds;
  }
  EXPECT_GT(sounds, 10);
}

// Every level that the episode select can open: the normal and hardcore levels of each episode up
// to the first gap in the setup sheet (the plates end there).
TEST_F(DataPathsTest, EveryReachableLevelOfTheSetupSheetHasItsFile) {
  RuvEpisodeTable episodes;
  RuvDataSheet::readSetup(ReadDataFile("ruv/setup_sheet.csv"), episodes);
  int levels = 0;
  for (int episode = 0; episodes.count(episode) != 0; ++episode) {
    for (int mode : {1, 3}) {
      const int count = mode == 3 ? RuvDataSheet::hardcoreLevelCount(episodes, episode)
                                  : RuvDataSheet::levelCount(episodes, episode);
      for (int level = 0; level < count; ++level) {
        const std::u16string stem = levelPathStem(mode, episode, level);
        EXPECT_TRUE(ExistsWithExactCase(DataRoot(), std::string(stem.begin(), stem.end()) + ".xml"))
            << std::string(stem.begin(), stem.end());
        ++levels;
      }
    }
  }
  EXPECT_EQ(levels, RuvDataSheet::totalLevelCount(episodes));
}

// Every row of the three prototype sheets that names art ("psd") finds its set, with an image on
// every frame.
TEST_F(DataPathsTest, EverySheetRowFindsItsArt) {
  LoadCodeArtFolders();
  int rows = 0;
  for (const char* sheet : {"ruv/units_sheet.csv", "ruv/towers_sheet.csv", "ruv/ammo_sheet.csv"}) {
    for (const auto& row : ReadSheet(sheet)) {
      const std::string psd = Column(row, "psd");
      if (psd.empty()) continue;
      SCOPED_TRACE(std::string(sheet) + " row " + Column(row, "id") + ": " + psd);
      RuvArtSet* set = FindArt("ruv/" + psd);
      ASSERT_NE(set, nullptr);
      EXPECT_FALSE(set->groups.empty());
      EXPECT_TRUE(EveryFrameHasAnImage(set));
      ++rows;
    }
  }
  EXPECT_GT(rows, 30);
}

}  // namespace
}  // namespace datatest
