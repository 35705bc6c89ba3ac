// What a finished purchase grants, and purchases the map waits for.
#include <gtest/gtest.h>

#include <string>

#include "Core/Purchase/PurchaseSystem.h"
#include "DispatchScene.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvWallet.h"
#include "tests/fakes/ScriptedStoreBackend.h"

namespace dispatchtest {
namespace {

class PurchaseResultsTest : public DispatchTest {
 protected:
  void Deliver(const char16_t* name, int kind, int code) {
    purchase::Product product;
    product.name = name;
    product.kind = kind;
    TPurchaseResult result;
    result.product = &product;
    result.code = code;
    mMap->onPurchaseResult(result);
  }
};

TEST_F(PurchaseResultsTest, ProductAndStatus) {
  struct Case {
    const char16_t* product;
    int kind;
    int code;
    int gems;            // added to the gems and the level's gems
    float lives;         // after the result; lives start at 3 of 20
    int state;           // the map starts in 23 (health purchase pending)
    std::string stack;   // the stack starts empty
  };
  const Case cases[] = {
      {u"buy_50_cr", 1, 0, 100, 3, 23, ""},        {u"buy_150_cr", 1, 0, 335, 3, 23, ""},
      {u"buy_300_cr", 1, 0, 575, 3, 23, ""},       {u"buy_500_cr", 1, 2, 1200, 3, 23, ""},
      {u"buy_1000_cr", 1, 0, 3125, 3, 23, ""},     {u"buy_1000_cr", 1, 1, 0, 3, 23, ""},
      {u"buy_300_cr", 1, 3, 0, 3, 23, ""},         {u"buy_300_cr", 0, 0, 0, 3, 23, ""},
      {u"extra_energy", 0, 0, 0, 3, 23, ""},       {u"buy_health", 1, 0, 0, 20, 0, ""},
      {u"buy_health", 1, 1, 0, 3, 22, "dialog"},   {u"buy_health", 1, 2, 0, 3, 22, "dialog"},
  };
  for (const Case& c : cases) {
    const std::string label = std::string(c.product, c.product + std::char_traits<char16_t>::length(c.product)) +
                              " " + std::to_string(c.code);
    mMap->mHud->stack.clear();
    mMap->mWallet->gems = 40;
    mMap->mWallet->levelGems = 2;
    mMap->mLives = 3.0f;
    mMap->mMaxLives = 20.0f;
    mMap->mSpeed = 0.0f;
    mMap->mState = 23;
    Deliver(c.product, c.kind, c.code);
    mMap->mHud->update(0.0f);
    EXPECT_EQ(mMap->mWallet->gems, 40 + c.gems) << label;
    EXPECT_EQ(mMap->mWallet->levelGems, 2 + c.gems) << label;
    if (c.gems > 0) {
      EXPECT_EQ(mMap->mProgress->getGems(), 40 + c.gems) << label;
    }
    EXPECT_EQ(mMap->mLives, c.lives) << label;
    EXPECT_EQ(mMap->mState, c.state) << label;
    EXPECT_EQ(Stack(), c.stack) << label;
    EXPECT_EQ(mMap->mSpeed, 0.0f) << label;
  }
}

const char kRefundUpgrades[] = R"(<upgrades>
  <upgrade id="1"><targets><target id="-1"/></targets><steps>
    <step cost_g="100" cost_r="5"/><step cost_r="10"/><step cost_r="20"/>
  </steps></upgrade>
  <upgrade id="2"><targets><target id="-1"/></targets><steps><step cost_r="7"/></steps></upgrade>
  <upgrade id="3"><targets><target id="-1"/></targets><steps><step cost_r="1"/><step cost_r="2"/></steps></upgrade>
</upgrades>)";

TEST_F(PurchaseResultsTest, PremiumRefundSumsTheBoughtSteps) {
  mMap->mUpgrades = std::make_unique<RuvUpgrades>(std::string(kRefundUpgrades), mMap.get());
  struct Case {
    int level1, level2, level3;
    int refund;
  };
  // Upgrade 3 bought past its last step gives its two steps only.
  const Case cases[] = {{1, -1, -1, 15}, {-1, -1, -1, 0}, {2, 0, -1, 42}, {-1, -1, 9, 3}};
  for (const Case& c : cases) {
    mMap->mProgress->setUpgradeLevel(1, c.level1);
    mMap->mProgress->setUpgradeLevel(2, c.level2);
    mMap->mProgress->setUpgradeLevel(3, c.level3);
    mMap->mWallet->gems = 0;
    mMap->mWallet->levelGems = 0;
    Deliver(u"reset_premium_points", 1, 0);
    EXPECT_EQ(mMap->mWallet->gems, c.refund) << c.level1 << " " << c.level2 << " " << c.level3;
    EXPECT_EQ(mMap->mWallet->levelGems, c.refund);
    EXPECT_EQ(mMap->mProgress->getGems(), c.refund);
    for (int id : {1, 2, 3}) EXPECT_EQ(mMap->mProgress->getUpgradeLevel(id), -1) << id;
  }
  mMap->mProgress->setUpgradeLevel(1, 1);
  Deliver(u"reset_premium_points", 1, 1);
  EXPECT_EQ(mMap->mProgress->getUpgradeLevel(1), 1);
}

TEST_F(PurchaseResultsTest, WaitedPurchaseStartsOrFailsAtOnce) {
  purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
  auto* backend = new fakes::ScriptedStoreBackend(true);
  store->SetBackend(backend);
  ASSERT_EQ(store->LoadProducts(u"ruv/inapp.xml"), VN_OK);
  purchase::Product* health = store->FindProduct(u"buy_health");
  ASSERT_NE(health, nullptr);
  const auto offerAndOk = [this] {
    mMap->mState = 22;
    Top(u"ok");
    Release();
  };
  offerAndOk();
  EXPECT_EQ(mMap->mState, 23);
  EXPECT_EQ(Stack(), "");
  ASSERT_EQ(backend->GetPurchases().size(), 1u);
  // The first request is still open: a second one cannot start and fails at once.
  offerAndOk();
  EXPECT_EQ(mMap->mState, 22);
  EXPECT_EQ(Stack(), "dialog");
  EXPECT_EQ(backend->GetPurchases().size(), 1u);
  ASSERT_TRUE(backend->Succeed(health));
  EXPECT_EQ(mMap->mState, 0);
  backend->SetAvailable(false);
  offerAndOk();
  EXPECT_EQ(mMap->mState, 22);
  EXPECT_FALSE(health->pending);
}

TEST_F(PurchaseResultsTest, GemShopProductsStartTheirPurchase) {
  purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
  auto* backend = new fakes::ScriptedStoreBackend(true);
  store->SetBackend(backend);
  ASSERT_EQ(store->LoadProducts(u"ruv/inapp.xml"), VN_OK);
  mMap->mState = 18;
  Top(u"buy_300_cr");
  Release();
  Top(u"no_such_product");
  Release();
  ASSERT_EQ(backend->GetPurchases().size(), 1u);
  EXPECT_EQ(backend->GetPurchases()[0].product->name, u"buy_300_cr");
  const int gems = mMap->mWallet->gems;
  ASSERT_TRUE(backend->Succeed(backend->GetPurchases()[0].product));
  EXPECT_EQ(mMap->mWallet->gems, gems + 575);
  EXPECT_EQ(mMap->mState, 18);
}

}  // namespace
}  // namespace dispatchtest
