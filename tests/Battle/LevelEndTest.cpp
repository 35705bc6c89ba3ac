#include <gtest/gtest.h>

#include "Core/Base/Format.h"
#include "Core/Base/TextFile.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "WavesLevelScene.h"

namespace {

// The feature table is read once per run: the tests switch the offer and put the file's table back.
class LevelEndTest : public battletest::LevelSceneTest {
 protected:
  void TearDown() override {
    RuvFeatures::instance().loadFromText(base::ReadTextFile(RuvFeatures::kPath));
    battletest::LevelSceneTest::TearDown();
  }
  static void SetLowLifeOffer(bool active) {
    RuvFeatures::instance().loadFromText(std::string("<config><features><feature name='low_life_dialog' is_active='") +
                                         (active ? "1" : "0") + "'/></features></config>");
  }
  // A level whose walkers (strength 2.5) arrive one after another.
  void StartWalkers(int mode, int count) {
    std::string waves = "<waves><wave>";
    for (int i = 0; i < count; ++i) waves += "<u id='1' upgrade='1' x='" + std::to_string(i * 45) + "'/>";
    WriteLevel(mode, 7, 0, waves + "</wave></waves>", 100.0f);
    Start(mode, 7, 0);
  }
  // The last screen pushed: still waiting, or on the stack after an update.
  HUDWindow* TopPushed() {
    HUD& hud = *mMap->mHud;
    if (!hud.pending.empty()) return hud.pending.back().get();
    return hud.stack.empty() ? nullptr : hud.stack.back().get();
  }
  static std::u16string Text(const char16_t* key) { return LocalStrings::Instance()->get(key); }
};

TEST_F(LevelEndTest, LivesStopAtZeroAndTheLevelIsLost) {
  SetLowLifeOffer(false);
  StartWalkers(3, 1);
  EXPECT_FLOAT_EQ(mMap->mLives, 1.0f);
  Run(2.0f);
  EXPECT_FLOAT_EQ(mMap->mLives, 0.0f) << "1 - 2.5 is clamped";
  EXPECT_EQ(mMap->mState, 2);
  EXPECT_EQ(mMap->mLevelResult, 1);
  EXPECT_EQ(mMap->mSpeed, 0.0f);
  HUDWindow* result = TopPushed();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->getText(u"levelResult"), Text(u"game_lose"));
  EXPECT_EQ(result->getText(u"gameName"), u"");
  EXPECT_EQ(result->getText(u"killScore"), Text(u"game_kill_score") + u"0");
}

TEST_F(LevelEndTest, OfferOpensWhenTheFeatureIsActiveAndFurtherArrivalsCostNothing) {
  SetLowLifeOffer(true);
  StartWalkers(3, 3);
  Run(2.0f);
  EXPECT_FLOAT_EQ(mMap->mLives, 0.0f);
  EXPECT_EQ(mMap->mState, 22);
  EXPECT_EQ(mMap->mSpeed, 0.0f);
  HUDWindow* offer = TopPushed();
  ASSERT_NE(offer, nullptr);
  // No product "buy_health" in the catalogue: the price is empty.
  EXPECT_EQ(offer->getText(u"message"), (base::Format(Text(u"buyHealthDialogText")) % std::u16string()).GetResult());
  EXPECT_EQ(offer->getText(u"caption"), Text(u"buyHealthDialogTitle"));
  // While the offer is open the battle stands still; a unit that arrives anyway costs nothing.
  ASSERT_FALSE(mMap->mWaves->units.empty());
  mMap->mState = 0;
  mMap->mSpeed = 1.0f;
  mMap->onUnitReachedGoal(mMap->mWaves->units[0].get());
  EXPECT_FLOAT_EQ(mMap->mLives, 0.0f);
  EXPECT_EQ(mMap->mState, 0);
}

TEST_F(LevelEndTest, WinAndLoseActOnlyWhilePlaying) {
  struct Case {
    int state;
    bool win;
    int after;
  };
  const Case cases[] = {{0, true, 1}, {0, false, 2}, {22, false, 2}, {22, true, 22}, {1, false, 1}, {2, true, 2},
                        {1, true, 1}, {2, false, 2}, {4, true, 4},   {4, false, 4},  {3, false, 3}, {6, true, 6}};
  WriteLevel(1, 7, 0, "<waves/>");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << (c.win ? " win" : " lose"));
    Start(1, 7, 0);
    mMap->mState = c.state;
    mMap->mLevelResult = 0;
    const size_t pushed = mMap->mHud->pending.size();
    if (c.win) {
      mMap->winLevel();
    } else {
      mMap->loseLevel();
    }
    EXPECT_EQ(mMap->mState, c.after);
    const bool acted = c.after != c.state;
    EXPECT_EQ(mMap->mHud->pending.size(), pushed + (acted ? 1u : 0u));
    EXPECT_EQ(mMap->mLevelResult, acted ? (c.win ? 2 : 1) : 0);
  }
}

TEST_F(LevelEndTest, VictoryNamesTheEpisodeAndTheDifficulty) {
  struct Case {
    int mode;
    const char16_t* episodeKey;
    const char16_t* modeKey;  // null: empty
  };
  const Case cases[] = {{0, u"episode1", u"diff_easy"},
                        {1, u"episode1", u"diff_normal"},
                        {2, u"episode1", u"diff_hard"},
                        {3, u"episodeHardcore1", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    WriteLevel(c.mode, 1, 2, "<waves/>");
    Start(c.mode, 1, 2);
    Run(1.0f / 60.0f);
    ASSERT_EQ(mMap->mState, 1);
    HUDWindow* result = TopPushed();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->getText(u"levelResult"), Text(u"game_win"));
    EXPECT_EQ(result->getText(u"levelName"), Text(c.episodeKey) + u" 2 - 3");
    EXPECT_EQ(result->getText(u"gameName"), c.modeKey ? Text(c.modeKey) : u"");
    EXPECT_EQ(result->getText(u"goldBonus"), Text(u"game_combo_bonus") + u"0");
  }
}

}  // namespace
