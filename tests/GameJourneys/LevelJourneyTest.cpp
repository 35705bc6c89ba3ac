// A level played through the whole game: started from the level select, paused and resumed from
// the HUD, won with the developer keys, its result counted up and stored, and restarted.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Game/Tables/LocalStrings.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDLevelResultWindow.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/Options/TalvenButton.h"
#include "tests/gameharness/GameHarness.h"

namespace {

using gameharness::GameHarness;

constexpr int kJourneyLevelWon = 1;

std::u16string journeyDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

bool journeyHas(const std::vector<std::u16string>& names, const std::u16string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class LevelJourneyTest : public ::testing::Test {
 protected:
  // From the main menu of a profile with a name: "play", the episode's "play", the first plate;
  // a level that opens with its unlock message is let in with "ok".
  void PlayFirstLevel() {
    ASSERT_TRUE(mGame.skipLogos());
    ASSERT_TRUE(mGame.click(u"play"));
    ASSERT_EQ("HUDEpisodeSelect", mGame.topScreen());
    ASSERT_TRUE(mGame.tickUntil([&] { return mGame.findButton(u"play").has_value(); }));
    ASSERT_TRUE(mGame.click(u"play"));
    ASSERT_EQ("HUDLevelSelect", mGame.topScreen());
    ASSERT_TRUE(mGame.clickIndex(0));
    ASSERT_TRUE(mGame.passUnlockMessage());
    ASSERT_EQ(0, mGame.map().mEpisode);
    ASSERT_EQ(0, mGame.map().mLevel);
  }

  HUDLevelResultWindow* Result() const {
    return mGame.hud().stack.empty() ? nullptr : dynamic_cast<HUDLevelResultWindow*>(mGame.hud().stack.back().get());
  }

  GameHarness mGame;
};

TEST_F(LevelJourneyTest, LevelStartsWithItsCountersAndSpeedButtons) {
  PlayFirstLevel();
  RuvMap& map = mGame.map();
  EXPECT_TRUE(mGame.screens().empty());
  EXPECT_EQ(1.0f, mGame.speed());
  // The level file's budget, no upgrade bought.
  ASSERT_GT(map.mBudget, 0);
  EXPECT_EQ(map.mBudget, map.getWallet()->money);
  EXPECT_EQ(journeyDecimal(map.mBudget), mGame.hud().getText(u"text/coins"));
  EXPECT_EQ(u"25/25", mGame.hud().getText(u"text/mana"));
  EXPECT_EQ(journeyDecimal(map.getWallet()->gems), mGame.hud().getText(u"text/crystals"));
  EXPECT_EQ(LocalStrings::Instance()->get(u"game_wave") + u" 1/" + journeyDecimal(map.mWaves->waveCount()),
            mGame.hud().getText(u"text/waves"));

  // Each speed button, clicked where the HUD answers its name, shows the other two and its
  // active twin.
  const struct {
    const char16_t* button;
    float speed;
    const char16_t* active;
  } speeds[] = {{u"speed_btn", 2.0f, u"speed_btn_ac"}, {u"pause_btn", 0.0f, u"pause_btn_ac"},
                {u"play_btn", 1.0f, u"play_btn_ac"}};
  const std::u16string all[] = {u"pause_btn", u"play_btn", u"speed_btn"};
  for (const auto& step : speeds) {
    SCOPED_TRACE(std::string(step.button, step.button + std::char_traits<char16_t>::length(step.button)));
    ASSERT_TRUE(mGame.click(step.button));
    EXPECT_EQ(step.speed, mGame.speed());
    const std::vector<std::u16string> shown = mGame.shownHudButtons();
    EXPECT_TRUE(journeyHas(shown, step.active));
    EXPECT_TRUE(journeyHas(shown, u"options_btn"));
    for (const std::u16string& button : all) {
      EXPECT_EQ(button != step.button, journeyHas(shown, button)) << std::string(button.begin(), button.end());
      EXPECT_EQ(button == step.button, journeyHas(shown, button + u"_ac")) << std::string(button.begin(), button.end());
    }
  }
}

TEST_F(LevelJourneyTest, OptionsButtonPausesAndResumeGoesBackStopped) {
  PlayFirstLevel();
  ASSERT_TRUE(mGame.click(u"options_btn"));
  EXPECT_EQ(kStatePauseMenu, mGame.state());
  EXPECT_EQ(std::vector<std::string>{"HUDIngameMenu"}, mGame.screens());
  EXPECT_EQ(0.0f, mGame.speed());
  // The battle stands while the menu is open.
  const float clock = mGame.map().mWaves->clock;
  mGame.tick(30);
  EXPECT_EQ(clock, mGame.map().mWaves->clock);

  ASSERT_TRUE(mGame.click(u"resume"));
  EXPECT_EQ(kStatePlaying, mGame.state());
  EXPECT_TRUE(mGame.screens().empty());
  EXPECT_EQ(0.0f, mGame.speed());
  EXPECT_TRUE(journeyHas(mGame.shownHudButtons(), u"pause_btn_ac"));
}

TEST_F(LevelJourneyTest, CheatWinShowsStarsCountsUpAndStoresTheRecord) {
  PlayFirstLevel();
  RuvMap& map = mGame.map();
  const int mode = map.mMode;
  const int gemsBefore = map.getWallet()->gems;
  // The developer keys wait for the cheats.
  mGame.pressKey('w');
  mGame.tick();
  ASSERT_EQ(kStatePlaying, mGame.state());
  mGame.enableCheats();
  mGame.pressKey('w');
  mGame.tick();
  ASSERT_EQ(kJourneyLevelWon, mGame.state());
  HUDLevelResultWindow* result = Result();
  ASSERT_NE(nullptr, result);

  // All lives left: three stars, and the gems of three new stars.
  const int stars = levelStars(map.mLives, map.mMaxLives);
  ASSERT_EQ(3, stars);
  int starFrames = 0;
  for (const RuvFrameEntry* frame : result->frames) {
    for (int i = 0; i < 3; ++i) {
      if (frame->name != u"star" + journeyDecimal(i)) continue;
      ++starFrames;
      EXPECT_EQ(i < stars, frame->visible != 0) << i;
    }
  }
  EXPECT_EQ(3, starFrames);
  EXPECT_EQ(gemsBefore + newStarGems(0, stars), map.getWallet()->gems);

  // Stored at once: the stars and the best score (kills plus the life bonus) in "profiles.xml".
  const int life = int(map.mLives * 100.0f);
  const int total = map.getWallet()->killScore + life;
  const std::map<std::string, std::string> record = mGame.savedLevelRecord(0, 0, mode);
  ASSERT_FALSE(record.empty()) << mGame.savedProfiles();
  EXPECT_EQ(std::to_string(stars), record.at("stars"));
  EXPECT_EQ(std::to_string(total), record.at("high"));
  EXPECT_EQ(std::to_string(life), record.at("healthBonus"));

  // The life bonus counts up over a second: somewhere in between, then in full; the total after it.
  const std::u16string lifeLine = LocalStrings::Instance()->get(u"game_life_bonus");
  const std::u16string totalLine = LocalStrings::Instance()->get(u"game_total_score");
  std::vector<int> lifeShown;
  ASSERT_TRUE(mGame.tickUntil(
      [&] {
        const std::u16string text = result->getText(u"lifeBonus");
        if (text.size() > lifeLine.size()) lifeShown.push_back(std::stoi(std::string(text.begin() + lifeLine.size(), text.end())));
        return result->phase == 5;
      },
      6 * 60));
  ASSERT_FALSE(lifeShown.empty());
  EXPECT_TRUE(std::is_sorted(lifeShown.begin(), lifeShown.end()));
  EXPECT_TRUE(std::any_of(lifeShown.begin(), lifeShown.end(), [&](int shown) { return shown > 0 && shown < life; }));
  EXPECT_EQ(lifeLine + journeyDecimal(life), result->getText(u"lifeBonus"));
  EXPECT_EQ(totalLine + journeyDecimal(total), result->getText(u"totalScore"));
}

// The level as loaded: the map's state after a restart.
void ExpectFreshFirstLevel(GameHarness& game, int startMoney) {
  // A reloaded level shows its unlock message again.
  ASSERT_TRUE(game.passUnlockMessage());
  RuvMap& map = game.map();
  EXPECT_EQ(kStatePlaying, game.state());
  EXPECT_TRUE(game.screens().empty());
  EXPECT_EQ(1.0f, game.speed());
  EXPECT_EQ(startMoney, map.getWallet()->money);
  EXPECT_EQ(25.0f, map.mLives);
  EXPECT_EQ(0, map.mEpisode);
  EXPECT_EQ(0, map.mLevel);
}

TEST_F(LevelJourneyTest, RestartReloadsTheLevel) {
  PlayFirstLevel();
  RuvMap& map = mGame.map();
  const int startMoney = map.getWallet()->money;
  mGame.enableCheats();
  mGame.pressKey('m');  // money the reload must take back
  ASSERT_NE(startMoney, map.getWallet()->money);
  mGame.pressKey('w');
  mGame.tick();
  ASSERT_EQ(kJourneyLevelWon, mGame.state());
  ASSERT_TRUE(mGame.click(u"restart"));
  ExpectFreshFirstLevel(mGame, startMoney);
  // The won record stays.
  EXPECT_EQ("3", mGame.savedLevelRecord(0, 0, map.mMode).at("stars"));

  // From the pause menu the restart asks first: the message box's ok reloads, its cancel stays.
  for (const bool confirm : {false, true}) {
    SCOPED_TRACE(confirm ? "ok" : "cancel");
    mGame.pressKey('m');
    ASSERT_TRUE(mGame.click(u"options_btn"));
    ASSERT_TRUE(mGame.click(u"restart"));
    TMessageBox* box = mGame.waitForDialog<TMessageBox>();
    ASSERT_NE(nullptr, box);
    ASSERT_NE(nullptr, box->GetButton2());
    mGame.clickControl(confirm ? *box->GetButton2() : *box->GetButton1());
    ASSERT_TRUE(mGame.tickUntil([&] { return mGame.shownFrames().size() == 1; }));
    if (confirm) {
      ExpectFreshFirstLevel(mGame, startMoney);
    } else {
      EXPECT_EQ(kStatePauseMenu, mGame.state());
      EXPECT_NE(startMoney, map.getWallet()->money);
      ASSERT_TRUE(mGame.click(u"resume"));
    }
  }
}

}  // namespace
