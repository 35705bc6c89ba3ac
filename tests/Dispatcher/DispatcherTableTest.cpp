// The screen-state dispatcher: by state and the clicked button's name or index, the new state, the
// screens pushed and popped and what the map did.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DispatchScene.h"
#include "Game/Tables/RuvProgress.h"

namespace dispatchtest {
namespace {

struct DispatchCase {
  int state;
  const char16_t* name;
  int index;
  int blockUI;
  const char16_t* returnName;  // the shops' return names and mReturnScreen
  int expectedState;
  std::string expectedStack;
  float expectedSpeed;  // -1: not checked
  std::vector<std::string> expectedDialogs;  // the modal dialogs shown
};

const DispatchCase kDispatchCases[] = {
    // Playing: the HUD's own buttons.
    {0, u"ok", -1, 0, u"", 0, "", -1, {}},
    {0, u"options_btn", -1, 0, u"", 4, "fake,screen", 0, {}},
    {0, u"pause_btn", -1, 0, u"", 0, "fake", 0, {}},
    {0, u"play_btn_ac", -1, 0, u"", 0, "fake", 0.5f, {}},
    {0, u"play_btn", -1, 0, u"", 0, "fake", 1, {}},
    {0, u"play_btn", -1, 1, u"", 0, "fake", 1, {}},
    {0, u"play_btn", -1, 2, u"", 0, "fake", 0.5f, {}},
    {0, u"speed_btn", -1, 0, u"", 0, "fake", 2, {}},
    {0, u"speed_btn", -1, 1, u"", 0, "fake", 0.5f, {}},
    // Results.
    {1, u"done", -1, 0, u"", 8, "shop", -1, {}},
    {2, u"close", -1, 0, u"", 8, "shop", -1, {}},
    {2, u"menu", -1, 0, u"", 6, "levels", -1, {}},
    // Pause menu.
    {4, u"resume", -1, 0, u"", 0, "", 0.5f, {}},
    {4, u"restart", -1, 0, u"", 4, "fake", -1, {"message"}},
    {4, u"mmenu", -1, 0, u"", 4, "fake", -1, {"message"}},
    {4, u"levels", -1, 0, u"", 4, "fake", -1, {"message"}},
    {4, u"options", -1, 0, u"", 4, "fake", -1, {"options"}},
    {4, u"other", -1, 0, u"", 4, "fake", -1, {}},
    // Episode select.
    {5, u"back", -1, 0, u"", 7, "mmenu", -1, {}},
    {5, u"shop", -1, 0, u"", 8, "shop", -1, {}},
    {5, u"", 0, 0, u"", 6, "levels", -1, {}},
    {5, u"", 7, 0, u"", 5, "fake", -1, {}},
    // Level select.
    {6, u"back", -1, 0, u"", 5, "episodes", -1, {}},
    {6, u"upgrade", -1, 0, u"", 8, "shop", -1, {}},
    {6, u"unlocked_d", -1, 0, u"", 6, "levels", -1, {}},
    {6, u"locked_d", -1, 0, u"", 16, "fake,message", -1, {}},
    // Main menu (only the default profile: no name yet).
    {7, u"play", -1, 0, u"", 14, "fake,input", -1, {}},
    {7, u"shop", -1, 0, u"", 14, "fake,input", -1, {}},
    {7, u"profile", -1, 0, u"", 13, "profiles", -1, {}},
    {7, u"options", -1, 0, u"", 7, "fake", -1, {"options"}},
    // Upgrade shop.
    {8, u"back_ac", -1, 0, u"mmenu", 7, "mmenu", -1, {}},
    {8, u"back_ac", -1, 0, u"levels", 6, "levels", -1, {}},
    {8, u"back_ac", -1, 0, u"episodes", 5, "episodes", -1, {}},
    {8, u"back_ac", -1, 0, u"game", 8, "fake", -1, {}},
    {8, u"gem_shop1", -1, 0, u"", 18, "gem_shop", -1, {}},
    // Unlock message.
    {11, u"ok", -1, 0, u"", 0, "", 1, {}},
    // Profiles and the name input.
    {13, u"create", -1, 0, u"", 14, "fake,input", -1, {}},
    {13, u"confirm", -1, 0, u"", 7, "mmenu", -1, {}},
    {13, u"rename", -1, 0, u"", 13, "fake", -1, {}},
    {14, u"cancel", -1, 0, u"", 13, "", -1, {}},
    {14, u"cancel", -1, 0, u"shop", 7, "", -1, {}},
    // Messages.
    {16, u"ok", -1, 0, u"", 6, "", -1, {}},
    {15, u"ok", -1, 0, u"", 15, "fake", -1, {}},
    // Gem shop and its offers.
    {18, u"back_in", -1, 0, u"game", 0, "", -1, {}},
    {18, u"back_in", -1, 0, u"boost_shop", 24, "boost_shop", -1, {}},
    {18, u"back_in", -1, 0, u"shop0", 8, "shop", -1, {}},
    {18, u"back_in", -1, 0, u"episodes", 5, "episodes", -1, {}},
    {18, u"back_in", -1, 0, u"levels", 6, "levels", -1, {}},
    {18, u"buy_50_cr", -1, 0, u"", 18, "fake", -1, {}},
    {19, u"ok", -1, 0, u"", 18, "gem_shop", -1, {}},
    {19, u"cancel", -1, 0, u"", 0, "", -1, {}},
    {20, u"cancel", -1, 0, u"", 8, "", -1, {}},
    // Buy health: without a store back end the purchase fails at once and the offer returns.
    {22, u"ok", -1, 0, u"", 22, "dialog", -1, {}},
    {22, u"cancel", -1, 0, u"", 2, "screen", -1, {}},
    // Premium reset.
    {26, u"ok", -1, 0, u"", 8, "", -1, {}},
    {26, u"cancel", -1, 0, u"", 8, "", -1, {}},
    // Passed on to the screen.
    {3, u"ok", -1, 0, u"", 3, "fake", -1, {}},
    {23, u"ok", -1, 0, u"", 23, "fake", -1, {}},
    {24, u"back", -1, 0, u"", 24, "fake", -1, {}},
};

TEST_F(DispatchTest, ActsByStateAndButtonName) {
  for (const DispatchCase& c : kDispatchCases) {
    const std::string label = std::to_string(c.state) + " " + std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
    Dialogs();
    mMap->mHud->blockUI = c.blockUI;
    mMap->mHud->shopReturnScreen = c.returnName;
    mMap->mHud->gemShopReturnScreen = c.returnName;
    mMap->mReturnScreen = c.returnName;
    mMap->mStateAfterModal = 6;
    mMap->mMode = 1;
    mMap->mSpeed = 0.5f;
    mMap->mState = c.state;
    Top(c.name, c.index);
    Release();
    EXPECT_EQ(mMap->mState, c.expectedState) << label;
    EXPECT_EQ(Stack(), c.expectedStack) << label;
    if (c.expectedSpeed >= 0.0f) {
      EXPECT_EQ(mMap->mSpeed, c.expectedSpeed) << label;
    }
    EXPECT_EQ(Dialogs(), c.expectedDialogs) << label;
  }
}

TEST_F(DispatchTest, NamedProfileGoesStraightOn) {
  mMap->mProgress->createProfile(u"Bo");
  mMap->mProgress->refreshProfileNames();
  struct Case {
    int state;
    const char16_t* name;
    int expectedState;
    std::string expectedStack;
    std::u16string returnScreen;
  };
  const Case cases[] = {
      {7, u"play", 5, "episodes", u""},
      {7, u"shop", 8, "shop", u""},
      {13, u"rename", 15, "fake,input", u""},
  };
  for (const Case& c : cases) {
    mMap->mState = c.state;
    mMap->mReturnScreen.clear();
    Top(c.name);
    Release();
    EXPECT_EQ(mMap->mState, c.expectedState);
    EXPECT_EQ(Stack(), c.expectedStack);
    EXPECT_EQ(mMap->mReturnScreen, c.returnScreen);
  }
  mMap->mState = 7;
  Top(u"shop");
  Release();
  EXPECT_EQ(mMap->mHud->shopReturnScreen, u"mmenu");
}

TEST_F(DispatchTest, UnnamedProfileAsksForAName) {
  for (const char16_t* name : {u"play", u"shop"}) {
    mMap->mState = 7;
    Top(name);
    Release();
    EXPECT_EQ(mMap->mReturnScreen, name == std::u16string(u"play") ? u"mmenu" : u"shop");
  }
}

TEST_F(DispatchTest, ReleasesArePassedOnToTheTopScreen) {
  for (int state : {3, 4, 12, 23, 24}) {
    mMap->mState = state;
    FakeTopScreen& top = Top(u"nothing");
    Release();
    EXPECT_EQ(top.releases, 1) << state;
  }
}

TEST_F(DispatchTest, ReturnNamesFollowTheScreens) {
  mMap->mState = 5;
  Top(u"shop");
  Release();
  EXPECT_EQ(mMap->mHud->shopReturnScreen, u"episodes");
  mMap->mState = 8;
  Top(u"gem_shop0");
  Release();
  EXPECT_EQ(mMap->mHud->gemShopReturnScreen, u"shop0");
  mMap->mState = 1;
  Top(u"done");
  Release();
  EXPECT_EQ(mMap->mHud->shopReturnScreen, u"game");
}

TEST_F(DispatchTest, LevelSelectHardcoreTabs) {
  mMap->mState = 6;
  mMap->mMode = 3;
  Top(u"back");
  Release();
  EXPECT_EQ(mMap->mMode, mMap->mProgress->getMode());
  EXPECT_EQ(mMap->mState, 6);
  EXPECT_EQ(Stack(), "levels");
  Top(u"unlocked_d");
  Release();
  EXPECT_EQ(mMap->mMode, 3);
}

TEST_F(DispatchTest, ConfirmedCommands) {
  struct Case {
    const char16_t* command;
    int state;
    std::string stack;
  };
  const Case cases[] = {{u"mmenu", 7, "mmenu"}, {u"levels", 6, "levels"}, {u"other", 4, "fake"}};
  for (const Case& c : cases) {
    mMap->mState = 4;
    Top(u"");
    mMap->runConfirmedCommand(c.command);
    mMap->mHud->update(0.0f);
    EXPECT_EQ(mMap->mState, c.state);
    EXPECT_EQ(Stack(), c.stack);
  }
}

}  // namespace
}  // namespace dispatchtest
