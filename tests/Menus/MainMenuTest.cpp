// The main menu on the sample data: the names it answers, the greeting, the language frames, the
// effects and the profile warning shown once per run.
#include <gtest/gtest.h>

#include "Core/File/Profiles.h"
#include "Core/Layer/TextLayer.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDMainMenu.h"
#include "Game/Screens/HUDProfiles.h"
#include "MenuScene.h"

namespace menutest {
namespace {

using MainMenuTest = MenuScene;

TEST_F(MainMenuTest, AnswersButtonsAboveTheProfileBand) {
  HUDMainMenu menu(*mMap);
  // Groups of "ruv/main_menu": b2_play (352, 260, 320, 80); b1_shop, b1_options, b1_cloze at
  // x 382 .. 642 from y 364, 76 apart, 60 high.
  struct Case {
    int x, y;
    const char16_t* name;
  };
  const Case cases[] = {
      {512, 300, u"play"},    {512, 394, u"shop"},    {512, 470, u"options"}, {512, 546, u"cloze"},
      {352, 260, u"play"},    {351, 300, u""},        {100, 720, u""},        {500, 721, u"profile"},
      {500, 1023, u"profile"}, {500, 1024, u""},      {512, 720, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, menu.buttonNameAt(c.x, c.y)) << c.x << "," << c.y;
  ASSERT_EQ(4u, menu.menuButtons.size());
  EXPECT_TRUE(menu.buttons.empty());
  EXPECT_EQ(-1, menu.buttonIndexAt(512, 300));
  // Ascending group names: b1_cloze, b1_options, b1_shop, b2_play.
  const char16_t* order[] = {u"cloze", u"options", u"shop", u"play"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(order[i], menu.menuButtons[i]->name);
  EXPECT_EQ(u"Play", menu.menuButtons[3]->caption);
  EXPECT_EQ(u"ruv/data/fonts/main_80", menu.menuButtons[3]->font->GetName());
  EXPECT_EQ(u"ruv/data/fonts/main_42_3", menu.menuButtons[0]->font->GetName());
}

TEST_F(MainMenuTest, GreetsTheProfileShowsItsLanguageAndPlaysItsEffects) {
  struct Case {
    const char* profiles;
    const char16_t* name;
  };
  const Case cases[] = {
      {R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)", u"stranger"},
      {R"(<Profiles currentProfile="Bo"><Profile name="A"/><Profile name="Bo"/></Profiles>)", u"Bo"},
  };
  for (const Case& c : cases) {
    ReloadProgress(c.profiles);
    HUDMainMenu menu(*mMap);
    LocalStrings* strings = LocalStrings::Instance();
    EXPECT_EQ(strings->get(u"greet_1") + c.name + strings->get(u"greet_2"), menu.getText(u"greet"));
    EXPECT_EQ(u"mmenu", mMap->mReturnScreen);
    EXPECT_EQ(4u, menu.emitters.size());
    for (const RuvFrameEntry* frame : menu.frames) {
      if (frame->name == u"en" || frame->name == u"ru") {
        EXPECT_EQ(frame->name == u"en", frame->visible != 0);
      }
    }
  }
}

// The texts of a shown frame's text layers, one per line.
std::u16string FrameTexts(const layer::Layer* layer) {
  std::u16string texts;
  if (const auto* text = dynamic_cast<const layer::TextLayer*>(layer)) texts += text->mText + u"\n";
  for (const layer::Layer* child : layer->GetChildren()) texts += FrameTexts(child);
  return texts;
}

TEST_F(MainMenuTest, TheProfileWarningsShowOncePerRunWithTheirFiles) {
  ReloadProgress("damaged <<<");
  ASSERT_TRUE(file::Profiles::IsProfileReset());
  const std::u16string copy = file::Profiles::GetDamagedCopyPath();
  ASSERT_FALSE(copy.empty());
  { HUDMainMenu first(*mMap); }
  { HUDMainMenu second(*mMap); }
  EXPECT_EQ(1, ShownDialogs());
  EXPECT_FALSE(file::Profiles::IsProfileReset());
  const std::u16string texts = FrameTexts(mApplication->GetFrameManager()->GetShown().back().mFrame->GetLayer());
  EXPECT_NE(texts.find(LocalStrings::Instance()->get(u"profile_corrupt")), std::u16string::npos);
  EXPECT_NE(texts.find(copy), std::u16string::npos);
}

TEST_F(MainMenuTest, MenuAndProfilesTakeTheRootBoardsPointerOnUpdate) {
  GameWindow& board = mApplication->board();
  board.mPointerX = 300;
  board.mPointerY = -4;
  HUDMainMenu menu(*mMap);
  HUDProfiles profiles(*mMap);
  for (HUDWindow* screen : {static_cast<HUDWindow*>(&menu), static_cast<HUDWindow*>(&profiles)}) {
    screen->update(0.01f);
    EXPECT_FLOAT_EQ(300.0f, screen->pointerX);
    EXPECT_FLOAT_EQ(-4.0f, screen->pointerY);
  }
}

}  // namespace
}  // namespace menutest
