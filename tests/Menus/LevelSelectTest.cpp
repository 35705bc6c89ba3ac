// The level select on the sample data (episode 0: three levels, one hardcore level, hardcore open
// at 9 stars): hardcore controls by mode and stars, tabs, plates, the visit count and the root
// board's layers.
#include <gtest/gtest.h>

#include "Core/Layer/TextLayer.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDModalMessage.h"
#include "Game/Screens/HUDLevelSelect.h"
#include "Game/Screens/HUDTabBar.h"
#include "MenuScene.h"

namespace menutest {
namespace {

constexpr char kEpisodeDone[] =
    R"(<Profiles currentProfile="A"><Profile name="A"><levels>)"
    R"(<level episode="0" n="0" mode="1" stars="3"/><level episode="0" n="1" mode="1" stars="3"/>)"
    R"(<level episode="0" n="2" mode="1" stars="3"/></levels></Profile></Profiles>)";

class LevelSelectTest : public MenuScene {
 protected:
  bool Visible(HUDWindow& screen, const char16_t* name) { return screen.findButton(name)->visible != 0; }
  bool SkullsShown(HUDLevelSelect& screen) {
    for (const RuvFrameEntry* frame : screen.frames) {
      if (frame->name == u"skulls") return frame->visible != 0;
    }
    return false;
  }
};

TEST_F(LevelSelectTest, HardcoreControlsByModeAndStars) {
  struct Case {
    const char* profiles;
    int mode;
    bool locked, unlocked, upgrade, skulls, badge;
    size_t plates, tabs;
  };
  const Case cases[] = {
      {nullptr, 1, true, false, true, false, true, 3, 3},
      {kEpisodeDone, 1, false, true, true, false, true, 3, 3},
      {nullptr, 3, false, false, false, true, false, 1, 0},
  };
  for (const Case& c : cases) {
    if (c.profiles) ReloadProgress(c.profiles);
    mMap->mEpisode = 0;
    mMap->mMode = c.mode;
    HUDLevelSelect screen(*mMap);
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(c.locked, Visible(screen, u"locked_d"));
    EXPECT_EQ(c.unlocked, Visible(screen, u"unlocked_d"));
    EXPECT_EQ(c.upgrade, Visible(screen, u"upgrade"));
    EXPECT_EQ(c.skulls, SkullsShown(screen));
    EXPECT_EQ(c.badge, screen.hardcoreBadge && screen.hardcoreBadge->GetParent() == Board());
    EXPECT_EQ(c.plates, screen.plates.size());
    EXPECT_EQ(c.tabs, screen.tabBar->tabs.size());
    EXPECT_EQ(u"levels", mMap->mReturnScreen);
    EXPECT_EQ(Board(), screen.title->GetParent());
    EXPECT_EQ(c.mode == 3 ? u"ruv/data/fonts/main_42_3" : u"ruv/data/fonts/main_80", screen.title->mFont->GetName());
    if (c.tabs) {
      EXPECT_EQ(1, screen.tabBar->tabs[1]->selected);
    }
    if (c.locked || c.unlocked) {
      for (const char16_t* name : {u"locked_d", u"unlocked_d"}) {
        EXPECT_EQ(857.0f, screen.findButton(name)->rect[0]);
        EXPECT_EQ(448.0f, screen.findButton(name)->rect[1]);
      }
      EXPECT_TRUE(Answers(screen, c.locked ? u"locked_d" : u"unlocked_d"));
    }
    for (const char16_t* name : {u"back"}) EXPECT_TRUE(Answers(screen, name));
  }
  EXPECT_TRUE(Board()->GetChildren().empty());  // every screen took its layers away
}

TEST_F(LevelSelectTest, TabsChangeTheModeAndRebuildThePlatesOutsideHardcore) {
  mMap->mEpisode = 0;
  mMap->mMode = 1;
  HUDLevelSelect screen(*mMap);
  const LevelPlate* before = screen.plates[0].get();
  screen.onMouseDown(300, 180);  // the first tab
  EXPECT_EQ(0, mMap->mMode);
  EXPECT_EQ(0, mMap->mProgress->getMode());
  EXPECT_EQ(3u, screen.plates.size());
  EXPECT_NE(before, screen.plates[0].get());
  EXPECT_EQ(1, screen.tabBar->tabs[0]->selected);
  screen.onMouseDown(10, 10);
  EXPECT_EQ(0, mMap->mMode);
}

TEST_F(LevelSelectTest, PlatesAnswerTheirLevelLockedOrNotAndNewMarksGoAfterOneVisit) {
  mMap->mEpisode = 0;
  mMap->mMode = 1;
  {
    HUDLevelSelect screen(*mMap);
    const int cases[][3] = {{130, 270, 0}, {255, 270, 1}, {380, 270, 2}, {80, 270, -1}, {600, 600, -1}};
    for (const auto& c : cases) EXPECT_EQ(c[2], screen.buttonIndexAt(c[0], c[1])) << c[0];
    EXPECT_FALSE(screen.plates[2]->open);
    EXPECT_TRUE(screen.plates[0]->newBadge != nullptr);
  }
  EXPECT_EQ(3, mMap->mProgress->getEpisodeVisits(0, 1));
  HUDLevelSelect again(*mMap);
  EXPECT_TRUE(again.plates[0]->newBadge == nullptr);
}

TEST_F(LevelSelectTest, HardcoreIsExplainedOnceOverTheScreenAndGivesItsStateBack) {
  mMap->mEpisode = 0;
  mMap->mMode = 1;
  {
    HUDLevelSelect screen(*mMap);
    screen.update(0.01f);
  }
  EXPECT_TRUE(mMap->mHud->pending.empty()) << "not outside hardcore mode";
  EXPECT_FALSE(mMap->mProgress->getEventFlag(HUDLevelSelect::kHardcoreExplainedFlag));
  mMap->mMode = HUDLevelSelect::kHardcoreMode;
  for (int visit = 0; visit < 2; ++visit) {
    mMap->mState = 6;
    HUDLevelSelect screen(*mMap);
    screen.update(0.01f);
    screen.update(0.01f);
  }
  ASSERT_EQ(1u, mMap->mHud->pending.size());
  auto* message = dynamic_cast<HUDModalMessage*>(mMap->mHud->pending[0].get());
  ASSERT_NE(nullptr, message);
  LocalStrings* strings = LocalStrings::Instance();
  EXPECT_EQ(strings->get(u"HardcoreTitle"), message->getText(u"caption"));
  EXPECT_EQ(strings->get(u"HardcoreDescMessage"), message->getText(u"message"));
  EXPECT_EQ(6, message->stateAfterClose);
  EXPECT_EQ(6, mMap->mStateAfterModal);
  EXPECT_TRUE(mMap->mProgress->getEventFlag(HUDLevelSelect::kHardcoreExplainedFlag));
}

}  // namespace
}  // namespace menutest
