// The episode select on the sample data (two episodes of 3 + 1 levels, the second needs 9 stars; a
// third plate for the setup row after a gap, coming soon):
// texts, the chosen-episode table, arrows, dragging through the screen's own handlers and the play
// button's fade.
#include <gtest/gtest.h>

#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvDataSheet.h"
#include "Game/Screens/HUDEpisodeSelect.h"
#include "MenuScene.h"

namespace menutest {
namespace {

constexpr char kNineStars[] =
    R"(<Profiles currentProfile="A"><Profile name="A"><levels>)"
    R"(<level episode="0" n="0" mode="1" stars="3"/><level episode="0" n="1" mode="1" stars="3"/>)"
    R"(<level episode="0" n="2" mode="1" stars="3"/></levels></Profile></Profiles>)";

class EpisodeSelectTest : public MenuScene {
 protected:
  void SetLastEpisode(int episode) { mMap->mProgress->getProfileElement()->SetAttribute("lastEpisode", episode); }
  int PlayX() const { return 512; }
  static constexpr int kPlayY = 636;  // "button/play": (432, 604) 160 x 64
};

TEST_F(EpisodeSelectTest, ShowsTitleCaptionStarsAndAPlatePerEpisode) {
  HUDEpisodeSelect screen(*mMap);
  ASSERT_EQ(3, screen.carousel->plateCount());
  EXPECT_EQ(u"Episodes", screen.getText(u"caption"));
  EXPECT_EQ(u"Greenvale", screen.getText(u"levelName"));
  EXPECT_EQ(u"0/72", screen.getText(u"stars"));  // 9 per counted level, 8 levels
  EXPECT_EQ(u"Collect 9 stars to open", screen.carousel->plates[1].text);
  EXPECT_EQ(screen.lockOverlay.get(), screen.carousel->plates[1].lock);
  EXPECT_EQ(screen.newOverlay.get(), screen.carousel->plates[0].newOverlay);
  EXPECT_EQ(u"Coming soon", screen.carousel->plates[2].text);
  EXPECT_EQ(screen.lockOverlay.get(), screen.carousel->plates[2].lock);
  for (const char16_t* name : {u"back", u"shop", u"play"}) EXPECT_TRUE(Answers(screen, name)) << name;
}

TEST_F(EpisodeSelectTest, TheChosenEpisodeNeedsARestingStripAndTheStarGate) {
  struct Case {
    const char* profiles;
    int last;
    int state;
    int x, y;
    int chosen;
  };
  const Case cases[] = {
      {nullptr, 0, EpisodeCarousel::kIdle, 512, 384, 0},
      {nullptr, 0, EpisodeCarousel::kIdle, 323, 201, 0},
      {nullptr, 0, EpisodeCarousel::kIdle, 322, 384, -1},
      {nullptr, 0, EpisodeCarousel::kIdle, 512, 570, -1},
      {nullptr, 0, EpisodeCarousel::kReturningFromRight, 512, 384, -1},
      {nullptr, 0, EpisodeCarousel::kDragging, 512, 384, -1},
      {nullptr, 0, EpisodeCarousel::kReturningFromLeft, 512, kPlayY, 0},  // "play" answers while moving
      {nullptr, 1, EpisodeCarousel::kIdle, 512, 384, -1},                  // short of stars
      {kNineStars, 1, EpisodeCarousel::kIdle, 512, 384, 1},
      {nullptr, 2, EpisodeCarousel::kIdle, 512, 384, -1},                  // coming soon
      {nullptr, 0, EpisodeCarousel::kIdle, 100, 100, -1},
  };
  for (const Case& c : cases) {
    if (c.profiles) ReloadProgress(c.profiles);
    SetLastEpisode(c.last);
    HUDEpisodeSelect screen(*mMap);
    screen.carousel->state = c.state;
    EXPECT_EQ(c.chosen, screen.buttonIndexAt(c.x, c.y)) << c.x << "," << c.y << " state " << c.state;
  }
}

TEST_F(EpisodeSelectTest, ArrowsShowWhereThereIsANeighbourAndMoveTheStrip) {
  struct Case {
    int last;
    bool left, right;
  };
  const Case cases[] = {{0, false, true}, {1, true, true}, {2, true, false}, {5, true, false}};
  for (const Case& c : cases) {
    SetLastEpisode(c.last);
    HUDEpisodeSelect screen(*mMap);
    screen.update(0.0f);
    EXPECT_EQ(c.left, screen.findButton(u"arrow_left")->visible != 0) << c.last;
    EXPECT_EQ(c.right, screen.findButton(u"arrow_right")->visible != 0) << c.last;
  }
  SetLastEpisode(0);
  HUDEpisodeSelect screen(*mMap);
  screen.update(0.0f);
  EXPECT_EQ(-1, screen.buttonIndexAt(864, 384));  // "arrow_right"
  EXPECT_EQ(1, screen.carousel->current);
  EXPECT_EQ(-320.0f, screen.carousel->offset);
  EXPECT_EQ(HUDEpisodeSelect::kPlayFadingOut, screen.playFade);
  EXPECT_EQ(-1, screen.buttonIndexAt(160, 384));  // "arrow_left" not while the strip moves
  EXPECT_EQ(1, screen.carousel->current);
}

TEST_F(EpisodeSelectTest, APressOffTheButtonsDragsTheStripAndThePlayButtonFades) {
  HUDEpisodeSelect screen(*mMap);
  screen.onMouseDown(600, 300);
  screen.onMouseMove(600, 300);
  EXPECT_EQ(EpisodeCarousel::kDragging, screen.carousel->state);
  screen.onMouseMove(480, 320);
  EXPECT_EQ(120.0f, screen.carousel->offset);
  RuvButtonFrame* play = screen.findButton(u"play");
  screen.update(0.1f);
  EXPECT_FLOAT_EQ(0.6f, play->colour.a);
  screen.update(0.2f);
  EXPECT_EQ(HUDEpisodeSelect::kPlayHidden, screen.playFade);
  EXPECT_FALSE(play->visible);
  screen.onMouseUp(480, 320);
  EXPECT_EQ(1, screen.carousel->current);
  EXPECT_EQ(0, screen.pressOffButton);
  screen.update(0.2f);  // offset -200 + 160
  EXPECT_EQ(HUDEpisodeSelect::kPlayHidden, screen.playFade);
  screen.update(0.1f);  // at rest: the button fades in
  EXPECT_EQ(HUDEpisodeSelect::kPlayFadingIn, screen.playFade);
  EXPECT_TRUE(play->visible);
  EXPECT_FLOAT_EQ(0.4f, play->colour.a);
  screen.update(0.2f);
  EXPECT_EQ(HUDEpisodeSelect::kPlayShown, screen.playFade);
}

TEST_F(EpisodeSelectTest, NoDragFromAButtonOrOutsideTheBand) {
  struct Case {
    int pressX, pressY, moveY;
  };
  const Case cases[] = {{100, 720, 300}, {600, 300, 175}, {600, 300, 575}};  // "back"; off band
  for (const Case& c : cases) {
    HUDEpisodeSelect screen(*mMap);
    screen.onMouseDown(c.pressX, c.pressY);
    screen.onMouseMove(500, c.moveY);
    screen.onMouseMove(400, c.moveY);
    EXPECT_EQ(EpisodeCarousel::kIdle, screen.carousel->state) << c.pressY << " " << c.moveY;
    EXPECT_EQ(0.0f, screen.carousel->offset);
  }
}

TEST_F(EpisodeSelectTest, AnEpisodeWithoutASetupRowIsComingSoonAndLocked) {
  mMap->mEpisodes[3] = RuvEpisodeSetup{3, 1, 0};  // three rows: the third plate is episode 2, rowless
  HUDEpisodeSelect screen(*mMap);
  ASSERT_EQ(3, screen.carousel->plateCount());
  EXPECT_EQ(u"Coming soon", screen.carousel->plates[2].text);
  EXPECT_EQ(screen.lockOverlay.get(), screen.carousel->plates[2].lock);
}

}  // namespace
}  // namespace menutest
