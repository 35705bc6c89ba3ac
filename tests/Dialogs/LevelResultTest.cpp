// The level result: stars of the lives left, gems for new stars and a first fully starred episode,
// the stored record and best score, and the score lines counting up phase by phase.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Core/Render/ParticleEmitter.h"
#include "DialogScene.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUDLevelResultWindow.h"

namespace {

using dialogtest::DialogTest;

std::u16string resultDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

class LevelResultTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    mMap->mMode = 1;
    mMap->mEpisode = 0;
    mMap->mLevel = 0;
    mMap->mState = 1;
    mMap->mMaxLives = 20.0f;
    mMap->mLives = 20.0f;
  }
  RuvProgress& Progress() { return *mMap->mProgress; }
  RuvLevelRecord Stored(int level) {
    const std::unique_ptr<RuvLevelRecord> record(Progress().getLevelRecord(0, level, mMap->mMode));
    return *record;
  }
  void Store(int level, int stars, int high = 0) {
    RuvLevelRecord record;
    record.stars = stars;
    record.kills = high;
    Progress().saveLevelResult(0, level, 1, record);
  }
  // Gems the result paid.
  int Show() {
    const int before = mMap->mWallet->gems;
    mWindow = std::make_unique<HUDLevelResultWindow>(*mMap);
    return mMap->mWallet->gems - before;
  }
  // One update and one draw of the window.
  void Step(float dt) {
    mWindow->update(dt);
    Frame([&](render::Graphics& graphics) { mWindow->draw(graphics); });
  }
  static std::u16string Line(const char16_t* key, int value) {
    return LocalStrings::Instance()->get(key) + resultDecimal(value);
  }

  std::unique_ptr<HUDLevelResultWindow> mWindow;
};

TEST_F(LevelResultTest, StarsByLivesRatio) {
  const struct {
    float lives, maxLives;
    int stars;
  } cases[] = {{20, 20, 3}, {19, 20, 2}, {10, 20, 2}, {9, 20, 1}, {0.5f, 20, 1}, {0, 20, 0},
               {21, 20, 0}, {1, 0, 0},   {0, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.stars, levelStars(c.lives, c.maxLives)) << c.lives << "/" << c.maxLives;
    mMap->mLives = c.lives;
    mMap->mMaxLives = c.maxLives;
    Show();
    for (const RuvFrameEntry* frame : mWindow->frames) {
      for (int i = 0; i < 3; ++i) {
        if (frame->name == u"star" + resultDecimal(i)) {
          EXPECT_EQ(i < c.stars, frame->visible != 0) << i;
        }
      }
    }
  }
}

TEST_F(LevelResultTest, GemsForNewStars) {
  const int table[4][4] = {{0, 3, 8, 13}, {0, 0, 5, 10}, {0, 0, 0, 5}, {0, 0, 0, 0}};
  for (int from = -1; from <= 4; ++from) {
    for (int to = 0; to <= 4; ++to) {
      const bool listed = from >= 0 && from <= 3 && to <= 3;
      EXPECT_EQ(listed ? table[from][to] : 0, newStarGems(from, to)) << from << " -> " << to;
    }
  }
}

TEST_F(LevelResultTest, ReplayPaysOnlyForStarsBeyondTheStoredOnesAndStoresTheRecord) {
  Store(0, 2);
  const struct {
    float lives;
    int state;
    int gems;
    int storedStars;
  } cases[] = {{20, 1, 5, 3}, {19, 1, 0, 3}, {20, 1, 0, 3}};
  for (const auto& c : cases) {
    mMap->mLives = c.lives;
    mMap->mState = c.state;
    EXPECT_EQ(c.gems, Show());
    EXPECT_EQ(LocalStrings::Instance()->get(u"gems") + u": " + resultDecimal(c.gems), mWindow->getText(u"gems"));
    EXPECT_EQ(c.storedStars, Stored(0).stars);
  }
}

TEST_F(LevelResultTest, LostLevelStoresNoStarsButPaysForTheRatio) {
  mMap->mState = 2;
  mMap->mLives = 19.0f;
  mMap->mWallet->killScore = 40;
  EXPECT_EQ(8, Show());
  const RuvLevelRecord stored = Stored(0);
  EXPECT_EQ(0, stored.stars);
  EXPECT_EQ(40, stored.kills);
  EXPECT_EQ(1900, stored.healthBonus);
  EXPECT_EQ(Progress().getGems(), mMap->mWallet->gems);
}

TEST_F(LevelResultTest, EpisodeBonusOnceEveryLevelAlreadyHasStars) {
  const int levels = mMap->levelCount(0);
  ASSERT_GE(levels, 2);
  for (int j = 1; j < levels; ++j) Store(j, 1);
  mMap->mLives = 9.0f;  // 1 star
  // The level just finished counts only from its next result on.
  EXPECT_EQ(3, Show());
  EXPECT_FALSE(Progress().getEventFlag(1));
  EXPECT_EQ(100, Show());
  EXPECT_TRUE(Progress().getEventFlag(1));
  EXPECT_EQ(0, Show());
}

TEST_F(LevelResultTest, BestScoreIsTheStoredHighUnlessBeaten) {
  Store(0, 1, 5000);
  const struct {
    int kills;
    float lives;
    int best;
  } cases[] = {{100, 10, 5000}, {4000, 20, 6000}, {10, 10, 6000}};
  for (const auto& c : cases) {
    mMap->mWallet->killScore = c.kills;
    mMap->mLives = c.lives;
    Show();
    EXPECT_EQ(Line(u"game_best_score", c.best), mWindow->getText(u"bestScore"));
  }
}

TEST_F(LevelResultTest, GrowsInThenCountsEachLineUpForOneSecond) {
  mMap->mWallet->killScore = 1234;
  mMap->mWallet->comboTotal = 7;
  mMap->mLives = 12.0f;
  Show();
  EXPECT_EQ(0.0f, mWindow->scale);
  Step(0.125f);
  EXPECT_EQ(0, mWindow->phase);
  EXPECT_FLOAT_EQ(0.5f, mWindow->scale);
  Step(0.15f);
  EXPECT_EQ(1, mWindow->phase);
  Step(0.0f);
  EXPECT_EQ(1.0f, mWindow->scale);
  Step(0.5f);
  EXPECT_EQ(Line(u"game_kill_score", 617), mWindow->getText(u"killScore"));
  Step(0.6f);
  EXPECT_EQ(3, mWindow->phase);  // past the combo line
  EXPECT_EQ(Line(u"game_kill_score", 1234), mWindow->getText(u"killScore"));
  Step(0.25f);
  EXPECT_EQ(Line(u"game_life_bonus", 300), mWindow->getText(u"lifeBonus"));
  Step(0.8f);
  EXPECT_EQ(4, mWindow->phase);
  Step(0.5f);
  EXPECT_EQ(Line(u"game_total_score", 1217), mWindow->getText(u"totalScore"));
  Step(0.6f);
  EXPECT_EQ(5, mWindow->phase);
  Step(5.0f);
  EXPECT_EQ(Line(u"game_total_score", 2434), mWindow->getText(u"totalScore"));
}

TEST_F(LevelResultTest, WithoutKillsThePhaseOfTheComboLineBlanksIt) {
  const struct {
    int kills;
    std::u16string combo;
  } cases[] = {{0, u""}, {5, u"kept"}};
  for (const auto& c : cases) {
    mMap->mWallet->killScore = c.kills;
    mMap->mWallet->comboTotal = 3;
    Show();
    mWindow->setText(u"goldBonus", u"kept");
    for (int i = 0; i < 8; ++i) Step(0.3f);
    EXPECT_EQ(c.combo, mWindow->getText(u"goldBonus"));
  }
}

TEST_F(LevelResultTest, OverlayEffectsStopEmittingAndThoseWithoutEmitterAreSkipped) {
  mMap->mOverlayEffects.push_back(std::make_unique<RuvEffect>("no such effect"));
  mMap->mOverlayEffects.push_back(std::make_unique<RuvEffect>("active"));
  ASSERT_EQ(nullptr, mMap->mOverlayEffects[0]->emitter);
  ASSERT_NE(nullptr, mMap->mOverlayEffects[1]->emitter);
  mMap->mOverlayEffects[1]->emitter->SetState(render::ParticleEmitter::kPlaying);
  Show();
  EXPECT_EQ(render::ParticleEmitter::kInterrupted, mMap->mOverlayEffects[1]->emitter->GetState());
}

}  // namespace
