#include <gtest/gtest.h>

#include <tinyxml2.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveManager.h"
#include "WavesLevelScene.h"

namespace {

using LevelStartTest = battletest::LevelSceneTest;

constexpr char kOneWalker[] = "<waves><wave><u id='1' upgrade='1'/></wave></waves>";

TEST_F(LevelStartTest, LevelPathFromModeEpisodeAndLevel) {
  struct Case {
    int mode, episode, level;
    const char16_t* path;
  };
  const Case cases[] = {{3, 0, 9, u"ruv/levels_hardcore/level_01_10.xml"},
                        {1, 0, 3, u"ruv/levels_normal/level_01_04.xml"},
                        {0, 11, 0, u"ruv/levels_normal/level_12_01.xml"},
                        {2, 1, 1, u"ruv/levels_normal/level_02_02.xml"}};
  mMap->mUnlocks->load("");  // no unlock message stops the levels
  for (const Case& c : cases) {
    const std::string path(c.path, c.path + std::char_traits<char16_t>::length(c.path));
    SCOPED_TRACE(path);
    WriteTestFile(path, LevelText(kOneWalker));
    Start(c.mode, c.episode, c.level);
    EXPECT_EQ(mMap->mLevelPath, c.path);
    EXPECT_EQ(mMap->mState, 0);
    EXPECT_EQ(mMap->mSpeed, 1.0f);
    EXPECT_EQ(mMap->mWaves->waves.size(), 1u);
  }
}

// Every layer of the scenery layout's "fx" folder becomes an ambient point at the layer's left and
// top, showing the first episode's "tr1" or the second's "bird" every 30 s; the points start their
// effect at their place within 3 to 8 s.
TEST_F(LevelStartTest, SceneryFxLayersBecomeAmbientPoints) {
  struct Case {
    int episode, level;
    const char* layout;
    const char16_t* effect;
  };
  const Case cases[] = {{0, 2, "ep1_3", u"tr1"}, {1, 0, "ep2_1", u"bird"}};
  mMap->mUnlocks->load("");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    tinyxml2::XMLDocument layout;
    ASSERT_EQ(layout.LoadFile((std::string(QM_SOURCE_DIR) + "/data/ruv/data/maps/" + c.layout + "/layers.xml").c_str()),
              tinyxml2::XML_SUCCESS);
    std::vector<std::pair<float, float>> expected;
    for (const tinyxml2::XMLElement* layer = layout.RootElement()->FirstChildElement("Layer"); layer;
         layer = layer->NextSiblingElement("Layer")) {
      const std::string name = layer->Attribute("name");
      if (name.rfind("fx/", 0) == 0) expected.emplace_back(layer->FloatAttribute("x"), layer->FloatAttribute("y"));
    }
    ASSERT_FALSE(expected.empty());
    Start(1, c.episode, c.level);
    const auto& spots = mMap->mFxTriggers->spots;
    ASSERT_EQ(spots.size(), expected.size());
    for (size_t i = 0; i < spots.size(); ++i) {
      EXPECT_EQ(spots[i]->x, expected[i].first);
      EXPECT_EQ(spots[i]->y, expected[i].second);
      EXPECT_EQ(spots[i]->effectName, c.effect);
      EXPECT_EQ(spots[i]->period, 30.0f);
    }
    std::vector<bool> shown(expected.size(), false);
    for (int tick = 0; tick < 81; ++tick) {
      mMap->update(0.1f);
      for (size_t i = 0; i < expected.size(); ++i) {
        for (const auto& effect : mMap->mOverlayEffects) {
          if (effect->emitter && effect->emitter->GetPosition().x == expected[i].first &&
              effect->emitter->GetPosition().y == expected[i].second) {
            shown[i] = true;
          }
        }
      }
    }
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(shown[i]) << "no effect at point " << i;
  }
}

TEST_F(LevelStartTest, LivesAndStartMoneyByModeAndBonus) {
  struct Case {
    int mode;
    int livesUpgrade;   // bought step of the global lives upgrade (maxHP 2, 5, 10), -1 none
    int budgetUpgrade;  // bought step of the start-budget upgrade (10 %, 25 %), -1 none
    float lives;
    int money;  // from a budget of 150
  };
  const Case cases[] = {{1, -1, -1, 25.0f, 150},
                        {0, 1, -1, 30.0f, 150},
                        {2, 2, 0, 35.0f, 165},
                        {1, -1, 1, 25.0f, 187},
                        {3, 2, 1, 1.0f, 150}};  // no upgrades count in hardcore
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " lives " << c.livesUpgrade << " budget "
                                    << c.budgetUpgrade);
    mMap->mMode = c.mode;
    mMap->mProgress->setUpgradeLevel(1, c.livesUpgrade);
    mMap->mProgress->setUpgradeLevel(2, c.budgetUpgrade);
    WriteLevel(c.mode, 7, 0, kOneWalker);
    Start(c.mode, 7, 0);
    EXPECT_FLOAT_EQ(mMap->mLives, c.lives);
    EXPECT_FLOAT_EQ(mMap->mMaxLives, c.lives);
    EXPECT_EQ(mMap->mWallet->money, c.money);
    EXPECT_EQ(mMap->mWallet->shownMoney, c.money);
    EXPECT_EQ(mMap->mBudget, 150);
    const int expectedMoney = 150 + static_cast<int>(std::trunc(150.0f * mMap->mStartBudgetBonus));
    EXPECT_EQ(mMap->mWallet->money, expectedMoney);
  }
}

TEST_F(LevelStartTest, MissingLevelFileIsNeverWonAndLeavesNothingPlayable) {
  WriteLevel(1, 7, 0, kOneWalker);
  Start(1, 7, 0);
  Run(0.5f);
  ASSERT_EQ(mMap->mWaves->units.size(), 1u);
  ASSERT_FALSE(mMap->mPoints.empty());

  Start(1, 7, 1);  // no such file
  EXPECT_EQ(mMap->mState, 6) << "back to the level select";
  EXPECT_EQ(mMap->mSpeed, 0.0f);
  EXPECT_TRUE(mMap->mWaves->units.empty());
  EXPECT_TRUE(mMap->mWaves->waves.empty());
  EXPECT_TRUE(mMap->mPoints.empty());
  EXPECT_TRUE(mMap->mLinks.empty());
  EXPECT_TRUE(mMap->mRoutes->empty());
  EXPECT_EQ(mMap->mBudget, 0);
  EXPECT_EQ(mMap->mWallet->money, 0);
  mMap->mState = 0;  // even if something set it playing, the level has nothing that could end it
  Run(1.0f);
  EXPECT_EQ(mMap->mState, 0);
  EXPECT_EQ(mMap->mLevelResult, 0);
}

TEST_F(LevelStartTest, UnplayableLevelFilesAreRefused) {
  const char* texts[] = {"<map>", "<other/>", "<map><budget>1</budget><points/><links/></map>",
                         "<map><li>maps/ep1_1/</li><budget>1</budget><points/><links/></map>"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    WriteTestFile("ruv/levels_normal/level_08_01.xml", text);
    Start(1, 7, 0);
    EXPECT_EQ(mMap->mState, 6);
    EXPECT_FALSE(mMap->mWaves->hasLevel());
  }
}

TEST_F(LevelStartTest, ReloadDeletesUnitsBeforeTheirWaves) {
  WriteLevel(1, 7, 0, "<waves><wave><u id='12' upgrade='1'/><u id='1' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.5f);
  mMap->mWaves->units[0]->health = 0.0f;
  Run(1.0f / 60.0f);  // the carrier's entries added while playing
  ASSERT_GE(mMap->mWaves->units.size(), 4u);
  mMap->mSelectedUnit = mMap->mWaves->units.back().get();
  mMap->loadLevel();
  EXPECT_EQ(mMap->mSelectedUnit, nullptr);
  EXPECT_TRUE(mMap->mWaves->units.empty());
  ASSERT_EQ(mMap->mWaves->waves.size(), 1u);
  EXPECT_EQ(mMap->mWaves->waves[0]->entries.size(), 2u);
  EXPECT_EQ(mMap->mState, 0);
  EXPECT_FLOAT_EQ(mMap->mLives, 25.0f);
  Run(0.1f);
  EXPECT_EQ(mMap->mWaves->units.size(), 2u);
}

TEST_F(LevelStartTest, FirstTickAfterALoadAdvancesAtMostAThirtiethOfASecond) {
  WriteLevel(1, 7, 0,
             "<waves><wave><u id='1' upgrade='1'/><u id='1' upgrade='1' x='45'/><u id='1' upgrade='1' "
             "x='90'/></wave></waves>");
  Start(1, 7, 0);
  mMap->mGameTime = 0.0f;
  mMap->update(5.0f);  // the frame that held the load
  EXPECT_FLOAT_EQ(mMap->mGameTime, 1.0f / 30.0f);
  EXPECT_EQ(mMap->mWaves->units.size(), 1u) << "no burst of spawns";
  mMap->update(0.5f);
  EXPECT_FLOAT_EQ(mMap->mGameTime, 1.0f / 30.0f + 0.5f);
  mMap->mSpeed = 2.0f;
  mMap->loadLevel();
  mMap->mGameTime = 0.0f;
  mMap->update(0.01f);  // a short frame stays as it is
  EXPECT_FLOAT_EQ(mMap->mGameTime, 0.01f);
}

TEST_F(LevelStartTest, RoutesHoldTheLanesOfTheWaves) {
  WriteLevel(1, 7, 0, "<waves><wave><u id='1' upgrade='1'/><u id='1' upgrade='1' y='-65'/></wave></waves>");
  Start(1, 7, 0);
  ASSERT_EQ(mMap->mRoutes->records().size(), 1u);
  const auto& lanes = mMap->mRoutes->records()[0].lanes;
  ASSERT_EQ(lanes.size(), 2u);
  EXPECT_EQ(lanes.begin()->first, -20);
  EXPECT_EQ(lanes.rbegin()->first, 0);
}

}  // namespace
