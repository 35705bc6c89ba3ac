// The whole game on a data root with one file damaged at a time: it never crashes, the log names
// the file, and the player is left with a way on (the main menu, or the level select after a level
// that could not be loaded), or the start fails so that the program can end with its message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Game/Tables/LocalStrings.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDWindow.h"
#include "tests/gameharness/GameHarness.h"

namespace {

enum class Damage { kMissing, kEmpty, kGarbage, kCutInHalf };
// Where the player ends up.
enum class Outcome { kStartFails, kMainMenu, kNoEpisodeToSelect, kLevelSelectAfterLevel1 };

struct DamageCase {
  const char* name;
  const char* file;  // under the data root
  Damage damage;
  Outcome outcome;
  const char* logged;  // the text the log must hold: the file's name as the reader gives it
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

void DamageFile(const std::filesystem::path& path, Damage damage) {
  std::string text;
  {
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (damage == Damage::kMissing) {
    std::filesystem::remove(path);
    return;
  }
  if (damage == Damage::kEmpty) text.clear();
  if (damage == Damage::kGarbage) text = "\x01\x02 not what this file holds \"<<<\xff\xfe";
  if (damage == Damage::kCutInHalf) text.resize(text.size() / 2);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(IntactDataTest, NoReaderReportsAProblem) {
  gameharness::GameHarness game;
  ASSERT_TRUE(game.skipLogos());
  const std::string log = game.logText();
  EXPECT_EQ(log.find("data file '"), std::string::npos) << log;
}

class DamagedDataTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedDataTest, NamesTheFileAndLeavesAWayOn) {
  const DamageCase& c = GetParam();
  gameharness::GameSetup setup;
  setup.prepareData = [&](const std::filesystem::path& data) { DamageFile(data / c.file, c.damage); };
  setup.startMayFail = true;
  gameharness::GameHarness game(setup);
  EXPECT_EQ(game.started(), c.outcome != Outcome::kStartFails);
  if (game.started()) {
    ASSERT_TRUE(game.skipLogos());
    EXPECT_EQ("HUDMainMenu", game.topScreen());
  }
  if (c.outcome == Outcome::kNoEpisodeToSelect) {
    ASSERT_TRUE(game.click(u"play"));
    ASSERT_EQ("HUDEpisodeSelect", game.topScreen());
    EXPECT_EQ(LocalStrings::Instance()->get(u"episodes_none"), game.hud().stack.back()->getText(u"levelName"));
    EXPECT_TRUE(game.click(u"back"));
  }
  if (c.outcome == Outcome::kLevelSelectAfterLevel1) {
    ASSERT_TRUE(game.click(u"play"));
    ASSERT_TRUE(game.tickUntil([&] { return game.findButton(u"play").has_value(); }));
    ASSERT_TRUE(game.click(u"play"));
    ASSERT_TRUE(game.clickIndex(0));
    game.passUnlockMessage();
    ASSERT_TRUE(game.tickUntil([&] { return game.topScreen() == "HUDLevelSelect"; }));
  }
  const std::string log = game.logText();
  EXPECT_NE(log.find(c.logged), std::string::npos) << "the log does not name '" << c.logged << "':\n" << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedDataTest,
    ::testing::Values(
        DamageCase{"DialogEffectMissing", "data/dialog_show.anim", Damage::kMissing, Outcome::kStartFails,
                   "dialog_show.anim"},
        DamageCase{"DialogEffectGarbage", "data/dialog_show.anim", Damage::kGarbage, Outcome::kStartFails,
                   "dialog_show.anim"},
        DamageCase{"DialogEffectsTableCut", "data/game.xml", Damage::kCutInHalf, Outcome::kMainMenu, "game.xml"},
        DamageCase{"MainMenuLayout", "ruv/main_menu/layers.xml", Damage::kGarbage, Outcome::kMainMenu,
                   "ruv/main_menu"},
        DamageCase{"StringsEmpty", "ruv/strings_en.csv", Damage::kEmpty, Outcome::kMainMenu, "strings_en.csv"},
        DamageCase{"StoreCatalogueGarbage", "ruv/inapp.xml", Damage::kGarbage, Outcome::kMainMenu, "inapp.xml"},
        DamageCase{"UpgradesCut", "ruv/upgrades.xml", Damage::kCutInHalf, Outcome::kMainMenu, "upgrades.xml"},
        DamageCase{"UnitsSheetGarbage", "ruv/units_sheet.csv", Damage::kGarbage, Outcome::kMainMenu,
                   "units_sheet.csv"},
        DamageCase{"TowersSheetEmpty", "ruv/towers_sheet.csv", Damage::kEmpty, Outcome::kMainMenu,
                   "towers_sheet.csv"},
        DamageCase{"SoundsSheetGarbage", "ruv/sounds_sheet.csv", Damage::kGarbage, Outcome::kMainMenu,
                   "sounds_sheet.csv"},
        DamageCase{"SetupSheetGarbage", "ruv/setup_sheet.csv", Damage::kGarbage, Outcome::kNoEpisodeToSelect,
                   "setup_sheet.csv"},
        DamageCase{"FontGarbage", "ruv/data/fonts/main_80.fnt", Damage::kGarbage, Outcome::kMainMenu, "main_80"},
        DamageCase{"ParticlesCut", "ruv/fx/fx2.ptc", Damage::kCutInHalf, Outcome::kMainMenu, "fx2.ptc"},
        DamageCase{"LogoListGarbage", "logo/logo.ini", Damage::kGarbage, Outcome::kMainMenu, "logo.ini"},
        DamageCase{"LogoImageGarbage", "logo/studio.png", Damage::kGarbage, Outcome::kMainMenu, "studio.png"},
        DamageCase{"LevelFileGarbage", "ruv/levels_normal/level_01_01.xml", Damage::kGarbage,
                   Outcome::kLevelSelectAfterLevel1, "level_01_01.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
