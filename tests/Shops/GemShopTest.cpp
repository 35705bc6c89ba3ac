// The gem shop on the sample layout and catalogue: where the packs take clicks, what they answer,
// their lines while a purchase runs and after it fails, the balance and the hover scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDBuyGemScreen.h"
#include "ShopScene.h"

namespace {

using GemShopTest = shoptest::ShopScene;

std::u16string PriceLine(const std::u16string& price) {
  std::u16string format = LocalStrings::Instance()->get(u"gemShopBuyFor");
  return format.replace(format.find(u"%s"), 2, price);
}

TEST_F(GemShopTest, PacksTakeClicksFiftyPixelsInsideTheirPictures) {
  HUDBuyGemScreen shop(*mMap);
  ASSERT_EQ(5u, shop.offers.size());
  for (int i = 0; i < 5; ++i) {
    const HUDShopOffer& offer = *shop.offers[i];
    ASSERT_NE(offer.buttonLayer, nullptr);
    ASSERT_NE(offer.product, nullptr);
    EXPECT_EQ(gemPackProductNames[i], offer.productName());
    const int left = offer.buttonLayer->mX + 50;
    const int top = offer.buttonLayer->mY + 50;
    const int right = offer.buttonLayer->mX + offer.buttonLayer->mWidth - 50;
    const int bottom = offer.buttonLayer->mY + offer.buttonLayer->mHeight - 50;
    struct Case {
      int x, y;
      bool inside;
    };
    const Case cases[] = {{left, top, true},          {left - 1, top, false},        {left, top - 1, false},
                          {right - 1, bottom - 1, true}, {right, bottom - 1, false}, {right - 1, bottom, false}};
    for (const Case& c : cases) {
      EXPECT_EQ(c.inside, offer.contains(c.x, c.y)) << i << ": " << c.x << "," << c.y;
      EXPECT_EQ(c.inside ? offer.productName() : u"", shop.buttonNameAt(c.x, c.y)) << i;
    }
  }
  // The packs' own layout buttons are hidden; the back button answers; the offers wall is off.
  for (const RuvButtonFrame* button : shop.buttons) {
    const bool shown = button->name == u"back_in";
    EXPECT_EQ(shown, button->visible != 0) << std::string(button->name.begin(), button->name.end());
  }
  RuvButtonFrame* back = shop.findButton(u"back_in");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(u"back_in", shop.buttonNameAt(int(back->rect[0] + 5), int(back->rect[1] + 5)));
}

TEST_F(GemShopTest, BadgesFollowThePackTable) {
  HUDBuyGemScreen shop(*mMap);
  const bool badged[] = {false, true, false, true, true};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(badged[i], shop.offers[i]->badgeLayer != nullptr) << i;
    EXPECT_EQ(badged[i], shop.offers[i]->badgeImage != nullptr) << i;
    EXPECT_NE(shop.offers[i]->pricingLayer, nullptr) << i;
    EXPECT_NE(shop.offers[i]->textLayer, nullptr) << i;
  }
}

TEST_F(GemShopTest, PackWithoutProductAnswersTheEmptyName) {
  Store()->UnloadProducts();
  HUDBuyGemScreen shop(*mMap);
  const HUDShopOffer& offer = *shop.offers[2];
  EXPECT_EQ(nullptr, offer.product);
  EXPECT_EQ(u"", shop.buttonNameAt(offer.buttonLayer->mX + 60, offer.buttonLayer->mY + 60));
  EXPECT_EQ(PriceLine(u""), offer.line());
}

TEST_F(GemShopTest, PurchaseWithoutStoreShowsProgressThenThePriceAgain) {
  HUDBuyGemScreen shop(*mMap);
  HUDShopOffer& offer = *shop.offers[2];
  offer.product->price = u"$2.99";
  EXPECT_EQ(PriceLine(u"$2.99"), offer.line());
  Store()->Buy(offer.product);
  ASSERT_TRUE(offer.product->pending);
  EXPECT_EQ(LocalStrings::Instance()->get(u"gemShopBuy_progress"), offer.line());
  // A click while pending still answers the product.
  EXPECT_EQ(u"buy_300_cr", shop.buttonNameAt(offer.buttonLayer->mX + 60, offer.buttonLayer->mY + 60));
  Tick();
  Tick();
  EXPECT_FALSE(offer.product->pending);
  EXPECT_FALSE(offer.product->bought);
  EXPECT_EQ(PriceLine(u"$2.99"), offer.line());
}

// The battle map starts the purchase of the pack released on; without a store back end it fails on
// the next tick and the pack shows its price again, with the balance and the screen unchanged.
TEST_F(GemShopTest, AReleaseOnAPackStartsItsPurchaseThroughTheMap) {
  mMap->mHud->pushGemShop(u"episodes");
  mMap->mHud->update(0.0f);
  auto& shop = dynamic_cast<HUDBuyGemScreen&>(*mMap->mHud->stack.back());
  HUDShopOffer& offer = *shop.offers[2];
  offer.product->price = u"$2.99";
  const int gems = mMap->mWallet->gems;
  const int x = offer.buttonLayer->mX + 60;
  const int y = offer.buttonLayer->mY + 60;
  mMap->onMouseUp(x, y);
  ASSERT_TRUE(offer.product->pending);
  EXPECT_EQ(LocalStrings::Instance()->get(u"gemShopBuy_progress"), offer.line());
  mMap->onMouseUp(x, y);  // while pending the click starts nothing more
  Tick();
  Tick();
  EXPECT_FALSE(offer.product->pending);
  EXPECT_FALSE(offer.product->bought);
  EXPECT_EQ(PriceLine(u"$2.99"), offer.line());
  EXPECT_EQ(gems, mMap->mWallet->gems);
  EXPECT_EQ(18, mMap->mState);
  ASSERT_EQ(1u, mMap->mHud->stack.size());
  EXPECT_EQ(&shop, mMap->mHud->stack.back().get());
}

TEST_F(GemShopTest, CaptionFollowsTheWalletEveryFrame) {
  mMap->mWallet->gems = 7;
  HUDBuyGemScreen shop(*mMap);
  EXPECT_EQ(LocalStrings::Instance()->get(u"gemShopTitle"), shop.getText(u"caption"));
  EXPECT_EQ(u"Gems: 7", shop.getText(u"caption_gems"));
  mMap->mWallet->gems = 582;
  shop.update(0.0f);
  EXPECT_EQ(u"Gems: 582", shop.getText(u"caption_gems"));
}

TEST_F(GemShopTest, HoveredPackShrinksAndGrowsBackAtHalfAScalePerSecond) {
  HUDBuyGemScreen shop(*mMap);
  const HUDShopOffer& offer = *shop.offers[0];
  const int x = offer.buttonLayer->mX + 100;
  const int y = offer.buttonLayer->mY + 100;
  struct Step {
    int x, y;
    float dt, scale;
  };
  const Step steps[] = {{x, y, 0.1f, 0.95f}, {x, y, 0.1f, 0.9f}, {x, y, 1.0f, 0.9f}, {0, 0, 0.1f, 0.95f},
                        {0, 0, 1.0f, 1.0f}};
  for (const Step& s : steps) {
    shop.onMouseMove(s.x, s.y);
    shop.update(s.dt);
    EXPECT_NEAR(s.scale, offer.scale, 1e-5f);
    for (size_t i = 1; i < shop.offers.size(); ++i) EXPECT_EQ(1.0f, shop.offers[i]->scale);
  }
}

// Over the layout's background each pack shows its picture, its price picture in the map's language
// and its badge on their layers, scaled about the picture's centre, then its line in the screen's
// font centred on its text layer; the layout's own pack buttons are not drawn, the back button is.
TEST_F(GemShopTest, DrawsThePacksOverTheLayout) {
  const std::string folder = "ruv/gem_shop";
  const char* const badges[] = {nullptr, "1/most_popular", nullptr, "1/best_buy", "1/all_inclusive"};
  const char16_t* const prices[] = {u"$0.99", u"$1.99", u"$2.99", u"$4.99", u"$9.99"};
  mMap->mWallet->gems = 7;
  // The fonts stay loaded as the game's root board keeps them.
  const resource::ResourcePtr<render::BMFont> font = LoadGameFont(kFontMain42x3);
  const resource::ResourcePtr<render::BMFont> captionFont = LoadGameFont(kFontMain80);
  ASSERT_TRUE(font && captionFont);
  HUDBuyGemScreen shop(*mMap);
  for (int i = 0; i < 5; ++i) shop.offers[i]->product->price = prices[i];
  shop.offers[1]->scale = 0.9f;
  shop.offers[1]->product->pending = true;
  const std::vector<gametest::DrawnQuad> quads = DrawScreen(shop);
  const std::vector<gametest::DrawnText> texts = gametest::TextsOfFont(quads, *font);

  const size_t background = gametest::ExpectPictureOn(quads, folder, "background", {0.0f, 0.0f, 1024.0f, 768.0f});
  gametest::ExpectPictureOn(quads, folder, "button/back_in", gametest::SampleLayer(folder, "button/back_in"));
  EXPECT_TRUE(gametest::QuadsOfPicture(quads, folder, "button/offers_wall").empty())
      << "the offers wall is off in the sample configuration";
  const gametest::DrawnText* gems = gametest::FindText(texts, u"Gems: 7");
  ASSERT_NE(nullptr, gems) << "the balance line";
  EXPECT_TRUE(gametest::CentredOn(*gems, gametest::SampleLayer(folder, "text/caption_gems")));
  const std::vector<gametest::DrawnText> captions = gametest::TextsOfFont(quads, *captionFont);
  const gametest::DrawnText* caption = gametest::FindText(captions, LocalStrings::Instance()->get(u"gemShopTitle"));
  ASSERT_NE(nullptr, caption) << "the title in the large font";
  EXPECT_TRUE(gametest::CentredOn(*caption, gametest::SampleLayer(folder, "text/caption")));

  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const float scale = i == 1 ? 0.9f : 1.0f;
    const std::u16string line = i == 1 ? LocalStrings::Instance()->get(u"gemShopBuy_progress") : PriceLine(prices[i]);
    size_t last = 0;
    ExpectPack(quads, texts, folder, i + 1, badges[i], line, scale, &last);
    EXPECT_LT(background, last);
  }
}

TEST_F(GemShopTest, PushKeepsTheReturnScreen) {
  mMap->mHud->pushGemShop(u"boost_shop");
  EXPECT_EQ(18, mMap->mState);
  EXPECT_EQ(u"boost_shop", mMap->mHud->gemShopReturnScreen);
  ASSERT_EQ(1u, mMap->mHud->pending.size());
  EXPECT_NE(nullptr, dynamic_cast<HUDBuyGemScreen*>(mMap->mHud->pending.back().get()));
}

}  // namespace
