#include "Game/Screens/HUDBoostShop.h"

#include "Core/Base/Format.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/ImageContainer.h"
#include "Core/Math/Color.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDBuyGemScreen.h"

const char16_t* const boostProductNames[HUDBoostShop::kBoosts] = {u"extra_energy", u"energy_speed", u"energy_refill"};
const char* const boostPremiumNames[HUDBoostShop::kBoosts] = {"+5Lives", "\xd1\x85" "2Refill", "Refill"};

namespace {

int boostShopGems(RuvMap& map) { return map.mWallet ? map.mWallet->gems : 0; }

}  // namespace

HUDBoostShop::HUDBoostShop(RuvMap& map) : mMap(map) {
  premiumMode = RuvFeatures::instance().getFlag(RuvFeatures::kBoostShopPremiumMode, RuvFeatures::kIsActive);
  loadLayout(kLayout);
  for (int i = 0; i < kBoosts; ++i) {
    offers.push_back(std::make_unique<HUDShopOffer>(layout, i, mMap.mLanguage,
                                                    premiumMode ? nullptr : boostProductNames[i],
                                                    i == 2 ? u"1/most_popular" : nullptr));
    if (RuvButtonFrame* button = findButton((base::Format(u"b_%02d_in") % (i + 1)).GetResult())) button->visible = 0;
  }
  setFont(LoadGameFont(kFontMain42x3));
  setText(u"caption", LocalStrings::Instance()->get(u"boostShopTitle"));
  refresh();
  if (RuvButtonFrame* wall = findButton(u"offers_wall")) {
    wall->visible = RuvFeatures::instance().getFlag(RuvFeatures::kOffersWall, RuvFeatures::kIsActive) ? 1 : 0;
  }
}

HUDBoostShop::~HUDBoostShop() {
  offers.clear();
  delete layout;
}

void HUDBoostShop::update(float dt) {
  HUDWindow::update(dt);
  refresh();
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) offer->updateScale(dt);
}

void HUDBoostShop::refresh() {
  setText(u"caption_gems",
          (base::Format(LocalStrings::Instance()->get(u"gemShopTitle2")) % boostShopGems(mMap)).GetResult());
}

void HUDBoostShop::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) offer->hovered = offer->contains(x, y) ? 1 : 0;
}

bool HUDBoostShop::isPurchased(const HUDShopOffer& offer) const {
  if (premiumMode) return mMap.mProgress && mMap.mProgress->getBoostCount(boostPremiumNames[offer.index]) > 0;
  return offer.product && offer.product->bought;
}

std::u16string HUDBoostShop::caption(const HUDShopOffer& offer) const {
  if (premiumMode) return base::ToWide(boostPremiumNames[offer.index], base::kEncodingUtf8);
  return offer.productName();
}

std::u16string HUDBoostShop::line(const HUDShopOffer& offer) const {
  LocalStrings* strings = LocalStrings::Instance();
  if (isPurchased(offer)) return strings->get(u"boostShopBuy_already_purchased");
  if (!premiumMode) return offer.line();
  const std::string cost = std::to_string(RuvPremiumProducts::instance().getCost(boostPremiumNames[offer.index]));
  return std::u16string(cost.begin(), cost.end()) + u" " + strings->get(u"gems");
}

void HUDBoostShop::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  static const math::Color kWhite(1.0f, 1.0f, 1.0f, 1.0f);
  static const math::Color kShort(0.94f, 0.44f, 0.44f, 1.0f);
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) {
    const math::Color* colour = nullptr;
    if (premiumMode) {
      const int cost = RuvPremiumProducts::instance().getCost(boostPremiumNames[offer->index]);
      if (cost > 0) colour = boostShopGems(mMap) >= cost || isPurchased(*offer) ? &kWhite : &kShort;
    }
    offer->draw(graphics, line(*offer), colour);
    if (premiumMode) graphics.SetColor(kWhite);
  }
}

std::u16string HUDBoostShop::buttonNameAt(int x, int y) {
  const std::u16string name = HUDWindow::buttonNameAt(x, y);
  if (name == u"back_in") {
    leave(mMap, mMap.mHud->boostShopReturnScreen);
    return std::u16string();  // this screen is gone
  }
  if (name == u"offers_wall") return std::u16string();
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) {
    if (offer->contains(x, y)) {
      buy(*offer);
      break;
    }
  }
  return std::u16string();
}

void HUDBoostShop::buy(const HUDShopOffer& offer) {
  if (isPurchased(offer)) return;
  if (!premiumMode) {
    purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
    if (purchase::Product* product = store->FindProduct(caption(offer))) store->Buy(product);
    return;
  }
  const std::string premiumName = boostPremiumNames[offer.index];
  const int* cost = RuvPremiumProducts::instance().findCost(premiumName);
  if (!cost) return;
  if (boostShopGems(mMap) < *cost) {
    if (RuvFeatures::instance().getFlag(RuvFeatures::kLowPremiumPointsDialog, RuvFeatures::kIsActive)) {
      HUD& hud = *mMap.mHud;
      hud.popWindow();  // deletes this screen
      hud.pushGemShop(u"episodes");
    }
    return;
  }
  // Paid for: the gems go, and the profile counts the boost.
  mMap.mWallet->spendGems(*cost);
  mMap.mProgress->addBoostPurchase(premiumName);
}

void HUDBoostShop::leave(RuvMap& map, const std::u16string& name) {
  HUD& hud = *map.mHud;
  const std::u16string gemShopReturn = hud.gemShopReturnScreen;
  hud.popWindow();
  if (name == u"shop") {
    // After a level result the upgrade shop leads back into the battle.
    hud.pushShopWindow(hud.shopReturnScreen == u"game" ? 1 : 0);
  } else if (name == u"episodes") {
    hud.pushEpisodeSelect();
  } else if (name == u"levels") {
    hud.pushLevelSelect();
  } else if (name == u"gemShop") {
    hud.pushGemShop(gemShopReturn);
  } else {
    hud.pushMainMenu();
  }
}
