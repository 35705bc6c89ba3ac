// The unlock message on the sample layout: which pictures it shows, the "ok" sequence, and its push.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDUnlockMessage.h"
#include "ShopScene.h"

namespace {

using UnlockMessageTest = shoptest::ShopScene;

std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// The names of the visible icon pictures.
std::vector<std::u16string> ShownIcons(const HUDUnlockMessage& message) {
  std::vector<std::u16string> shown;
  for (const RuvFrameEntry* icon : message.icons) {
    if (icon->visible) shown.push_back(icon->name);
  }
  return shown;
}

void OkCentre(HUDUnlockMessage& message, int& x, int& y) {
  RuvButtonFrame* ok = message.findButton(u"ok");
  ASSERT_NE(ok, nullptr);
  x = int(ok->rect[0] + ok->rect[2] / 2);
  y = int(ok->rect[1] + ok->rect[3] / 2);
}

TEST_F(UnlockMessageTest, StepsThroughThePicturedIdsAndPassesTheLastOk) {
  // The sample layout pictures the first id of each group a level unlocks (1, 10, 12, 10000, ...),
  // not the others (2, 10001) nor 999; 36 is a hardcore announcement.
  struct Case {
    std::vector<int> given;
    std::vector<int> shown;
  };
  const Case cases[] = {
      {{1, 10, 12}, {1, 10, 12}}, {{36}, {36}}, {{999, 10, 999}, {10}}, {{10000, 10001, 1, 2}, {10000, 1}},
      {{999}, {}}, {{}, {}}, {{10, 10}, {10, 10}},
  };
  for (const Case& c : cases) {
    HUDUnlockMessage message(c.given);
    EXPECT_EQ(c.shown, message.ids);
    EXPECT_EQ(c.shown.size(), message.icons.size());
    EXPECT_EQ(LocalStrings::Instance()->get(u"unlock_caption"), message.getText(u"caption"));
    EXPECT_EQ(LocalStrings::Instance()->get(u"unlock_button"), message.getText(u"button"));
    int x = 0, y = 0;
    OkCentre(message, x, y);
    EXPECT_EQ(-1, message.buttonIndexAt(x, y));
    // Each step shows every picture of its id alone; its "ok" answers "ok" only after the last.
    for (size_t step = 0; step < c.shown.size(); ++step) {
      const std::u16string key = u"icons/id" + Decimal(c.shown[step]);
      const std::vector<std::u16string> shown = ShownIcons(message);
      ASSERT_FALSE(shown.empty());
      for (const std::u16string& name : shown) EXPECT_EQ(key, name);
      EXPECT_EQ(LocalStrings::Instance()->get(u"unlock_" + Decimal(c.shown[step])), message.getText(u"message"));
      EXPECT_EQ(u"", message.buttonNameAt(0, 0));
      EXPECT_EQ(step + 1 == c.shown.size() ? u"ok" : u"", message.buttonNameAt(x, y)) << step;
    }
    if (c.shown.empty()) {
      EXPECT_TRUE(ShownIcons(message).empty());
      EXPECT_EQ(u"ok", message.buttonNameAt(x, y));
    }
  }
}

// Over its background the message shows the picture of the id it announces on that id's layer (none
// without a pictured id), the caption and the button's caption in the large font and the id's
// message in the message font, each centred on its text layer, the button's over the button.
TEST_F(UnlockMessageTest, DrawsWithAndWithoutAPicture) {
  const std::string folder = "ruv/data/message";
  const resource::ResourcePtr<render::BMFont> large = LoadGameFont(kFontMain80);
  const resource::ResourcePtr<render::BMFont> small = LoadGameFont(HUDUnlockMessage::kMessageFont);
  ASSERT_TRUE(large && small);
  LocalStrings* strings = LocalStrings::Instance();
  for (const std::vector<int>& given : {std::vector<int>{1}, std::vector<int>{}}) {
    SCOPED_TRACE(given.size());
    HUDUnlockMessage message(given);
    const std::vector<gametest::DrawnQuad> quads = DrawScreen(message);
    const size_t background =
        gametest::ExpectPictureOn(quads, folder, "background", gametest::SampleLayer(folder, "background"));
    const size_t ok = gametest::ExpectPictureOn(quads, folder, "button/ok", gametest::SampleLayer(folder, "button/ok"));
    EXPECT_LT(background, ok);
    for (const char* id : {"1", "10", "12", "13", "36", "3004", "10000", "10002", "10100", "30000", "30100"}) {
      const std::string icon = std::string("icons/id") + id;
      if (given.empty() || icon != "icons/id1") {
        EXPECT_TRUE(gametest::QuadsOfPicture(quads, folder, icon).empty()) << icon;
      } else {
        EXPECT_LT(background, gametest::ExpectPictureOn(quads, folder, icon, gametest::SampleLayer(folder, icon)));
      }
    }
    const std::vector<gametest::DrawnText> largeTexts = gametest::TextsOfFont(quads, *large);
    const gametest::DrawnText* caption = gametest::FindText(largeTexts, strings->get(u"unlock_caption"));
    ASSERT_NE(nullptr, caption);
    EXPECT_TRUE(gametest::CentredOn(*caption, gametest::SampleLayer(folder, "text/caption")));
    const gametest::DrawnText* button = gametest::FindText(largeTexts, strings->get(u"unlock_button"));
    ASSERT_NE(nullptr, button);
    EXPECT_TRUE(gametest::CentredOn(*button, gametest::SampleLayer(folder, "text/button")));
    EXPECT_LT(ok, button->firstQuad);
    const std::vector<gametest::DrawnText> messages = gametest::TextsOfFont(quads, *small);
    if (given.empty()) {
      EXPECT_TRUE(messages.empty());
      continue;
    }
    const gametest::DrawnText* text = gametest::FindText(messages, strings->get(u"unlock_1"));
    ASSERT_NE(nullptr, text);
    EXPECT_TRUE(gametest::CentredOn(*text, gametest::SampleLayer(folder, "text/message")));
  }
}

TEST_F(UnlockMessageTest, PushStopsTheBattleUnderTheMessage) {
  mMap->mSpeed = 1.0f;
  mMap->mHud->phase = 1;
  mMap->mHud->pushUnlockMessage({1, 10});
  EXPECT_EQ(11, mMap->mState);
  EXPECT_EQ(0.0f, mMap->mSpeed);
  EXPECT_EQ(0, mMap->mHud->phase);
  ASSERT_EQ(1u, mMap->mHud->pending.size());
  auto* message = dynamic_cast<HUDUnlockMessage*>(mMap->mHud->pending.back().get());
  ASSERT_NE(message, nullptr);
  EXPECT_EQ((std::vector<int>{1, 10}), message->ids);
}

}  // namespace
