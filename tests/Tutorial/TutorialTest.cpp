// The tutorial's script: events in file order, commands, rearming, skipping, the pause menu, the
// folder on screen, and what it does with broken files and missing layouts.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/ReadFileToString.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDConfirmDialogs.h"
#include "TutorialScene.h"

namespace tutorialtest {
namespace {

std::string Cmds(const std::string& list, const std::string& param, int value) {
  return "<" + list + "><cmd param=\"" + param + "\" value=\"" + std::to_string(value) + "\"/></" + list + ">";
}

bool HudButtonShown(RuvMap& map, const char16_t* name) {
  RuvButtonFrame* button = map.mHud->findButton(name);
  return button && button->visible;
}

TEST_F(TutorialTest, EventsReachEveryStepInFileOrder) {
  const std::string bound = R"(shop="-1" episode="0" level="0")";
  const struct {
    const char* name;
    std::string steps;
    std::vector<std::u16string> events;
    std::map<int, int> states;
    bool shown;
  } cases[] = {
      {"one event completes a step and activates the next",
       Step(10, "start", "e") + Step(11, "e", "z"), {u"start", u"e"}, {{10, 2}, {11, 1}}, true},
      {"in the other order the later completion hides the new step",
       Step(11, "e", "z") + Step(10, "start", "e"), {u"start", u"e"}, {{10, 2}, {11, 1}}, false},
      {"a step bound to another level ignores the event",
       Step(12, "e", "z", "", R"(shop="-1" episode="0" level="1")"), {u"e"}, {{12, 0}}, false},
      {"a step bound to the map's level reacts", Step(12, "e", "z", "", bound), {u"e"}, {{12, 1}}, true},
      {"names compare whole and case-sensitively", Step(13, "E", "z") + Step(14, "e_", "z"), {u"e"},
       {{13, 0}, {14, 0}}, false},
      {"a step made done by an earlier one ignores its activation",
       Step(15, "e", "z", Cmds("cmds", "completeStep", 16)) + Step(16, "e", "z"), {u"e"}, {{15, 1}, {16, 2}}, true},
      {"an active step ignores its activation again", Step(17, "e", "z"), {u"e", u"e"}, {{17, 1}}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
    Map().mProgress->selectProfile(u"A");
    if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
    RuvTutorial& tutorial = Build(c.steps);
    for (const std::u16string& event : c.events) tutorial.onEvent(event);
    for (const auto& [id, state] : c.states) EXPECT_EQ(state, State(id)) << "step " << id;
    EXPECT_EQ(c.shown ? 1 : 0, tutorial.mShown);
    EXPECT_EQ(c.shown, Attached());
  }
}

TEST_F(TutorialTest, SwitchedOffTutorialIgnoresEventsAndStoresNothing) {
  LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"><tutorial avail="0"/></Profile></Profiles>)");
  Map().mProgress->selectProfile(u"A");
  RuvTutorial& tutorial = Build(Step(10, "e", "z", Cmds("cmds", "addMoney", 50)));
  const std::string before = SavedProfiles();
  const int money = Map().mWallet->money;
  tutorial.onEvent(u"e");
  EXPECT_EQ(0, tutorial.mEnabled);
  EXPECT_EQ(before, SavedProfiles());
  EXPECT_EQ(money, Map().mWallet->money);
  EXPECT_EQ(0, tutorial.mShown);
}

TEST_F(TutorialTest, CommandsSteerTheGame) {
  RuvMap& map = Map();
  map.mHud->spellButtons.push_back(std::make_unique<HUDSpellButton>(map, 1));
  const struct {
    const char* param;
    int value;
    std::function<void()> prepare;
    std::function<void()> check;
  } cases[] = {
      {"pause", 0, [&] { map.mSpeed = 0.5f; },
       [&] {
         EXPECT_EQ(1.0f, map.mSpeed);
         EXPECT_TRUE(HudButtonShown(map, u"play_btn_ac"));
       }},
      {"pause", 1, [&] { map.mSpeed = 2.0f; },
       [&] {
         EXPECT_EQ(0.0f, map.mSpeed);
         EXPECT_TRUE(HudButtonShown(map, u"pause_btn_ac"));
       }},
      // Another value keeps the speed but still shows the buttons of the speed as it is.
      {"pause", 2,
       [&] {
         map.mSpeed = 2.0f;
         map.refreshSpeedButtons();
         map.mSpeed = 0.0f;
       },
       [&] {
         EXPECT_EQ(0.0f, map.mSpeed);
         EXPECT_TRUE(HudButtonShown(map, u"pause_btn_ac"));
         EXPECT_FALSE(HudButtonShown(map, u"speed_btn_ac"));
       }},
      {"dropChanceOverride", 7, [] {},
       [&] {
         EXPECT_EQ(7, map.mProgress->getTutorialParam(u"dropChanceOverride"));
         EXPECT_NE(std::string::npos, SavedProfiles().find(R"(name="dropChanceOverride" v="7")"));
       }},
      {"blockShop", 1, [] {}, [&] { EXPECT_EQ(1, map.mHud->blockShop); }},
      {"blockUI", 2, [] {}, [&] { EXPECT_EQ(2, map.mHud->blockUI); }},
      {"addGems", 3, [&] { map.mWallet->gems = 10; }, [&] { EXPECT_EQ(13, map.mWallet->gems); }},
      {"addMoney", 40, [&] { map.mWallet->money = 5; }, [&] { EXPECT_EQ(45, map.mWallet->money); }},
      {"spot", 4, [] {}, [&] { EXPECT_EQ(4, map.mTutorialSpot); }},
      {"resetSpell", 9,
       [&] {
         map.mHud->spellButtons[0]->pressed = 1;
         map.mHud->spellButtons[0]->time = 3.0f;
       },
       [&] {
         EXPECT_EQ(0, map.mHud->spellButtons[0]->pressed);
         EXPECT_EQ(0.0f, map.mHud->spellButtons[0]->time);
       }},
      // An id no step of the file uses still gets its profile entry, done and saved.
      {"completeStep", 99, [] {},
       [&] {
         EXPECT_EQ(2, State(99));
         EXPECT_NE(std::string::npos, SavedProfiles().find(R"(<step id="99" state="2"/>)"));
       }},
      {"Pause", 1, [&] { map.mSpeed = 1.0f; }, [&] { EXPECT_EQ(1.0f, map.mSpeed); }},
  };
  std::string steps;
  for (size_t i = 0; i < std::size(cases); ++i) {
    steps += Step(100 + int(i), "cmd" + std::to_string(i), "never", Cmds("cmds", cases[i].param, cases[i].value));
  }
  RuvTutorial& tutorial = Build(steps);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(std::string(cases[i].param) + " " + std::to_string(cases[i].value));
    cases[i].prepare();
    const std::string event = "cmd" + std::to_string(i);
    tutorial.onEvent(std::u16string(event.begin(), event.end()));
    EXPECT_EQ(1, State(100 + int(i)));
    cases[i].check();
  }
}

TEST_F(TutorialTest, CompletionRunsItsOwnCommandsAndHides) {
  RuvTutorial& tutorial = Build(Step(10, "a", "b", Cmds("cmds", "blockUI", 2) + Cmds("onComplete", "blockUI", 0)));
  tutorial.onEvent(u"a");
  EXPECT_EQ(2, Map().mHud->blockUI);
  tutorial.onEvent(u"b");
  EXPECT_EQ(0, Map().mHud->blockUI);
  EXPECT_EQ(2, State(10));
  EXPECT_FALSE(Attached());
}

TEST_F(TutorialTest, RearmingRenewsTheStepsOfUnfinishedGroups) {
  RuvTutorial& tutorial = Build("");
  // A fresh profile holds every rearmed step, new, even without steps in the file.
  for (int id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 51}) {
    EXPECT_NE(std::string::npos, SavedProfiles().find("<step id=\"" + std::to_string(id) + "\" state=\"0\"/>")) << id;
  }
  const struct {
    std::map<int, int> before;
    std::map<int, int> after;
  } cases[] = {
      {{{0, 2}, {1, 1}}, {{0, 0}, {1, 0}}},
      {{{0, 2}, {1, 2}}, {{0, 2}, {1, 2}}},
      {{{2, 1}}, {{2, 0}}},
      {{{3, 2}, {4, 1}}, {{3, 0}, {4, 0}}},
      {{{3, 2}, {4, 2}}, {{3, 2}, {4, 2}}},
      {{{5, 2}, {51, 1}}, {{5, 2}, {51, 0}}},
      {{{5, 1}, {51, 1}}, {{5, 0}, {51, 0}}},
      {{{5, 1}, {51, 2}}, {{5, 1}, {51, 2}}},
      {{{6, 1}, {7, 2}, {8, 1}}, {{6, 0}, {7, 2}, {8, 0}}},
      {{{9, 1}}, {{9, 1}}},
  };
  RuvMap& map = Map();
  for (const auto& c : cases) {
    for (const auto& [id, state] : c.before) map.mProgress->setTutorialStepState(id, state);
    map.mHud->blockShop = 1;
    map.mHud->blockUI = 2;
    map.mTutorialSpot = 3;
    map.mProgress->setTutorialParam(u"dropChanceOverride", 5);
    tutorial.rearmSteps();
    for (const auto& [id, state] : c.after) EXPECT_EQ(state, State(id)) << "step " << id;
    EXPECT_EQ(0, map.mHud->blockShop);
    EXPECT_EQ(0, map.mHud->blockUI);
    EXPECT_EQ(-1, map.mTutorialSpot);
    EXPECT_EQ(5, map.mProgress->getTutorialParam(u"dropChanceOverride"));
  }
}

TEST_F(TutorialTest, SkipButtonAsksAndOnlyYesSwitchesTheTutorialOff) {
  for (bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "yes" : "no");
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
    Map().mProgress->selectProfile(u"A");
    if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
    RuvTutorial& tutorial = Build(Step(10, "e", "z", Cmds("cmds", "blockUI", 2)));
    tutorial.onEvent(u"e");
    ASSERT_NE(nullptr, tutorial.mSkipButton);
    const auto x = int(tutorial.mSkipButton->mPosition.x);
    const auto y = int(tutorial.mSkipButton->mPosition.y);
    tutorial.onClick(x, 0);  // beside the button
    EXPECT_EQ(nullptr, Board().mConfirmDialog);
    tutorial.onClick(x, y);
    EXPECT_EQ(0, tutorial.mShown);
    EXPECT_EQ(1, tutorial.mSkipAsked);
    auto* dialog = dynamic_cast<HUDConfirmTutorialCancelDialog*>(Board().mConfirmDialog);
    ASSERT_NE(nullptr, dialog);
    // While the question is open the button does not react again.
    Board().setConfirmDialog(nullptr);
    tutorial.onClick(x, y);
    EXPECT_EQ(nullptr, Board().mConfirmDialog);
    if (yes) {
      HUDConfirmTutorialCancelDialog(Map()).onYes();
    } else {
      HUDConfirmTutorialCancelDialog(Map()).onNo();
    }
    EXPECT_EQ(0, tutorial.mSkipAsked);
    EXPECT_EQ(yes ? 0 : 1, tutorial.mShown);
    EXPECT_EQ(!yes, Attached());
    EXPECT_EQ(yes ? 0 : 1, tutorial.mEnabled);
    EXPECT_EQ(!yes, Map().mProgress->isTutorialEnabled());
    EXPECT_EQ(yes ? 0 : 2, Map().mHud->blockUI);
    tutorial.onEvent(u"z");
    EXPECT_EQ(yes ? 1 : 2, State(10));
  }
}

TEST_F(TutorialTest, PauseMenuHidesAndBringsBackOnlyWhatWasShown) {
  RuvTutorial& tutorial = Build(Step(10, "e", "z"));
  tutorial.suspend();
  tutorial.resume();
  EXPECT_EQ(0, tutorial.mShown);
  tutorial.onEvent(u"e");
  tutorial.suspend();
  EXPECT_EQ(0, tutorial.mShown);
  EXPECT_TRUE(Attached());
  for (const layer::Layer* layer : {static_cast<layer::Layer*>(tutorial.mImageRoot.get()),
                                    static_cast<layer::Layer*>(tutorial.mTextRoot.get()),
                                    static_cast<layer::Layer*>(tutorial.mSkipButton.get())}) {
    EXPECT_FALSE(layer->mVisible);
  }
  tutorial.resume();
  EXPECT_EQ(1, tutorial.mShown);
  EXPECT_TRUE(tutorial.mSkipButton->mVisible);
}

TEST_F(TutorialTest, FolderLayersWithoutImageBecomeTextPlaces) {
  const char* withText = R"(<step id="10" activate="a" complete="z"><condition shop="0"/>
    <show folder="step0"><text place="step0/hint" string="tutorial_skip_caption"/></show></step>)";
  const char* withoutText = R"(<step id="11" activate="b" complete="z"><condition shop="0"/>
    <show folder="step0"/></step>)";
  RuvTutorial& tutorial = Build(std::string(withText) + withoutText);
  ASSERT_NE(nullptr, tutorial.mLayout);
  const base::ImageInfo* arrow = tutorial.mLayout->GetLayerInfo(u"step0/arrow");
  const base::ImageInfo* hint = tutorial.mLayout->GetLayerInfo(u"step0/hint");
  ASSERT_TRUE(arrow && hint);
  Map().mViewScale = 2.0f;
  Map().mViewX = 30.0f;
  const struct {
    const char16_t* event;
    std::u16string text;
  } cases[] = {{u"a", LocalStrings::Instance()->get(u"tutorial_skip_caption")}, {u"b", u""}};
  for (const auto& c : cases) {
    tutorial.onEvent(c.event);
    EXPECT_EQ(1.0f, Map().mViewScale);
    EXPECT_EQ(0.0f, Map().mViewX);
    ASSERT_EQ(1u, tutorial.mImageLayers.size());
    EXPECT_EQ(arrow->mX, tutorial.mImageLayers[0]->mPosition.x);
    EXPECT_EQ(arrow->mY, tutorial.mImageLayers[0]->mPosition.y);
    EXPECT_NE(nullptr, tutorial.mImageLayers[0]->GetImage());
    ASSERT_EQ(1u, tutorial.mTextLayers.size());
    const layer::TextLayer& place = *tutorial.mTextLayers[0];
    EXPECT_EQ(c.text, place.mText);
    EXPECT_EQ(hint->mX + hint->mWidth / 2, place.mPosition.x);
    EXPECT_EQ(hint->mY + hint->mHeight / 2, place.mPosition.y);
    EXPECT_FALSE(place.mMouseEnabled);
    // Pictures under texts under the button, after what the board already holds.
    const std::vector<layer::Layer*>& children = Board().GetLayer()->GetChildren();
    ASSERT_GE(children.size(), 3u);
    EXPECT_EQ(tutorial.mImageRoot.get(), children[children.size() - 3]);
    EXPECT_EQ(tutorial.mTextRoot.get(), children[children.size() - 2]);
    EXPECT_EQ(tutorial.mSkipButton.get(), children.back());
  }
}

TEST_F(TutorialTest, BrokenStepsAreLeftOutAndTheRestKept) {
  const std::string good = Step(1, "a", "b");
  const struct {
    const char* name;
    std::string file;
    size_t steps;
  } cases[] = {
      {"not well-formed", "<tutorial><step", 0},
      {"no tutorial root", "<script>" + good + "</script>", 0},
      {"no activate", R"(<tutorial><step id="2" complete="b"><condition/><show folder="f"/></step>)" + good + "</tutorial>", 1},
      {"no complete", R"(<tutorial><step id="2" activate="a"><condition/><show folder="f"/></step>)" + good + "</tutorial>", 1},
      {"no condition", R"(<tutorial><step id="2" activate="a" complete="b"><show folder="f"/></step>)" + good + "</tutorial>", 1},
      {"no show", R"(<tutorial><step id="2" activate="a" complete="b"><condition/></step>)" + good + "</tutorial>", 1},
      {"no folder", R"(<tutorial><step id="2" activate="a" complete="b"><condition/><show/></step>)" + good + "</tutorial>", 1},
      {"complete file", "<tutorial>" + good + good + "</tutorial>", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
    WriteTestFile("ruv/tutorial.xml", c.file);
    EXPECT_EQ(c.steps, Tutorial().mSteps.size());
  }
  // Inside a kept step, a text or command without its names is left out.
  delete RuvTutorial::Instance();
  RuvTutorial& tutorial = Build(R"(<step id="3" activate="a" complete="b"><condition/>
      <show folder="step0"><text string="k"/><text place="p"/><text place="q" string="k"/></show>
      <cmds><cmd value="4"/><cmd param="spot" value="4"/></cmds></step>)");
  ASSERT_EQ(1u, tutorial.mSteps.size());
  const RuvTutorialStep& step = *tutorial.mSteps[0];
  EXPECT_EQ(1u, step.texts.size());
  ASSERT_NE(nullptr, step.cmds);
  ASSERT_EQ(1u, step.cmds->size());
  EXPECT_EQ(u"spot", (*step.cmds)[0].param);
  EXPECT_EQ(nullptr, step.onCompleteCmds);
}

TEST_F(TutorialTest, MissingLayoutsGiveNoPicturesOrNoSkipButton) {
  const struct {
    const char* removed;
    bool pictures;
    bool skipButton;
  } cases[] = {
      {"ruv/data/tutorial/layers.xml", false, true},
      {"ruv/data/tutorial/skip", true, false},
      {"ruv/data/tutorial", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.removed);
    if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
    std::filesystem::remove_all(mRoot / "backup");
    std::filesystem::copy(mRoot / "ruv/data/tutorial", mRoot / "backup", std::filesystem::copy_options::recursive);
    std::filesystem::remove_all(mRoot / c.removed);
    RuvTutorial& tutorial = Build(Step(10, "e", "z"));
    Map().mProgress->setTutorialStepState(10, 0);
    EXPECT_EQ(c.skipButton, tutorial.mSkipButton != nullptr);
    tutorial.onEvent(u"e");
    EXPECT_EQ(1, tutorial.mShown);
    EXPECT_EQ(c.pictures, !tutorial.mImageLayers.empty());
    tutorial.update(0.1f);
    tutorial.onMouseMove(900, 730);
    tutorial.onClick(900, 730);
    EXPECT_EQ(c.skipButton ? 1 : 0, tutorial.mSkipAsked);
    tutorial.onEvent(u"z");
    EXPECT_FALSE(Attached());
    std::filesystem::remove_all(mRoot / "ruv/data/tutorial");
    std::filesystem::rename(mRoot / "backup", mRoot / "ruv/data/tutorial");
  }
}

TEST_F(TutorialTest, FileReaderStopsAtTheFirstZeroByteAndKeepsTheMark) {
  const struct {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {std::string("ab\0cd", 5), "ab"},
      {"\xEF\xBB\xBF<a/>", "\xEF\xBB\xBF<a/>"},
      {"", ""},
  };
  for (const auto& c : cases) {
    WriteTestFile("read_me.txt", c.bytes);
    EXPECT_EQ(c.expected, readFileToString(u"read_me.txt"));
  }
  EXPECT_EQ("", readFileToString(u"no_such_file.txt"));
}

}  // namespace
}  // namespace tutorialtest
