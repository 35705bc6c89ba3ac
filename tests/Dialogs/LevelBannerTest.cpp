// The level banner: its texts by mode, three seconds of fade-in, hold and fade-out, and a drawing
// colour left white for what is drawn after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogScene.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDLevelName.h"
#include "Game/Screens/HUDUnlockMessage.h"
#include "gamesupport/RootBoardGame.h"

namespace {

using dialogtest::DialogTest;

class LevelBannerTest : public DialogTest {};

TEST_F(LevelBannerTest, TitleOfTheEpisodeByModeAndTheLevelNumber) {
  LocalStrings* strings = LocalStrings::Instance();
  const struct {
    int mode;
    const char16_t* titleKey;
  } cases[] = {{0, u"episode1"}, {2, u"episode1"}, {3, u"episodeHardcore1"}};
  for (const auto& c : cases) {
    mMap->mMode = c.mode;
    mMap->mEpisode = 1;
    mMap->mLevel = 4;
    const HUDLevelName banner(*mMap);
    EXPECT_EQ(strings->get(c.titleKey), banner.title);
    EXPECT_EQ(strings->get(u"level_d") + u" 5", banner.levelText);
  }
}

// A level that unlocks nothing puts the banner up, one with new unlocks opens the unlock message
// over the stopped battle, and one that unlocks everything (-1 first) shows neither. Sample unlock
// table: episode 0 level 0 unlocks towers and upgrades (two groups, each shown by its first id),
// episode 1 level 2 nothing.
TEST_F(LevelBannerTest, ALevelStartShowsTheBannerOrTheUnlockMessage) {
  const struct {
    const char* unlocks;  // replaces the sample table when set
    int episode;
    int level;
    bool banner;
    bool message;
  } cases[] = {{nullptr, 1, 2, true, false}, {nullptr, 0, 0, false, true}, {"0;0;-1,5\n", 0, 0, false, false}};
  for (const auto& c : cases) {
    gametest::RootBoardGame game;
    if (c.unlocks) mMap->mUnlocks->load(c.unlocks);
    mMap->mMode = 1;
    mMap->mEpisode = c.episode;
    mMap->mLevel = c.level;
    mMap->startLevel();
    std::vector<int> unlocked;
    mMap->mUnlocks->newlyUnlocked(unlocked);
    auto* banner = dynamic_cast<HUDLevelName*>(game.board().mBanner);
    EXPECT_EQ(c.banner, banner != nullptr) << c.episode << " " << c.level;
    EXPECT_TRUE(mMap->mHud->stack.empty()) << "the banner is not stacked";
    ASSERT_EQ(c.message ? 1u : 0u, mMap->mHud->pending.size());
    EXPECT_EQ(c.message ? 11 : kStatePlaying, mMap->mState);
    EXPECT_EQ(c.message ? 0.0f : 1.0f, mMap->mSpeed);
    if (c.message) {
      auto* message = dynamic_cast<HUDUnlockMessage*>(mMap->mHud->pending.back().get());
      ASSERT_NE(nullptr, message);
      EXPECT_EQ((std::vector<int>{10000, 10001, 20000, 20001, 1, 2, 3}), unlocked);
      EXPECT_EQ((std::vector<int>{10000, 1}), message->ids);
      // One "ok" per message; the last closes it, lets the battle run and puts the banner up.
      const RuvButtonFrame* ok = message->findButton(u"ok");
      ASSERT_NE(nullptr, ok);
      const int x = int(ok->rect[0] + ok->rect[2] / 2);
      const int y = int(ok->rect[1] + ok->rect[3] / 2);
      mMap->mHud->update(0.0f);
      const size_t messages = message->ids.size();  // the last "ok" deletes the message
      for (size_t i = 0; i < messages; ++i) {
        EXPECT_EQ(11, mMap->mState) << i;
        mMap->onMouseUp(x, y);
      }
      EXPECT_EQ(kStatePlaying, mMap->mState);
      EXPECT_EQ(1.0f, mMap->mSpeed);
      EXPECT_TRUE(mMap->mHud->stack.empty());
      banner = dynamic_cast<HUDLevelName*>(game.board().mBanner);
      EXPECT_NE(nullptr, banner);
      continue;
    }
    if (!banner) continue;
    EXPECT_EQ(LocalStrings::Instance()->get(u"level_d") + u" 3", banner->levelText);
    // A restart while the banner shows starts a fresh one; the old one goes.
    banner->update(1.0f);
    mMap->loadLevel();
    banner = dynamic_cast<HUDLevelName*>(game.board().mBanner);
    ASSERT_NE(nullptr, banner);
    EXPECT_EQ(0, banner->stage);
    EXPECT_FLOAT_EQ(HUDLevelName::kFadeIn, banner->timer);
  }
}

TEST_F(LevelBannerTest, ClosesAfterThreeSeconds) {
  constexpr float kFrame = 1.0f / 64.0f;  // exact in binary: the sums carry no rounding
  HUDLevelName banner(*mMap);
  int frames = 0;
  while (banner.open && frames < 1000) {
    banner.update(kFrame);
    ++frames;
  }
  // The stage ends when its timer drops below 0: one frame past each boundary.
  EXPECT_EQ(192 + 3, frames);
}

TEST_F(LevelBannerTest, AlphaByStage) {
  const struct {
    int stage;
    float timer;
    float alpha;
  } cases[] = {{0, 0.5f, 0.0f}, {0, 0.125f, 0.75f}, {1, 1.0f, 1.0f}, {2, 0.5f, 1.0f}, {2, 0.125f, 0.25f}, {3, 0.5f, 0.0f}};
  HUDLevelName banner(*mMap);
  for (const auto& c : cases) {
    banner.stage = c.stage;
    banner.timer = c.timer;
    EXPECT_FLOAT_EQ(c.alpha, banner.alpha()) << c.stage << " " << c.timer;
  }
}

TEST_F(LevelBannerTest, LeavesTheDrawingColourWhite) {
  HUDLevelName banner(*mMap);
  banner.timer = 0.25f;
  Frame([&](render::Graphics& graphics) {
    banner.draw(graphics);
    EXPECT_EQ(1.0f, graphics.GetColor().a);
    EXPECT_EQ(1.0f, graphics.GetColor().r);
  });
}

}  // namespace
