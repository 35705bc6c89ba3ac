// The temporary screen stack: pushes join on the next update, closed screens go with onClose, the
// logo screens lead to the main menu state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BattleMapScene.h"
#include "Game/Battle/RuvWallet.h"
#include "Game/Screens/StandInScreens.h"

namespace {

struct ClosingScreen : HUDWindow {
  ClosingScreen(std::vector<std::string>& calls, std::string screenName) : log(calls), name(std::move(screenName)) {}
  void update(float dt) override {
    HUDWindow::update(dt);
    log.push_back("update " + name);
  }
  void onClose() override { log.push_back("close " + name); }
  std::vector<std::string>& log;
  std::string name;
};

class StandInHudTest : public battletest::BattleMapTest {};

TEST_F(StandInHudTest, StackJoinsOnUpdateAndDropsClosedScreens) {
  HUD& hud = *mMap->mHud;
  std::vector<std::string> calls;
  hud.pushWindow(new ClosingScreen(calls, "a"));
  hud.pushWindow(new ClosingScreen(calls, "b"));
  EXPECT_TRUE(hud.stack.empty());
  hud.update(0.1f);
  ASSERT_EQ(hud.stack.size(), 2u);
  EXPECT_TRUE(calls.empty());  // their first update comes with the next one
  hud.stack[0]->open = 0;
  hud.update(0.1f);
  EXPECT_EQ(calls, (std::vector<std::string>{"update a", "update b", "close a"}));
  ASSERT_EQ(hud.stack.size(), 1u);
  hud.popWindow();  // at once, without onClose
  EXPECT_TRUE(hud.stack.empty());
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(StandInHudTest, LogoScreensEndInTheMainMenuState) {
  // The sample data's logos; a click on each skips it.
  mMap->mHud->pushSplashScreens();
  EXPECT_EQ(mMap->mState, 12);
  mMap->update(0.0f);
  ASSERT_EQ(mMap->mHud->stack.size(), 1u);
  HUDWindow& splash = *mMap->mHud->stack[0];
  std::u16string answer;
  for (int i = 0; i < 10 && answer.empty(); ++i) answer = splash.buttonNameAt(0, 0);
  EXPECT_EQ(answer, u"done");
  mMap->update(0.1f);
  EXPECT_TRUE(mMap->mHud->stack.empty());
  EXPECT_EQ(mMap->mState, 7);
}

TEST_F(StandInHudTest, CounterTexts) {
  mMap->mWallet->shownMoney = 250;
  mMap->mWallet->gems = 12;
  mMap->mLives = 17.5f;
  mMap->mMaxLives = 20.0f;
  mMap->updateCoinsText();
  mMap->updateCrystalsText();
  mMap->mHud->updateLivesText();
  EXPECT_EQ(mMap->mHud->getText(u"text/coins"), u"250");
  EXPECT_EQ(mMap->mHud->getText(u"text/crystals"), u"12");
  EXPECT_EQ(mMap->mHud->getText(u"text/mana"), u"17.5/20");
}

}  // namespace
