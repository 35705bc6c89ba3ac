// A first start through the whole game: without a named profile "play" asks for a name; the typed
// name and "ok" make the profile and open the episode select, whose "play" opens the level select,
// whose first plate starts the first level.
#include <gtest/gtest.h>

#include <string>

#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDModalInput.h"
#include "tests/gameharness/GameHarness.h"

namespace {

constexpr int kFirstStartEpisodeSelect = 5;
constexpr int kFirstStartLevelSelect = 6;
constexpr int kFirstStartMainMenu = 7;

gameharness::GameSetup FirstStart() {
  gameharness::GameSetup setup;
  setup.profiles.clear();
  return setup;
}

TEST(FirstStartJourneyTest, NamedProfileThroughTheMenusToTheFirstLevel) {
  gameharness::GameHarness game(FirstStart());
  ASSERT_TRUE(game.skipLogos());
  EXPECT_EQ(kFirstStartMainMenu, game.state());

  ASSERT_TRUE(game.click(u"play"));
  EXPECT_EQ(kStateNewProfile, game.state());
  ASSERT_EQ("HUDModalInput", game.topScreen());
  auto& input = static_cast<HUDModalInput&>(*game.hud().stack.back());
  // The suggested name, replaced key by key.
  EXPECT_EQ(LocalStrings::Instance()->get(u"default_player") + u"1", input.text);
  for (size_t i = input.text.size(); i > 0; --i) game.pressKey(HUDModalInput::kBackspace);
  EXPECT_TRUE(input.text.empty());
  EXPECT_FALSE(game.findButton(u"ok").has_value());  // no name, no confirming button
  game.typeText(u"Ada-7!");                          // the name refuses what the font lacks
  EXPECT_EQ(u"Ada7", input.text);

  ASSERT_TRUE(game.click(u"ok"));
  EXPECT_EQ(kFirstStartEpisodeSelect, game.state());
  EXPECT_EQ("HUDEpisodeSelect", game.topScreen());
  EXPECT_EQ(u"Ada7", game.map().getProgress()->getCurrentProfileName());
  const std::string saved = game.savedProfiles();
  EXPECT_NE(std::string::npos, saved.find("currentProfile=\"Ada7\"")) << saved;
  EXPECT_NE(std::string::npos, saved.find("<Profile name=\"Ada7\"")) << saved;
  // The new profile would see the tutorial: the journey goes on without it.
  game.disableTutorial();
  EXPECT_FALSE(game.map().getProgress()->isTutorialEnabled());
  EXPECT_NE(std::string::npos, game.savedProfiles().find("avail=\"0\""));

  ASSERT_TRUE(game.tickUntil([&] { return game.findButton(u"play").has_value(); }));
  ASSERT_TRUE(game.click(u"play"));
  EXPECT_EQ(kFirstStartLevelSelect, game.state());
  EXPECT_EQ("HUDLevelSelect", game.topScreen());
  EXPECT_EQ(0, game.map().mEpisode);
  // Only the first level is open: its neighbour's plate answers, but the click stays here.
  ASSERT_TRUE(game.clickIndex(1));
  EXPECT_EQ(kFirstStartLevelSelect, game.state());

  ASSERT_TRUE(game.clickIndex(0));
  ASSERT_TRUE(game.passUnlockMessage());
  EXPECT_EQ(0, game.map().mEpisode);
  EXPECT_EQ(0, game.map().mLevel);
  EXPECT_EQ(1.0f, game.speed());
}

// "shop" without a named profile asks for the name first, then opens the upgrade shop, whose way
// back leads to the main menu.
TEST(FirstStartJourneyTest, ShopAfterTheNameInput) {
  gameharness::GameHarness game(FirstStart());
  ASSERT_TRUE(game.skipLogos());
  ASSERT_TRUE(game.click(u"shop"));
  ASSERT_EQ("HUDModalInput", game.topScreen());
  ASSERT_TRUE(game.click(u"ok"));
  EXPECT_EQ("HUDShopWindow", game.topScreen());
  EXPECT_EQ(u"mmenu", game.hud().shopReturnScreen);
  EXPECT_EQ(1u, game.hud().stack.size());
}

}  // namespace
