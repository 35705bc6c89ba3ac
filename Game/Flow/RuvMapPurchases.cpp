// What a finished purchase grants: gem packs, the lives of the buy-health offer, the premium reset.
#include <string>

#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseResultEvent.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDSpellButton.h"

namespace {

struct PurchaseGemPack {
  const char16_t* product;
  int gems;
};
constexpr PurchaseGemPack kPurchaseGemPacks[] = {
    {u"buy_50_cr", 100}, {u"buy_150_cr", 335}, {u"buy_300_cr", 575}, {u"buy_500_cr", 1200}, {u"buy_1000_cr", 3125},
};

constexpr int kConsumableProduct = 1;

int purchaseGemsOf(const std::u16string& product) {
  for (const PurchaseGemPack& pack : kPurchaseGemPacks) {
    if (product == pack.product) return pack.gems;
  }
  return 0;
}

}  // namespace

void RuvMap::onPurchaseResult(const TPurchaseResult& result) {
  const purchase::Product* product = result.product;
  if (!product) return;
  const bool succeeded =
      result.code == TPurchaseResult::kPurchaseSucceeded || result.code == TPurchaseResult::kRestoreSucceeded;
  if (succeeded && product->kind == kConsumableProduct) {
    if (const int gems = purchaseGemsOf(product->name)) mWallet->addGems(gems);
  }
  if (product->name == u"buy_health") {
    if (result.code == TPurchaseResult::kPurchaseSucceeded) {
      mLives = mMaxLives;
      mState = kStatePlaying;
      mHud->updateLivesText();
      for (const std::unique_ptr<HUDSpellButton>& button : mHud->spellButtons) button->playReadyEffect();
    } else {
      openBuyHealthOffer();
    }
  }
  if (product->name == u"reset_premium_points" && result.code == TPurchaseResult::kPurchaseSucceeded) {
    refundPremiumPoints();
    mHud->refreshTop();
  }
}

void RuvMap::refundPremiumPoints() {
  int refund = 0;
  for (const std::unique_ptr<RuvUpgrade>& upgrade : mUpgrades->getList()) {
    // Hardcore mode hides the bought levels from the battle, not from the refund.
    const int level = mProgress->getStoredUpgradeLevel(upgrade->id);
    if (level < 0) continue;
    for (int step = 0; step <= level; ++step) {
      const RuvUpgradeStep* bought = upgrade->getStep(step);
      if (!bought) break;
      refund += bought->cost_r;
    }
    mProgress->setUpgradeLevel(upgrade->id, -1);
  }
  mWallet->addGems(refund);
}
