// The radial menu of level 1 as the player sees it: opened by a click on a spot, drawn by the root
// board through the real renderer on the OpenGL device (Mesa's software rasteriser). Each price
// shows the coin (and the gem) of the interface art left of its number, and each tower icon its
// ability badges. Where they stand follows from the menu's rules; their pixels come from the art.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "Core/Gui/GameControl.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"
#include "tests/harness/BattleClicks.h"
#include "tests/harness/BattleHarness.h"

namespace {

constexpr int kRadialFrameWidth = 1024;
constexpr int kRadialFrameHeight = 768;
constexpr float kRadialFrameDegrees = 3.14f / 180.0f;  // the menu's own approximation of pi
constexpr int kRadialFrameTolerance = 3;

std::string uiArt(const std::string& name) { return std::string(QM_SOURCE_DIR) + "/data/ruv/data/ui_parts/ui/" + name + ".png"; }

// The art image's texels that are opaque and equal to their eight neighbours, so that neither a
// placement between pixels nor filtering can change them, compared with the frame pixels they
// land on when the image's top-left corner is at (left, top).
::testing::AssertionResult showsArt(const fakes::RgbaImage& frame, const std::string& art, float left, float top) {
  const fakes::RgbaImage image = fakes::ReadPng(art);
  if (image.width == 0) return ::testing::AssertionFailure() << art << " cannot be read";
  const auto texel = [&image](int x, int y, int c) { return int(image.pixels[size_t((y * image.width + x) * 4 + c)]); };
  int compared = 0;
  for (int y = 1; y + 1 < image.height; ++y) {
    for (int x = 1; x + 1 < image.width; ++x) {
      bool uniform = texel(x, y, 3) == 255;
      for (int dy = -1; dy <= 1 && uniform; ++dy) {
        for (int dx = -1; dx <= 1 && uniform; ++dx) {
          for (int c = 0; c < 4; ++c) uniform = uniform && texel(x + dx, y + dy, c) == texel(x, y, c);
        }
      }
      if (!uniform) continue;
      const int px = int(std::lround(left + float(x)));
      const int py = int(std::lround(top + float(y)));
      if (px < 0 || py < 0 || px >= frame.width || py >= frame.height) {
        return ::testing::AssertionFailure() << art << " texel " << x << "," << y << " lands off the frame";
      }
      const uint8_t* pixel = &frame.pixels[size_t((py * frame.width + px) * 4)];
      for (int c = 0; c < 3; ++c) {
        if (std::abs(int(pixel[c]) - texel(x, y, c)) > kRadialFrameTolerance) {
          return ::testing::AssertionFailure()
                 << art << " texel " << x << "," << y << " (" << texel(x, y, 0) << "," << texel(x, y, 1) << ","
                 << texel(x, y, 2) << ") but pixel " << px << "," << py << " is (" << int(pixel[0]) << ","
                 << int(pixel[1]) << "," << int(pixel[2]) << ")";
        }
      }
      ++compared;
    }
  }
  if (compared < 16) return ::testing::AssertionFailure() << art << ": only " << compared << " texels to compare";
  return ::testing::AssertionSuccess();
}

// A bright pixel (a glyph of a white text) inside the box.
bool hasWhiteText(const fakes::RgbaImage& frame, float left, float top, float width, float height) {
  for (int y = int(top); y < int(top + height); ++y) {
    for (int x = int(left); x < int(left + width); ++x) {
      const uint8_t* pixel = &frame.pixels[size_t((y * frame.width + x) * 4)];
      if (pixel[0] > 200 && pixel[1] > 200 && pixel[2] > 200) return true;
    }
  }
  return false;
}

class RadialMenuFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    render::RenderDX9* render = mWindow.GetRender();
    ASSERT_NE(render, nullptr);
    gui::GameControlHelper::SetRender(render);  // the fonts' renderer
    mBattle.emplace(std::filesystem::path(), render);
    harness::BattleRun run;
    run.tickLimit = 1;
    mBattle->run(run);
    RuvMap& map = mBattle->map();
    ASSERT_EQ(map.mState, kStatePlaying);
    map.mTutorialSpot = -1;  // any spot opens
    map.mWallet->money = 1000;  // every price payable: drawn in white
    map.mWallet->gems = 100;
    mFont = LoadGameFont(kFontMain32x2);
    ASSERT_TRUE(mFont);
  }
  void TearDown() override {
    // The map, its art and the fonts go before the renderer they live on.
    mFont = {};
    mBattle.reset();
    gui::GameControlHelper::SetRender(nullptr);
  }

  // A click on the spot's centre, the menu's opening (0.2 s), then one frame of the root board.
  fakes::RgbaImage OpenAndDraw(int spot) {
    RuvFrameEntry* entry = mBattle->map().mSpots->spots[size_t(spot)];
    {
      harness::HarnessRootBoard board(mBattle->mapOwner());
      board.click(frameCentreX(*entry), frameCentreY(*entry));
      RuvRadialMenu* menu = mBattle->map().mRadialMenu.get();
      if (!menu) return {};
      menu->update(0.25f);
      render::RenderDX9& render = *mWindow.GetRender();
      EXPECT_TRUE(fakes::DrawScreenFrame(render, [&](render::Graphics& graphics) {
        graphics.Clear(render::Render::kClearTarget, math::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
        board.OnDrawBefore(&graphics, nullptr);
        board.OnDrawAfter(&graphics, nullptr);
      }));
    }
    return fakes::OpaqueFromArgb(kRadialFrameWidth, kRadialFrameHeight, fakes::ReadTarget(*mWindow.GetRender(), nullptr));
  }

  float TextWidth(const std::u16string& text) {
    float width = 0.0f;
    {
      auto measure = mFont->MeasureText(&text);
      measure->mOutWidth = &width;
    }  // measured as the request ends
    return width;
  }

  fakes::GlRenderWindow mWindow{kRadialFrameWidth, kRadialFrameHeight};
  std::optional<harness::BattleHarness> mBattle;
  resource::ResourcePtr<render::BMFont> mFont;
};

TEST_F(RadialMenuFrameTest, BuildMenuPricesShowTheCoinAndTowersTheirBadges) {
  const fakes::RgbaImage frame = OpenAndDraw(1);
  ASSERT_GT(frame.width, 0);
  const RuvRadialMenu& menu = *mBattle->map().mRadialMenu;
  ASSERT_EQ(menu.mode, RuvRadialMenu::kBuildMode);
  ASSERT_FALSE(menu.items.empty());
  const fakes::RgbaImage coin = fakes::ReadPng(uiArt("context_money"));
  const float n = float(menu.items.size());
  // The ability names of the sheet and the art each one shows.
  const std::vector<std::pair<std::u16string, std::string>> badgeArt = {
      {u"dot", "acid_01"},    {u"aim", "beam_01"},    {u"splash", "aoe_01"},    {u"fsplash", "burn_01"},
      {u"stun", "dazed_01"},  {u"boost", "hammer_01"}, {u"gold", "money_01"},   {u"tele", "portal_01"},
      {u"air", "wing_01"},    {u"star1", "might_01"}, {u"star2", "might_02"}};
  int badgesSeen = 0;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    const RuvRadialItem& item = *menu.items[i];
    ASSERT_NE(item.proto, nullptr);
    SCOPED_TRACE(item.proto->id);
    // Away from the screen's edges: 90..270 degrees in n steps, the four base towers at their places.
    float angle = float(i) * 180.0f / n + 90.0f;
    if (item.proto->id == 10000) angle = 270.0f;
    if (item.proto->id == 20000) angle = 180.0f;
    if (item.proto->id == 30000) angle = 0.0f;
    if (item.proto->id == 40000) angle = 90.0f;
    const float a = angle * kRadialFrameDegrees;
    const float iconX = menu.centreX + std::sin(a) * 80.0f;
    const float iconY = menu.centreY + std::cos(a) * 80.0f;
    // "$" and the price: the coin, then the number, the row centred 30 pixels above the icon.
    const std::string number = std::to_string(int(item.cost));
    const float textWidth = TextWidth(std::u16string(number.begin(), number.end()));
    const float rowLeft = iconX - (float(coin.width) + textWidth) * 0.5f;
    const float rowMiddle = iconY - 30.0f;
    EXPECT_TRUE(showsArt(frame, uiArt("context_money"), rowLeft, rowMiddle - float(coin.height) * 0.5f));
    EXPECT_TRUE(hasWhiteText(frame, rowLeft + float(coin.width), rowMiddle - 8.0f, textWidth, 16.0f));
    // The badges on a half circle 35 pixels around the icon, in the order of the addons.
    std::vector<std::string> badges;
    for (const std::u16string& addon : item.proto->addons) {
      for (const auto& known : badgeArt) {
        if (known.first == addon) badges.push_back(known.second);
      }
    }
    ASSERT_EQ(badges.size(), item.proto->addons.size());
    const float spacing = 180.0f / float(badges.size() + 1);
    for (size_t j = 0; j < badges.size(); ++j) {
      const float e = (float(j) * spacing + spacing + 270.0f) * kRadialFrameDegrees;
      const fakes::RgbaImage badge = fakes::ReadPng(uiArt(badges[j]));
      const float left = iconX + std::sin(e) * 35.0f - float(badge.width) * 0.5f;
      const float top = iconY + std::cos(e) * 35.0f - float(badge.height) * 0.5f;
      EXPECT_TRUE(showsArt(frame, uiArt(badges[j]), left, top)) << badges[j];
      ++badgesSeen;
    }
  }
  EXPECT_GT(badgesSeen, 0);
}

TEST_F(RadialMenuFrameTest, SpotPriceShowsTheCoinAndTheGem) {
  // The level's last spot costs 60 coins; here it costs 5 gems too.
  RuvFrameEntry* entry = mBattle->map().mSpots->spots.back();
  auto* definition = static_cast<RuvSpot*>(entry->owner);
  ASSERT_EQ(definition->cost_gold, 60);
  definition->cost_real = 5;
  const fakes::RgbaImage frame = OpenAndDraw(int(mBattle->map().mSpots->spots.size()) - 1);
  ASSERT_GT(frame.width, 0);
  const RuvRadialMenu& menu = *mBattle->map().mRadialMenu;
  ASSERT_EQ(menu.mode, RuvRadialMenu::kBuySpotMode);
  // "$60; #5": the coin, "60; ", the gem, "5", centred 30 pixels above the one icon, which stands at
  // the start of the whole circle (straight below the spot).
  const fakes::RgbaImage coin = fakes::ReadPng(uiArt("context_money"));
  const fakes::RgbaImage gem = fakes::ReadPng(uiArt("context_gem"));
  const float first = TextWidth(u"60; ");
  const float second = TextWidth(u"5");
  const float rowLeft = menu.centreX - (float(coin.width) + first + float(gem.width) + second) * 0.5f;
  const float rowMiddle = menu.centreY + 80.0f - 30.0f;
  EXPECT_TRUE(showsArt(frame, uiArt("context_money"), rowLeft, rowMiddle - float(coin.height) * 0.5f));
  EXPECT_TRUE(hasWhiteText(frame, rowLeft + float(coin.width), rowMiddle - 8.0f, first, 16.0f));
  const float gemLeft = rowLeft + float(coin.width) + first;
  EXPECT_TRUE(showsArt(frame, uiArt("context_gem"), gemLeft, rowMiddle - float(gem.height) * 0.5f));
  EXPECT_TRUE(hasWhiteText(frame, gemLeft + float(gem.width), rowMiddle - 8.0f, second, 16.0f));
}

}  // namespace
