// The unlock message on the sample layout: which pictures it shows, the "ok" sequence, and its push.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST_F(UnlockMessageTest, DrawsWithAndWithoutAPicture) {
  for (const std::vector<int>& given : {std::vector<int>{1}, std::vector<int>{}}) {
    HUDUnlockMessage message(given);
    EXPECT_FALSE(DrawScreen(message).empty());
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
