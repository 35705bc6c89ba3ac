// Two places where a player could be left without a way on, played through the whole game: a
// build spot bought short of gems offers the gem shop in a dialog whose buttons answer, and a level
// whose file cannot be read leads back to the level select.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Core/Render/Graphics.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/RuvTutorial.h"
#include "tests/fakes/MainLogRecorder.h"
#include "tests/gameharness/GameHarness.h"

namespace {

using gameharness::GameHarness;

constexpr char kWayOutFirstLevel[] = "ruv/levels_normal/level_01_01.xml";

std::string wayOutRead(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void wayOutWrite(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Occurrences of what in text.
int wayOutCount(const std::u16string& text, const std::u16string& what) {
  int count = 0;
  for (size_t at = text.find(what); at != std::u16string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

class WayOutJourneyTest : public ::testing::Test {
 protected:
  // The feature table is kept for the whole run: back to the sample configuration.
  void TearDown() override { RuvFeatures::instance().loadFromText(wayOutRead(DataFile("ruv/config.xml"))); }

  // A file of the game's copy of the sample data.
  std::filesystem::path DataFile(const char* path) const { return mGame.root() / "data" / path; }

  // From the main menu: "play", the episode's "play"; the level select of the first episode.
  void OpenLevelSelect() {
    ASSERT_TRUE(mGame.skipLogos());
    ASSERT_TRUE(mGame.click(u"play"));
    ASSERT_TRUE(mGame.tickUntil([&] { return mGame.findButton(u"play").has_value(); }));
    ASSERT_TRUE(mGame.click(u"play"));
    ASSERT_EQ("HUDLevelSelect", mGame.topScreen());
  }

  // Vertices of the indexed draws of one frame of the screen alone on the game's renderer.
  long DrawnVertices(HUDWindow& screen) {
    fakes::RecordingRender& render = mGame.render();
    render.mCalls.clear();
    EXPECT_EQ(render.BeginFrame(), VN_OK);
    {
      render::Graphics graphics(&render);
      screen.draw(graphics);
    }
    EXPECT_EQ(render.EndFrame(), VN_OK);
    EXPECT_EQ(render.Present(), VN_OK);
    EXPECT_EQ(render.PlayCommands(), VN_OK);
    long vertices = 0;
    for (const std::vector<long>& draw : render.Arguments("DrawIndexed")) vertices += draw.size() == 6 ? draw[5] : 0;
    return vertices;
  }

  // Clicks the first spot of the level and, once its ring is open, the ring's one item where the
  // ring draws it.
  void BuyFirstSpot() {
    RuvMap& map = mGame.map();
    ASSERT_TRUE(map.mSpots && !map.mSpots->spots.empty());
    const RuvFrameEntry& spot = *map.mSpots->spots.front();
    mGame.clickAt(int(frameCentreX(spot)), int(frameCentreY(spot)));
    ASSERT_TRUE(mGame.tickUntil([&] { return map.mRadialMenu && map.mRadialMenu->phase == RuvRadialMenu::kOpen; }));
    const RuvRadialMenu& menu = *map.mRadialMenu;
    ASSERT_EQ(1u, menu.items.size());
    const float a = menu.items[0]->angle * 3.14f / 180.0f;
    mGame.clickAt(int(menu.centreX + std::sin(a) * menu.radius), int(menu.centreY + std::cos(a) * menu.radius));
  }

  GameHarness mGame;
};

// With the gem shop offer switched on, a spot that costs more gems than the player has opens the
// two-button dialog of "ruv/data/mm" with its texts; "cancel" goes back to the battle, "ok" to the
// gem shop, whose back button leads into the battle again.
TEST_F(WayOutJourneyTest, SpotShortOfGemsOffersTheGemShopInADialogThatAnswers) {
  std::string config = wayOutRead(DataFile("ruv/config.xml"));
  const std::string off = R"(name="low_premium_points_dialog" is_active="0")";
  ASSERT_NE(std::string::npos, config.find(off));
  config.replace(config.find(off), off.size(), R"(name="low_premium_points_dialog" is_active="1")");
  RuvFeatures::instance().loadFromText(config);
  const std::filesystem::path level = DataFile(kWayOutFirstLevel);
  std::string text = wayOutRead(level);
  const std::string free = R"(<attribute name="cost_real" value="0"/>)";
  ASSERT_NE(std::string::npos, text.find(free));
  text.replace(text.find(free), free.size(), R"(<attribute name="cost_real" value="5"/>)");
  wayOutWrite(level, text);

  OpenLevelSelect();
  ASSERT_TRUE(mGame.clickIndex(0));
  ASSERT_TRUE(mGame.passUnlockMessage());
  mGame.map().getWallet()->gems = 4;

  LocalStrings* strings = LocalStrings::Instance();
  for (const char16_t* answer : {u"cancel", u"ok"}) {
    SCOPED_TRACE(std::string(answer, answer + std::char_traits<char16_t>::length(answer)));
    BuyFirstSpot();
    ASSERT_EQ("HUDModalDialog", mGame.topScreen());
    EXPECT_EQ(kStateBattleGemOffer, mGame.state());
    EXPECT_EQ(0.0f, mGame.speed());
    HUDWindow& dialog = *mGame.hud().stack.back();
    EXPECT_EQ(strings->get(u"gemShopDialogTitle"), dialog.getText(u"caption"));
    EXPECT_EQ(strings->get(u"gemShopDialogText"), dialog.getText(u"message"));
    EXPECT_GT(DrawnVertices(dialog), 0) << "the layout's pictures and buttons";
    ASSERT_TRUE(mGame.findButton(u"ok").has_value());
    ASSERT_TRUE(mGame.findButton(u"cancel").has_value());
    ASSERT_TRUE(mGame.click(answer));
    if (answer == std::u16string(u"cancel")) {
      EXPECT_EQ(kStatePlaying, mGame.state());
      EXPECT_TRUE(mGame.screens().empty());
      ASSERT_TRUE(mGame.tickUntil([&] { return !mGame.map().mRadialMenu; }));
      continue;
    }
    EXPECT_EQ("HUDBuyGemScreen", mGame.topScreen());
    EXPECT_EQ(kStateGemShop, mGame.state());
    ASSERT_TRUE(mGame.click(u"back_in"));
    EXPECT_EQ(kStatePlaying, mGame.state());
    EXPECT_TRUE(mGame.screens().empty());
  }
  EXPECT_EQ(4, mGame.map().getWallet()->gems) << "no spot was bought";
}

// The level select comes back on screen, its plate answers, and the one failure is one log line
// naming the file; with the file back, the same plate starts the level.
TEST_F(WayOutJourneyTest, LevelThatCannotBeReadLeadsBackToTheLevelSelect) {
  const std::filesystem::path level = DataFile(kWayOutFirstLevel);
  const std::string text = wayOutRead(level);
  std::filesystem::remove(level);
  OpenLevelSelect();
  {
    fakes::MainLogRecorder log;
    ASSERT_TRUE(mGame.clickIndex(0));
    EXPECT_EQ(1, wayOutCount(log.Text(), u"level_01_01.xml")) << log.Text().size();
  }
  ASSERT_EQ(std::vector<std::string>{"HUDLevelSelect"}, mGame.screens());
  EXPECT_EQ(kStateLevelSelect, mGame.state());
  EXPECT_EQ(nullptr, mGame.board().mBanner) << "no banner for a level that is not there";
  EXPECT_GT(DrawnVertices(*mGame.hud().stack.back()), 0);
  ASSERT_TRUE(mGame.findIndex(0).has_value()) << "its plate can be picked again";

  wayOutWrite(level, text);
  ASSERT_TRUE(mGame.clickIndex(0));
  ASSERT_TRUE(mGame.passUnlockMessage());
  EXPECT_EQ(0, mGame.map().mLevel);
  EXPECT_TRUE(mGame.screens().empty());
}

// Nor is an unreadable level a level start for the tutorial: step 5 of the sample tutorial waits
// for the second level's start and shows itself then (here over its unlock message), not over the
// level select that comes back instead.
TEST(WayOutTutorialJourneyTest, UnreadableLevelStartsNoTutorialStep) {
  gameharness::GameSetup setup;
  setup.profiles = gameharness::namedProfile(
      "Tester", R"(<fs v="0"/><mode v="1"/><levels><level n="0" episode="0" mode="1" stars="3"/></levels>)");
  GameHarness game(setup);
  const std::filesystem::path level = game.root() / "data/ruv/levels_normal/level_01_02.xml";
  const std::string text = wayOutRead(level);
  std::filesystem::remove(level);
  ASSERT_TRUE(game.skipLogos());
  ASSERT_TRUE(game.click(u"play"));
  ASSERT_TRUE(game.tickUntil([&] { return game.findButton(u"play").has_value(); }));
  ASSERT_TRUE(game.click(u"play"));
  ASSERT_TRUE(game.clickIndex(1));
  ASSERT_EQ("HUDLevelSelect", game.topScreen());
  EXPECT_EQ(0, game.map().getProgress()->getTutorialStepState(5));
  EXPECT_EQ(0, RuvTutorial::Instance()->mShown);

  wayOutWrite(level, text);
  ASSERT_TRUE(game.clickIndex(1));
  EXPECT_EQ(1, game.map().mLevel);
  EXPECT_EQ(1, game.map().getProgress()->getTutorialStepState(5));
  EXPECT_EQ(1, RuvTutorial::Instance()->mShown);
}

}  // namespace
