// The battle's own clicks while playing: the early wave call, spot and tower menus, spell buttons.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DispatchScene.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Battle/RuvLevelFile.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Battle/RuvTower.h"

namespace dispatchtest {
namespace {

class EarlyCallTest : public DispatchTest {
 protected:
  // One mark over (100..140, 200..240); the group is due at 10 s, the manager's clock at 6.6 s.
  void PlaceMark() {
    RuvWaveHint& hint = *mMap->mWaveHint;
    hint.clear();
    auto mark = std::make_unique<RuvFrameEntry>();
    const float rect[4] = {100.0f, 200.0f, 40.0f, 40.0f};
    std::copy(rect, rect + 4, mark->rect);
    hint.marks.push_back(std::move(mark));
    hint.dueTime = 10.0f;
    mMap->mWaves->setClock(6.6f);
  }
};

TEST_F(EarlyCallTest, PaysTwiceTheSecondsSavedUnlessTheTutorialBlocks) {
  struct Case {
    int blockUI;
    bool called;
  };
  const Case cases[] = {{0, true}, {1, false}, {2, false}, {3, true}};
  for (const Case& c : cases) {
    PlaceMark();
    mMap->mWallet->money = 0;
    mMap->mPopups->popups.clear();
    mMap->mHud->blockUI = c.blockUI;
    mMap->onMouseDown(120, 220);
    EXPECT_EQ(mMap->mWallet->money, c.called ? 6 : 0) << c.blockUI;
    EXPECT_EQ(mMap->mWaveHint->marks.empty(), c.called) << c.blockUI;
    EXPECT_FLOAT_EQ(mMap->mWaves->clock, c.called ? 10.0f : 6.6f) << c.blockUI;
    ASSERT_EQ(mMap->mPopups->popups.size(), c.called ? 1u : 0u);
    if (c.called) {
      EXPECT_EQ(mMap->mPopups->popups.front()->text, u"+ 6");
      EXPECT_EQ(mMap->mPopups->popups.front()->kind, 4);
    }
    for (RuvPopup* popup : mMap->mPopups->popups) delete popup;
    mMap->mPopups->popups.clear();
  }
}

TEST_F(EarlyCallTest, PressBesideTheMarkCallsNothing) {
  PlaceMark();
  for (const auto& point : {std::pair<int, int>{100, 220}, {140, 220}, {120, 200}, {90, 90}}) {
    mMap->onMouseDown(point.first, point.second);
    EXPECT_EQ(mMap->mWallet->money, 0);
    EXPECT_FALSE(mMap->mWaveHint->marks.empty());
  }
}

TEST(WaveHintTest, MarksStayInsideTheScreenAndOutOfTheBars) {
  // A 64 x 48 stand-in image is not needed: the rules are checked through the rectangle alone.
  struct Case {
    float x, y, left, top;
  };
  const Case cases[] = {
      {-20.0f, 50.0f, 0.0f, 100.0f}, {300.7f, 300.2f, 300.0f, 300.0f}, {2000.0f, 700.0f, 1024.0f, 668.0f},
      {500.0f, 99.9f, 500.0f, 100.0f}, {500.0f, 668.5f, 500.0f, 668.0f},
  };
  for (const Case& c : cases) {
    RuvWaveHint hint(nullptr);
    hint.addHint(c.x, c.y);
    ASSERT_EQ(hint.marks.size(), 1u);
    EXPECT_EQ(hint.marks[0]->rect[0], c.left) << c.x;
    EXPECT_EQ(hint.marks[0]->rect[1], c.top) << c.y;
  }
}

class SpotMenuTest : public DispatchTest {
 protected:
  void SetUp() override {
    DispatchTest::SetUp();
    mMap->mSpots = std::make_unique<RuvSpotList>();
    AddSpot(100.0f, 300.0f, true);
    AddSpot(400.0f, 300.0f, true);
    AddSpot(700.0f, 300.0f, false);
  }
  void AddSpot(float x, float y, bool free) {
    auto definition = std::make_unique<RuvSpot>(RuvLevelSpot());
    definition->x = x;
    definition->y = y;
    definition->isFree = free ? 1 : 0;
    auto entry = std::make_unique<RuvFrameEntry>();
    entry->name = u"#" + std::u16string(1, char16_t(u'0' + mSpotDefs.size()));
    const float rect[4] = {x - 20.0f, y - 20.0f, 40.0f, 40.0f};
    std::copy(rect, rect + 4, entry->rect);
    entry->owner = definition.get();
    mMap->mSpots->spots.push_back(entry.get());
    mMap->mSpots->scenery.push_back(entry.release());
    mSpotDefs.push_back(std::move(definition));
  }
  RuvFrameEntry* Spot(size_t i) { return mMap->mSpots->spots[i]; }

  std::vector<std::unique_ptr<RuvSpot>> mSpotDefs;
};

TEST_F(SpotMenuTest, AnotherSpotClosesTheMenuASecondReleaseOpensIt) {
  Release(100, 310);
  ASSERT_TRUE(mMap->mRadialMenu);
  EXPECT_EQ(mMap->mRadialMenu->spot, Spot(0));
  EXPECT_EQ(mMap->mRadialMenu->mode, 1);
  EXPECT_EQ(mMap->mRadialMenu->centreX, 100.0f);
  EXPECT_EQ(mMap->mRadialMenu->centreY, 300.0f);
  Release(400, 300);
  EXPECT_FALSE(mMap->mRadialMenu);
  Release(400, 300);
  ASSERT_TRUE(mMap->mRadialMenu);
  EXPECT_EQ(mMap->mRadialMenu->spot, Spot(1));
  Release(400, 300);
  EXPECT_EQ(mMap->mRadialMenu->phase, RuvRadialMenu::kClosing);
}

TEST_F(SpotMenuTest, UnboughtSpotOffersItselfHiddenSpotIsMissed) {
  Release(700, 300);
  ASSERT_TRUE(mMap->mRadialMenu);
  EXPECT_EQ(mMap->mRadialMenu->mode, 2);
  mMap->mRadialMenu.reset();
  Spot(0)->visible = 0;
  Release(100, 300);
  EXPECT_FALSE(mMap->mRadialMenu);
  Release(100, 341);
  EXPECT_FALSE(mMap->mRadialMenu);
}

TEST_F(SpotMenuTest, TutorialOpensOnlyItsSpot) {
  mMap->mTutorialSpot = 1;
  Release(100, 300);
  EXPECT_FALSE(mMap->mRadialMenu);
  Release(400, 300);
  EXPECT_TRUE(mMap->mRadialMenu);
}

TEST_F(SpotMenuTest, SpotsAndTowersAreHitAtTheWholeMapPixel) {
  mMap->mTowers.push_back(std::make_unique<RuvTower>(*mMap));
  mMap->mTowers.back()->position = math::Point2(250.0f, 500.0f);
  // A view shifted by a fraction of a pixel: the release lands between map pixels.
  mMap->mViewX = -0.75f;
  Release(140, 300);  // 140.75, taken as 140: exactly 40 pixels from the spot
  ASSERT_TRUE(mMap->mRadialMenu);
  EXPECT_EQ(mMap->mRadialMenu->spot, Spot(0));
  mMap->mRadialMenu.reset();
  mMap->mViewX = -0.4f;
  Release(200, 500);  // 200.4 would be 49.6 pixels from the tower; taken as 200 it is 50
  EXPECT_FALSE(mMap->mRadialMenu);
  Release(201, 500);  // 201.4, taken as 201: 49
  ASSERT_TRUE(mMap->mRadialMenu);
  EXPECT_EQ(mMap->mRadialMenu->tower.get(), mMap->mTowers.back().get());
}

class SpellButtonTest : public DispatchTest {
 protected:
  // Spell 0 is locked at this level: the buttons hold spells 1, 2 and 4 at indexes 0, 1 and 2.
  void SetUp() override {
    DispatchTest::SetUp();
    mMap->mSpells = std::make_unique<RuvSpellSheet>("#;x\nmeteor;3004;a;b;1\nhold;3004;a;b;2\nboost;3004;a;b;4\n");
    for (int number : {1, 2, 4}) {
      mMap->mHud->spellButtons.push_back(std::make_unique<HUDSpellButton>(*mMap, number));
      mMap->mHud->spellButtons.back()->index = int(mMap->mHud->spellButtons.size()) - 1;
    }
  }
  HUDSpellButton* Button(size_t i) { return mMap->mHud->spellButtons[i].get(); }
  void Click(int index) {
    Top(u"", index);
    Release();
  }
  size_t Bullets() const { return mMap->mBullets->bullets.size(); }
};

TEST_F(SpellButtonTest, ArmDisarmAndCastWithALockedLowerSpell) {
  Click(1);
  EXPECT_EQ(mMap->mArmedSpell, Button(1));
  Click(1);
  EXPECT_EQ(mMap->mArmedSpell, nullptr);
  Click(0);
  EXPECT_EQ(mMap->mArmedSpell, Button(0));
  Click(1);
  EXPECT_EQ(mMap->mArmedSpell, Button(1));
  Click(-1);
  EXPECT_EQ(mMap->mArmedSpell, nullptr);
  EXPECT_EQ(Bullets(), 1u);
  EXPECT_TRUE(Button(1)->pressed);
  EXPECT_FALSE(Button(0)->pressed);
}

TEST_F(SpellButtonTest, BoostCastsAtOnceByItsNumber) {
  Click(2);
  EXPECT_EQ(mMap->mArmedSpell, nullptr);
  EXPECT_EQ(Bullets(), 1u);
  EXPECT_TRUE(Button(2)->pressed);
}

TEST_F(SpellButtonTest, RefusedWhileBlockedOrUnusable) {
  struct Case {
    int blockUI;
    int index;
  };
  const Case cases[] = {{1, 0}, {0, -2}, {0, 3}};
  for (const Case& c : cases) {
    mMap->mHud->blockUI = c.blockUI;
    Click(c.index);
    EXPECT_EQ(mMap->mArmedSpell, nullptr) << c.index;
    EXPECT_EQ(Bullets(), 0u);
  }
}

TEST_F(SpellButtonTest, ArmedSpellWaitsOnTheHud) {
  Click(0);
  Top(u"pause_btn", 5);
  Release();
  EXPECT_EQ(mMap->mArmedSpell, Button(0));
  EXPECT_EQ(Bullets(), 0u);
}

}  // namespace
}  // namespace dispatchtest

namespace dispatchtest {
namespace {

struct PressCountingScreen : FakeTopScreen {
  void onMouseDown(int, int) override { ++presses; }
  int presses = 0;
};

TEST_F(DispatchTest, PressesReachTheTopScreenUnlessTheMapTakesThem) {
  auto screen = std::make_unique<PressCountingScreen>();
  PressCountingScreen& top = *screen;
  mMap->mHud->stack.push_back(std::move(screen));
  mMap->onMouseDown(10, 10);
  EXPECT_EQ(top.presses, 1);
  mMap->mRadialMenu = std::make_unique<RuvRadialMenu>();
  mMap->onMouseDown(10, 10);
  EXPECT_EQ(top.presses, 1);
  mMap->mRadialMenu->active = 0;
  mMap->onMouseDown(10, 10);
  EXPECT_EQ(top.presses, 2);
  mMap->mState = 12;
  top.name = u"done";
  mMap->onMouseDown(10, 10);  // the logo screens are popped, not pressed
  EXPECT_EQ(mMap->mState, 7);
  EXPECT_TRUE(mMap->mHud->stack.empty());
}

TEST_F(DispatchTest, TowerMenuOpensOnATowerAndClosesOnASecondRelease) {
  mMap->mTowers.push_back(std::make_unique<RuvTower>(*mMap));
  RuvTower& tower = *mMap->mTowers.back();
  tower.position = math::Point2(300.0f, 300.0f);
  Top(u"");
  Release(320, 330);
  ASSERT_TRUE(mMap->mRadialMenu);
  EXPECT_EQ(mMap->mRadialMenu->tower.get(), &tower);
  EXPECT_EQ(mMap->mRadialMenu->mode, 0);
  EXPECT_EQ(mMap->mRadialMenu->centreX, 300.0f);
  Release(300, 349);
  EXPECT_EQ(mMap->mRadialMenu->phase, RuvRadialMenu::kClosing);
  mMap->mRadialMenu.reset();
  Release(300, 350);
  EXPECT_FALSE(mMap->mRadialMenu);
}

}  // namespace
}  // namespace dispatchtest
