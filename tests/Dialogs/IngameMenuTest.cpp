// The pause menu: its buttons and their names, the caption, the gaps that answer nothing, and the
// icon kept out of the base draw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogScene.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDIngameMenu.h"
#include "Game/Screens/HUD.h"

namespace {

using dialogtest::DialogTest;

class IngameMenuTest : public DialogTest {};

TEST_F(IngameMenuTest, ButtonsInGroupNameOrderAnswerTheirNames) {
  HUDIngameMenu menu;
  const std::vector<std::u16string> names{u"levels", u"mmenu", u"options", u"restart", u"resume", u"close"};
  ASSERT_EQ(names.size(), menu.menuButtons.items.size());
  EXPECT_TRUE(menu.buttons.empty());
  SoundsPlayed();
  for (size_t i = 0; i < names.size(); ++i) {
    const HUDButtonOver& button = *menu.menuButtons.items[i];
    EXPECT_EQ(names[i], button.name);
    EXPECT_FALSE(button.caption.empty());
    EXPECT_EQ(names[i], Click(menu, button));
    EXPECT_EQ(1, SoundsPlayed());
  }
  EXPECT_EQ(LocalStrings::Instance()->get(u"ingame_caption"), menu.getText(u"caption"));
  EXPECT_EQ(-1, menu.buttonIndexAt(512, 200));
}

TEST_F(IngameMenuTest, GapBetweenButtonsAnswersNothingSilently) {
  HUDIngameMenu menu;
  const HUDButtonOver& resume = *menu.menuButtons.items[4];
  const float* r = resume.normalFrame->rect;
  const int gapY = static_cast<int>(r[1] + r[3]) + 5;
  SoundsPlayed();
  EXPECT_EQ(u"", menu.buttonNameAt(static_cast<int>(r[0] + r[2] / 2), gapY));
  EXPECT_EQ(0, SoundsPlayed());
}

TEST_F(IngameMenuTest, IconLeftOutOfTheBaseDrawAndDrawnOverTheButtons) {
  for (bool withIcon : {true, false}) {
    if (!withIcon) {
      WriteLayout("ruv/data/ingame",
                  R"(<Layer name="panel" x="312" y="100" width="400" height="540" opacity="255" ind="0"/>
<Layer name="button/b1_resume/pos" x="362" y="180" width="300" height="64" opacity="255" ind="1"/>
)");
    }
    HUDIngameMenu menu;
    size_t icons = 0;
    for (const RuvFrameEntry* frame : menu.frames) {
      if (frame->name != HUDIngameMenu::kIcon) continue;
      ++icons;
      EXPECT_EQ(0, frame->visible);
    }
    EXPECT_EQ(withIcon ? 1u : 0u, icons);
    Frame([&](render::Graphics& graphics) { menu.draw(graphics); });
    for (const RuvFrameEntry* frame : menu.frames) {
      if (frame->name == HUDIngameMenu::kIcon) {
        EXPECT_EQ(0, frame->visible);
      }
    }
  }
}

TEST_F(IngameMenuTest, PauseOpensTheMenu) {
  mMap->mState = 0;
  mMap->pause();
  mMap->mHud->update(0.0f);
  ASSERT_EQ(1u, mMap->mHud->stack.size());
  EXPECT_NE(nullptr, dynamic_cast<HUDIngameMenu*>(mMap->mHud->stack.back().get()));
  EXPECT_EQ(4, mMap->mState);
}

}  // namespace
