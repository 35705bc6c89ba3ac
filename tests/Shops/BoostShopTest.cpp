// The boost shop in both modes: the offers' lines and captions, what a click on an offer buys and
// what it costs (kept in "profiles.xml"), and where the back button leads.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDBoostShop.h"
#include "Game/Screens/HUDBuyGemScreen.h"
#include "Game/Screens/HUDEpisodeSelect.h"
#include "Game/Screens/HUDLevelSelect.h"
#include "Game/Screens/HUDMainMenu.h"
#include "Game/Screens/HUDShopWindow.h"
#include "ShopScene.h"
#include "tinyxml2.h"

namespace {

class BoostShopTest : public shoptest::ShopScene {
 protected:
  void TearDown() override {
    SetFeatures(false, false);
    ShopScene::TearDown();
  }

  static void SetFeatures(bool premium, bool gemShopOffer) {
    const auto flag = [](const char* name, bool on) {
      return std::string("<feature name=\"") + name + "\" is_active=\"" + (on ? "1" : "0") + "\"/>";
    };
    RuvFeatures::instance().loadFromText("<config><features>" + flag(RuvFeatures::kBoostShopPremiumMode, premium) +
                                         flag(RuvFeatures::kLowPremiumPointsDialog, gemShopOffer) +
                                         "</features></config>");
  }

  // A fresh profile and an empty screen stack for the next case.
  void FreshProfile() {
    mMap->mHud->stack.clear();
    mMap->mHud->pending.clear();
    mMap->mProgress.reset();
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
    mMap->mProgress = std::make_unique<RuvProgress>(mMap.get());
  }

  // The boost shop on top of the HUD's stack, as the battle map shows it.
  HUDBoostShop& OpenShop(const std::u16string& returnScreen) {
    mMap->mHud->pushBoostShop(returnScreen);
    mMap->mHud->update(0.0f);
    return dynamic_cast<HUDBoostShop&>(*mMap->mHud->stack.back());
  }

  HUDWindow* Top() const { return mMap->mHud->pending.empty() ? mMap->mHud->stack.back().get()
                                                             : mMap->mHud->pending.back().get(); }

  // The first "boost" element of the saved profile, which must parse.
  std::string SavedBoost() const {
    tinyxml2::XMLDocument saved;
    EXPECT_EQ(tinyxml2::XML_SUCCESS, saved.Parse(SavedProfiles().c_str()));
    const tinyxml2::XMLElement* profile = saved.RootElement() ? saved.RootElement()->FirstChildElement("Profile") : nullptr;
    const tinyxml2::XMLElement* boost = profile ? profile->FirstChildElement("boost") : nullptr;
    if (!boost) return "";
    return std::string(boost->Attribute("name")) + " " + boost->Attribute("count");
  }

  static void OfferPoint(const HUDShopOffer& offer, int& x, int& y) {
    x = offer.buttonLayer->mX + offer.buttonLayer->mWidth / 2;
    y = offer.buttonLayer->mY + offer.buttonLayer->mHeight / 2;
  }
};

TEST_F(BoostShopTest, PremiumOffersShowTheirCostsOrThatTheyAreOwned) {
  SetFeatures(true, false);
  HUDBoostShop shop(*mMap);
  ASSERT_TRUE(shop.premiumMode);
  ASSERT_EQ(3u, shop.offers.size());
  const std::u16string gems = LocalStrings::Instance()->get(u"gems");
  const int costs[] = {30, 40, 20};  // "ruv/config.xml"
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(nullptr, shop.offers[i]->product);
    const std::string cost = std::to_string(costs[i]);
    EXPECT_EQ(std::u16string(cost.begin(), cost.end()) + u" " + gems, shop.line(*shop.offers[i])) << i;
  }
  EXPECT_EQ(u'\u0445', shop.caption(*shop.offers[1])[0]);
  EXPECT_EQ(u"+5Lives", shop.caption(*shop.offers[0]));
  mMap->mProgress->addBoostPurchase("Refill");
  EXPECT_EQ(LocalStrings::Instance()->get(u"boostShopBuy_already_purchased"), shop.line(*shop.offers[2]));
  EXPECT_TRUE(shop.isPurchased(*shop.offers[2]));
  EXPECT_FALSE(shop.isPurchased(*shop.offers[0]));

  // Drawn: each pack's pictures, the badge on the third, and its line centred on its text layer,
  // white when the gems cover the cost or the boost is owned, else in the shortfall red.
  mMap->mWallet->gems = 35;
  const resource::ResourcePtr<render::BMFont> font = LoadGameFont(kFontMain42x3);
  const resource::ResourcePtr<render::BMFont> captionFont = LoadGameFont(kFontMain80);  // kept as the root board does
  ASSERT_TRUE(font && captionFont);
  const std::vector<gametest::DrawnQuad> quads = DrawScreen(shop);
  const std::vector<gametest::DrawnText> texts = gametest::TextsOfFont(quads, *font);
  const char* const badges[] = {nullptr, nullptr, "1/most_popular"};
  const std::u16string owned = LocalStrings::Instance()->get(u"boostShopBuy_already_purchased");
  const std::u16string lines[] = {u"30 " + gems, u"40 " + gems, owned};
  const uint32_t white = 0xFFFFFFFF;
  const uint32_t shortfall = 0xFF000000 | uint32_t(0.94f * 255.0f + 0.5f) << 16 | uint32_t(0.44f * 255.0f + 0.5f) << 8 |
                             uint32_t(0.44f * 255.0f + 0.5f);
  const uint32_t colours[] = {white, shortfall, white};  // 35 gems cover 30, not 40; the third is owned
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const gametest::DrawnText* text = ExpectPack(quads, texts, "ruv/boost_shop", i + 1, badges[i], lines[i]);
    ASSERT_NE(nullptr, text);
    for (int shift : {0, 8, 16, 24}) {
      EXPECT_NEAR(int(colours[i] >> shift & 0xFF), int(text->colour >> shift & 0xFF), 1) << shift;
    }
  }
}

TEST_F(BoostShopTest, StoreOffersShowPriceProgressOrOwned) {
  SetFeatures(false, false);
  HUDBoostShop shop(*mMap);
  ASSERT_FALSE(shop.premiumMode);
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(nullptr, shop.offers[i]->product) << i;
    EXPECT_EQ(boostProductNames[i], shop.caption(*shop.offers[i]));
  }
  LocalStrings* strings = LocalStrings::Instance();
  shop.offers[0]->product->pending = true;
  shop.offers[1]->product->bought = true;
  EXPECT_EQ(strings->get(u"gemShopBuy_progress"), shop.line(*shop.offers[0]));
  EXPECT_EQ(strings->get(u"boostShopBuy_already_purchased"), shop.line(*shop.offers[1]));
  EXPECT_EQ(shop.offers[2]->line(), shop.line(*shop.offers[2]));

  // Drawn: each pack's pictures and its line centred on its text layer.
  shop.offers[2]->product->price = u"$1.49";
  const resource::ResourcePtr<render::BMFont> font = LoadGameFont(kFontMain42x3);
  const resource::ResourcePtr<render::BMFont> captionFont = LoadGameFont(kFontMain80);  // kept as the root board does
  ASSERT_TRUE(font && captionFont);
  const std::vector<gametest::DrawnQuad> quads = DrawScreen(shop);
  const std::vector<gametest::DrawnText> texts = gametest::TextsOfFont(quads, *font);
  std::u16string buyFor = strings->get(u"gemShopBuyFor");
  buyFor.replace(buyFor.find(u"%s"), 2, u"$1.49");
  const std::u16string lines[] = {strings->get(u"gemShopBuy_progress"), strings->get(u"boostShopBuy_already_purchased"),
                                  buyFor};
  const char* const badges[] = {nullptr, nullptr, "1/most_popular"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    ExpectPack(quads, texts, "ruv/boost_shop", i + 1, badges[i], lines[i]);
  }
}

TEST_F(BoostShopTest, PremiumClickSpendsGemsAndCountsThePurchase) {
  struct Case {
    int gems;
    bool owned;
    bool gemShopOffer;
    int gemsAfter;
    const char* saved;  // the profile's boost element
    bool gemShop;       // the gem shop replaced the boost shop
  };
  const Case cases[] = {
      {31, false, false, 1, "+5Lives 1", false}, {30, false, false, 0, "+5Lives 1", false},
      {29, false, false, 29, "", false},         {29, false, true, 29, "", true},
      {100, true, false, 100, "+5Lives 1", false},
  };
  for (const Case& c : cases) {
    FreshProfile();
    SetFeatures(true, c.gemShopOffer);
    if (c.owned) mMap->mProgress->addBoostPurchase("+5Lives");
    mMap->mWallet->gems = c.gems;
    HUDBoostShop& shop = OpenShop(u"episodes");
    int x = 0, y = 0;
    OfferPoint(*shop.offers[0], x, y);
    EXPECT_EQ(u"", shop.buttonNameAt(x, y));
    EXPECT_EQ(c.gemsAfter, mMap->mWallet->gems) << c.gems;
    EXPECT_EQ(c.saved, SavedBoost()) << c.gems;
    EXPECT_EQ(c.gemShop, dynamic_cast<HUDBuyGemScreen*>(Top()) != nullptr) << c.gems;
    if (c.gemShop) {
      EXPECT_EQ(u"episodes", mMap->mHud->gemShopReturnScreen);
    }
  }
}

TEST_F(BoostShopTest, StoreClickWithoutBackEndFailsAndTheShopStays) {
  SetFeatures(false, false);
  HUDBoostShop& shop = OpenShop(u"episodes");
  const HUDShopOffer& offer = *shop.offers[1];
  int x = 0, y = 0;
  OfferPoint(offer, x, y);
  EXPECT_EQ(u"", shop.buttonNameAt(x, y));
  EXPECT_TRUE(offer.product->pending);
  EXPECT_EQ(u"", shop.buttonNameAt(x, y));  // the store refuses a second request while pending
  Tick();
  Tick();
  EXPECT_FALSE(offer.product->pending);
  EXPECT_FALSE(offer.product->bought);
  EXPECT_EQ(&shop, Top());
  EXPECT_EQ(24, mMap->mState);
}

TEST_F(BoostShopTest, BackLeadsToTheOpenersScreenElseTheMainMenu) {
  struct Case {
    const char16_t* returnScreen;
    int state;
  };
  const Case cases[] = {{u"episodes", 5}, {u"levels", 6}, {u"gemShop", 18}, {u"", 7}, {u"nowhere", 7}};
  for (const Case& c : cases) {
    FreshProfile();
    SetFeatures(false, false);
    mMap->mHud->gemShopReturnScreen = u"levels";
    HUDBoostShop& shop = OpenShop(c.returnScreen);
    RuvButtonFrame* back = shop.findButton(u"back_in");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(u"", shop.buttonNameAt(int(back->rect[0] + 5), int(back->rect[1] + 5)));
    EXPECT_TRUE(mMap->mHud->stack.empty());
    EXPECT_EQ(c.state, mMap->mState);
    EXPECT_EQ(u"levels", mMap->mHud->gemShopReturnScreen);
  }
}

// "shop" goes back to the upgrade shop, which leads on into the battle (its "return_ac") when it
// was opened after a level result, else back to its menu (its "back_ac").
TEST_F(BoostShopTest, BackToTheUpgradeShopKeepsItsWayOn) {
  struct Case {
    const char16_t* shopReturnScreen;
    const char16_t* shownWayOn;
    const char16_t* hiddenWayOn;
  };
  const Case cases[] = {{u"game", u"return_ac", u"back_ac"},
                        {u"levels", u"back_ac", u"return_ac"},
                        {u"episodes", u"back_ac", u"return_ac"}};
  for (const Case& c : cases) {
    FreshProfile();
    SetFeatures(false, false);
    mMap->mHud->shopReturnScreen = c.shopReturnScreen;
    HUDBoostShop& shop = OpenShop(u"shop");
    RuvButtonFrame* back = shop.findButton(u"back_in");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(u"", shop.buttonNameAt(int(back->rect[0] + 5), int(back->rect[1] + 5)));
    mMap->mHud->update(0.0f);
    ASSERT_EQ(1u, mMap->mHud->stack.size());
    auto* upgradeShop = dynamic_cast<HUDShopWindow*>(mMap->mHud->stack.back().get());
    ASSERT_NE(nullptr, upgradeShop) << "the upgrade shop, not the main menu";
    EXPECT_EQ(8, mMap->mState);
    const RuvButtonFrame* shown = upgradeShop->findButton(c.shownWayOn);
    const RuvButtonFrame* hidden = upgradeShop->findButton(c.hiddenWayOn);
    ASSERT_NE(nullptr, shown);
    ASSERT_NE(nullptr, hidden);
    EXPECT_TRUE(shown->visible);
    EXPECT_FALSE(hidden->visible);
    EXPECT_EQ(c.shopReturnScreen, mMap->mHud->shopReturnScreen) << "its own back still knows the way";
  }
}

}  // namespace
