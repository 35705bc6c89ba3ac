// The HUD's screen stack: when pushes join, which screen is asked, closing and popping, the
// typed pushes' states, nextLevel, and the HUD's own layout, counters and draw gating.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamesupport/BattleMapScene.h"
#include "gamesupport/DrawnScreen.h"
#include "Core/Gui/GameControl.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDMainMenu.h"

namespace {

using CallLog = std::vector<std::string>;

// Records its calls as "<call> <name>"; answers button names and indices of its own.
struct ProbeScreen : HUDWindow {
  ProbeScreen(CallLog& calls, std::string screenName, int answer = -1)
      : log(calls), name(std::move(screenName)), index(answer) {}
  ~ProbeScreen() override { log.push_back("delete " + name); }
  void update(float dt) override {
    HUDWindow::update(dt);
    log.push_back("update " + name);
    if (closeOnUpdate) open = 0;
    if (pushOnUpdate) {
      hud->pushWindow(pushOnUpdate);
      pushOnUpdate = nullptr;
    }
  }
  void onClose() override { log.push_back("close " + name); }
  void refresh() override { log.push_back("refresh " + name); }
  void onMouseMove(int, int) override { log.push_back("move " + name); }
  void onMouseDown(int, int) override { log.push_back("down " + name); }
  void onMouseUp(int, int) override { log.push_back("up " + name); }
  void onWheel(int) override { log.push_back("wheel " + name); }
  void onChar(int) override { log.push_back("char " + name); }
  void onKey(int) override { log.push_back("key " + name); }
  int buttonIndexAt(int, int) override { return index; }
  std::u16string buttonNameAt(int, int) override { return std::u16string(name.begin(), name.end()); }

  CallLog& log;
  std::string name;
  int index;
  bool closeOnUpdate = false;
  HUD* hud = nullptr;
  HUDWindow* pushOnUpdate = nullptr;
};

class HudStackTest : public battletest::BattleMapTest {
 protected:
  void SetUp() override {
    gui::GameControlHelper::SetRender(&mRender);  // the HUD's font
    BattleMapTest::SetUp();
  }
  void TearDown() override {
    BattleMapTest::TearDown();
    gui::GameControlHelper::SetRender(nullptr);
  }
  HUD& Hud() { return *mMap->mHud; }
  // 250 coins, 12 gems, 17.5 of 20 lives, written into the HUD's counters.
  void SetCounters() {
    mMap->mWallet->shownMoney = 250;
    mMap->mWallet->gems = 12;
    mMap->mLives = 17.5f;
    mMap->mMaxLives = 20.0f;
    mMap->updateCoinsText();
    mMap->updateCrystalsText();
    Hud().updateLivesText();
  }
  ProbeScreen* Push(const std::string& name, int answer = -1) {
    auto* screen = new ProbeScreen(mCalls, name, answer);
    screen->hud = &Hud();
    Hud().pushWindow(screen);
    return screen;
  }
  std::vector<std::string> StackNames() {
    std::vector<std::string> names;
    for (const auto& screen : Hud().stack) names.push_back(static_cast<ProbeScreen&>(*screen).name);
    return names;
  }
  CallLog mCalls;
};

TEST_F(HudStackTest, PushesJoinAtTheEndOfTheNextUpdate) {
  Push("a");
  Push("b");
  EXPECT_EQ(Hud().phase, 1) << "a push onto an empty stack starts the fade";
  EXPECT_TRUE(Hud().stack.empty());
  Hud().update(0.05f);
  EXPECT_EQ(StackNames(), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(mCalls.empty()) << "their first update comes with the next one";
  EXPECT_EQ(Hud().phase, 1);
  Hud().update(0.05f);
  EXPECT_EQ(Hud().phase, 2) << "past 0.1 s";
  EXPECT_EQ(mCalls, (CallLog{"update a", "update b"}));
}

TEST_F(HudStackTest, PushDuringAStackedUpdateJoinsAtItsEnd) {
  ProbeScreen* a = Push("a");
  Hud().update(0.0f);
  a->pushOnUpdate = new ProbeScreen(mCalls, "c");
  Hud().update(0.0f);
  EXPECT_EQ(StackNames(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(mCalls, (CallLog{"update a"}));
}

TEST_F(HudStackTest, ClosedScreensGoInTheSameUpdateAfterOnClose) {
  Push("a");
  ProbeScreen* b = Push("b");
  Push("c");
  Hud().update(0.0f);
  b->closeOnUpdate = true;
  Hud().stack[0]->open = 0;
  Hud().update(0.0f);
  EXPECT_EQ(mCalls, (CallLog{"update a", "update b", "update c", "close a", "close b", "delete a", "delete b"}));
  EXPECT_EQ(StackNames(), (std::vector<std::string>{"c"}));
  mCalls.clear();
  Push("d");
  Hud().popWindow();
  EXPECT_EQ(mCalls, (CallLog{"delete c"})) << "at once, without onClose; the pending screen stays";
  EXPECT_EQ(Hud().pending.size(), 1u);
  Hud().popWindow();
  Hud().refreshTop();
  mCalls.clear();
  Push("e");
  mMap.reset();
  EXPECT_EQ(mCalls, (CallLog{"delete d", "delete e"})) << "pending screens go with the HUD";
}

TEST_F(HudStackTest, RoutingAsksTheRightScreens) {
  Push("bottom", 4);
  Push("top");
  Hud().update(0.0f);
  Hud().onMouseMove(1, 2);
  Hud().onMouseDown(1, 2);
  Hud().onMouseUp(1, 2);
  Hud().onWheel(1);
  Hud().broadcastChar('x');
  Hud().broadcastKey(13);
  Hud().refreshTop();
  EXPECT_EQ(mCalls, (CallLog{"move top", "down top", "up top", "wheel bottom", "wheel top", "char bottom",
                             "char top", "key bottom", "key top", "refresh top"}));
  EXPECT_EQ(Hud().buttonNameAt(720, 20), u"top") << "only the top screen answers names";
  EXPECT_EQ(Hud().buttonIndexAt(720, 20), 4) << "indices from the top down, the first other than -1";
  static_cast<ProbeScreen&>(*Hud().stack[0]).index = -1;
  EXPECT_EQ(Hud().buttonIndexAt(720, 20), -1) << "the HUD's own buttons are not asked";
}

TEST_F(HudStackTest, OwnLayoutAndButtonsWithAnEmptyStack) {
  ASSERT_EQ(Hud().spellSlots.size(), 5u);
  EXPECT_EQ(Hud().spellSlots[0]->name, u"slot0");
  for (const char16_t* slot : {u"text/crystals", u"text/mana", u"text/coins", u"text/waves"}) {
    EXPECT_EQ(Hud().textSlots.count(slot), 1u) << "full layer names";
  }
  std::vector<std::u16string> names;
  for (const RuvButtonFrame* button : Hud().buttons) names.push_back(button->name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"pause_btn", u"pause_btn_ac", u"play_btn", u"play_btn_ac",
                                                u"speed_btn", u"speed_btn_ac", u"options_btn", u"options_btn_ac"}));
  // The sample layout's options button at (960, 4, 48, 48); the speed twins share one place.
  EXPECT_EQ(Hud().buttonNameAt(980, 20), u"options_btn");
  EXPECT_EQ(Hud().buttonIndexAt(980, 20), 6);
  EXPECT_EQ(Hud().buttonNameAt(500, 400), u"");
  EXPECT_EQ(Hud().buttonIndexAt(500, 400), -1);
}

TEST_F(HudStackTest, TypedPushesSetTheirStates) {
  struct Case {
    const char* name;
    void (*push)(HUD&);
    int state;
    size_t pushed;
  };
  const Case cases[] = {
      {"main menu", [](HUD& hud) { hud.pushMainMenu(); }, 7, 1},
      {"episode select", [](HUD& hud) { hud.pushEpisodeSelect(); }, 5, 1},
      {"level select", [](HUD& hud) { hud.pushLevelSelect(); }, 6, 1},
      {"dialog", [](HUD& hud) { hud.pushModalDialog(u"caption", u"message", 22); }, 16, 1},
      {"logos", [](HUD& hud) { hud.pushSplashScreens(); }, 12, 1},
  };
  for (const Case& c : cases) {
    Hud().pending.clear();
    mMap->mState = 0;
    c.push(Hud());
    EXPECT_EQ(mMap->mState, c.state) << c.name;
    EXPECT_EQ(Hud().pending.size(), c.pushed) << c.name;
  }
  EXPECT_EQ(mMap->mStateAfterModal, 22);
}

TEST_F(HudStackTest, NextLevelOrTheEpisodeSelect) {
  const int normal = mMap->levelCount(0);
  const int hardcore = mMap->hardcoreLevelCount(0);
  ASSERT_GT(normal, 1);
  ASSERT_GT(hardcore, 0);
  struct Case {
    int mode, level, state, modeAfter;
  };
  const Case cases[] = {
      {1, normal - 1, 5, 1},           // one past the last level: the episode select
      {3, hardcore - 1, 5, mMap->mMode},  // hardcore: back to the profile's mode
  };
  for (const Case& c : cases) {
    mMap->mMode = c.mode;
    mMap->mLevel = c.level;
    mMap->mEpisode = 0;
    Hud().nextLevel();
    EXPECT_EQ(mMap->mLevel, c.level + 1) << c.mode;
    EXPECT_EQ(mMap->mState, c.state) << c.mode;
    EXPECT_EQ(mMap->mMode, c.modeAfter) << c.mode;
  }
  mMap->mMode = 1;
  mMap->mLevel = 0;
  Hud().nextLevel();
  EXPECT_EQ(mMap->mLevel, 1);
  EXPECT_EQ(mMap->mLevelPath, u"ruv/levels_normal/level_01_02.xml") << "the next level starts";
  EXPECT_EQ(mMap->mState, 11) << "with the message of its unlocks";
}

TEST_F(HudStackTest, LogoScreensEndInTheMainMenuState) {
  // The sample data's logos; a click on each skips it.
  Hud().pushSplashScreens();
  EXPECT_EQ(mMap->mState, 12);
  mMap->update(0.0f);
  ASSERT_EQ(Hud().stack.size(), 1u);
  HUDWindow& splash = *Hud().stack[0];
  std::u16string answer;
  for (int i = 0; i < 10 && answer.empty(); ++i) answer = splash.buttonNameAt(0, 0);
  EXPECT_EQ(answer, u"done");
  mMap->update(0.1f);
  ASSERT_EQ(Hud().stack.size(), 1u);
  EXPECT_NE(dynamic_cast<HUDMainMenu*>(Hud().stack[0].get()), nullptr);
  EXPECT_EQ(mMap->mState, 7);
}

TEST_F(HudStackTest, CounterTexts) {
  SetCounters();
  EXPECT_EQ(Hud().getText(u"text/coins"), u"250");
  EXPECT_EQ(Hud().getText(u"text/crystals"), u"12");
  EXPECT_EQ(Hud().getText(u"text/mana"), u"17.5/20");
}

// In play the HUD shows its panel, the speed buttons with the running speed's lit picture instead of
// its plain one, and the counters in its font centred on their text layers; the main menu and the
// logos hide all of it.
TEST_F(HudStackTest, DrawnOnlyOutsideTheMenuStates) {
  const std::string folder = "ruv/ui";
  const resource::ResourcePtr<render::BMFont> font = LoadGameFont(kFontMain42x3);
  ASSERT_TRUE(font);
  SetCounters();
  mMap->mSpeed = 1.0f;
  mMap->refreshSpeedButtons();
  const auto draw = [this](int state) {
    mMap->mState = state;
    return gametest::DrawFrameQuads(mRender, [this](render::Graphics& graphics) { Hud().draw(graphics); });
  };

  const std::vector<gametest::DrawnQuad> quads = draw(0);
  const size_t panel = gametest::ExpectPictureOn(quads, folder, "panel", gametest::SampleLayer(folder, "panel"));
  for (const char* shown : {"pause_btn", "play_btn_ac", "speed_btn", "options_btn"}) {
    const std::string layer = std::string("button/") + shown;
    EXPECT_LT(panel, gametest::ExpectPictureOn(quads, folder, layer, gametest::SampleLayer(folder, layer)));
  }
  for (const char* hidden : {"pause_btn_ac", "play_btn", "speed_btn_ac", "options_btn_ac"}) {
    EXPECT_TRUE(gametest::QuadsOfPicture(quads, folder, std::string("button/") + hidden).empty()) << hidden;
  }
  const std::vector<gametest::DrawnText> texts = gametest::TextsOfFont(quads, *font);
  const struct {
    const char16_t* text;
    const char* layer;
  } counters[] = {{u"250", "text/coins"}, {u"12", "text/crystals"}, {u"17.5/20", "text/mana"}};
  for (const auto& counter : counters) {
    const gametest::DrawnText* text = gametest::FindText(texts, counter.text);
    ASSERT_NE(nullptr, text) << counter.layer;
    EXPECT_TRUE(gametest::CentredOn(*text, gametest::SampleLayer(folder, counter.layer))) << counter.layer;
    EXPECT_LT(panel, text->firstQuad) << counter.layer;
  }
  // The episode and level selects hide the HUD's content too, but have the game's side pictures
  // drawn beside them (GameStartTest.HudPutsTheSidePicturesBesideTheMenuScreens).
  for (int state : {7, 12}) EXPECT_TRUE(draw(state).empty()) << state;
}

}  // namespace
