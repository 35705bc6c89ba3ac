#include <gtest/gtest.h>

#include "PurchaseTestSupport.h"
#include "fakes/ScriptedStoreBackend.h"

namespace {

using purchasetest::OutcomeLog;
using purchasetest::RecordingPurchaseListener;
using purchasetest::ResultSubscriber;
using purchasetest::StoreFrontTest;

const char kPendingCatalogue[] =
    "<xml><Product name=\"buy_health\" type=\"consumable\"/><Product name=\"energy_speed\"/></xml>";

enum class PendingBackend { kAbsent, kUnavailable, kAvailable };

// Two subscribers, the second one also with the two-argument handler; subscribed in reverse address
// order so that the event's key order shows.
class PendingStoreTest : public StoreFrontTest {
 protected:
  void SetUp() override {
    StoreFrontTest::SetUp();
    ASSERT_EQ(LoadCatalogue("ruv/inapp.xml", kPendingCatalogue), VN_OK);
    mProduct = Store()->FindProduct(u"buy_health");
    ASSERT_NE(mProduct, nullptr);
    mSubscribers[1].Subscribe(&mLog, 1, true);
    mSubscribers[0].Subscribe(&mLog, 0, false);
  }

  void Attach(PendingBackend backend) {
    if (backend == PendingBackend::kAbsent) return;
    mBackend = AttachBackend(backend == PendingBackend::kAvailable);
  }
  std::size_t PurchaseCalls() const { return mBackend ? mBackend->GetPurchases().size() : 0; }

  OutcomeLog mLog;
  ResultSubscriber mSubscribers[2];
  RecordingPurchaseListener mListener{&mLog};
  purchase::Product* mProduct = nullptr;
  fakes::ScriptedStoreBackend* mBackend = nullptr;
};

const OutcomeLog kPendingFailureReport = {"listener failed buy_health", "event #0 code 1 buy_health",
                                   "event #1 with-code 1 0 buy_health", "event #1 code 1 buy_health"};

struct PendingBuyCase {
  const char* label;
  PendingBackend backend;
  bool pendingBefore;
  std::size_t purchaseCalls;  // requests the back end receives
  bool failsOnNextTick;       // a refused request: one failure on the tick after the request
};

class PendingBuyTest : public PendingStoreTest, public ::testing::WithParamInterface<PendingBuyCase> {};

TEST_P(PendingBuyTest, RequestFromATick) {
  const PendingBuyCase& row = GetParam();
  Attach(row.backend);
  mProduct->pending = row.pendingBefore;

  std::size_t seenInsideBuy = 99;
  TickRunning([&] {
    Store()->Buy(mProduct, &mListener);
    seenInsideBuy = mLog.size();
  });
  EXPECT_EQ(seenInsideBuy, 0u);  // never reported from inside Buy
  EXPECT_TRUE(mLog.empty());
  EXPECT_TRUE(mProduct->pending);
  EXPECT_EQ(PurchaseCalls(), row.purchaseCalls);
  if (row.purchaseCalls) {
    EXPECT_EQ(mBackend->GetPurchases()[0].product, mProduct);
    EXPECT_EQ(mBackend->GetPurchases()[0].listener, static_cast<purchase::PurchaseListener*>(Store()));
  }
  // An ignored request does not take the listener.
  EXPECT_EQ(mProduct->listener, row.pendingBefore ? nullptr : &mListener);

  Tick();
  if (row.failsOnNextTick) {
    EXPECT_EQ(mLog, kPendingFailureReport);
    EXPECT_FALSE(mProduct->pending);
  } else {
    EXPECT_TRUE(mLog.empty());
    EXPECT_TRUE(mProduct->pending);
  }
  EXPECT_FALSE(mProduct->bought);

  const OutcomeLog afterNextTick = mLog;
  Tick();
  Tick();
  EXPECT_EQ(mLog, afterNextTick);  // once only
  EXPECT_EQ(PurchaseCalls(), row.purchaseCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PendingBuyTest,
    ::testing::Values(PendingBuyCase{"Absent", PendingBackend::kAbsent, false, 0, true},
                      PendingBuyCase{"AbsentPending", PendingBackend::kAbsent, true, 0, false},
                      PendingBuyCase{"Unavailable", PendingBackend::kUnavailable, false, 0, true},
                      PendingBuyCase{"UnavailablePending", PendingBackend::kUnavailable, true, 0, false},
                      PendingBuyCase{"Available", PendingBackend::kAvailable, false, 1, false},
                      PendingBuyCase{"AvailablePending", PendingBackend::kAvailable, true, 0, false}),
    [](const ::testing::TestParamInfo<PendingBuyCase>& info) { return std::string(info.param.label); });

struct PendingReportCase {
  const char* label;
  bool succeeded;
  bool withListener;
  OutcomeLog expected;
};

class PendingReportTest : public PendingStoreTest, public ::testing::WithParamInterface<PendingReportCase> {};

TEST_P(PendingReportTest, BackEndReportEndsThePurchase) {
  const PendingReportCase& row = GetParam();
  Attach(PendingBackend::kAvailable);
  Store()->Buy(mProduct, row.withListener ? &mListener : nullptr);
  Store()->Buy(mProduct, &mListener);  // ignored: pending
  ASSERT_EQ(PurchaseCalls(), 1u);
  ASSERT_TRUE(mProduct->pending);

  ASSERT_TRUE(row.succeeded ? mBackend->Succeed(mProduct) : mBackend->Fail(mProduct));
  EXPECT_EQ(mLog, row.expected);
  EXPECT_FALSE(mProduct->pending);
  EXPECT_EQ(mProduct->bought, row.succeeded);

  // Bought again (a consumable), the flag stays set whatever the second outcome.
  mLog.clear();
  Store()->Buy(mProduct);
  EXPECT_EQ(PurchaseCalls(), 2u);
  EXPECT_TRUE(mProduct->pending);
  EXPECT_EQ(mProduct->listener, nullptr);
  ASSERT_TRUE(mBackend->Fail(mProduct));
  EXPECT_EQ(mLog, (OutcomeLog{"event #0 code 1 buy_health", "event #1 with-code 1 0 buy_health",
                              "event #1 code 1 buy_health"}));
  EXPECT_EQ(mProduct->bought, row.succeeded);

  Tick();
  Tick();
  EXPECT_EQ(mLog.size(), 3u);  // a request the back end took gets no deferred failure
}

INSTANTIATE_TEST_SUITE_P(
    Table, PendingReportTest,
    ::testing::Values(PendingReportCase{"SucceededWithListener", true, true,
                                 {"listener succeeded buy_health", "event #0 code 0 buy_health",
                                  "event #1 with-code 0 0 buy_health", "event #1 code 0 buy_health"}},
                      PendingReportCase{"SucceededWithoutListener", true, false,
                                 {"event #0 code 0 buy_health", "event #1 with-code 0 0 buy_health",
                                  "event #1 code 0 buy_health"}},
                      PendingReportCase{"FailedWithListener", false, true, kPendingFailureReport},
                      PendingReportCase{"FailedWithoutListener", false, false,
                                 {"event #0 code 1 buy_health", "event #1 with-code 1 0 buy_health",
                                  "event #1 code 1 buy_health"}}),
    [](const ::testing::TestParamInfo<PendingReportCase>& info) { return std::string(info.param.label); });

TEST_F(PendingStoreTest, NullProductDoesNothing) {
  Attach(PendingBackend::kAvailable);
  TickRunning([] { Store()->Buy(nullptr, nullptr); });
  Tick();
  EXPECT_EQ(PurchaseCalls(), 0u);
  EXPECT_TRUE(mLog.empty());

  mBackend->SetAvailable(false);
  TickRunning([] { Store()->Buy(nullptr); });
  Tick();
  EXPECT_TRUE(mLog.empty());
}

TEST_F(PendingStoreTest, RefusedRequestsOfOneTickFailOnceEachOnTheNext) {
  purchase::Product* other = Store()->FindProduct(u"energy_speed");
  ASSERT_NE(other, nullptr);
  TickRunning([&] {
    Store()->Buy(mProduct);
    Store()->Buy(other);
    Store()->Buy(mProduct);  // ignored: pending
  });
  EXPECT_TRUE(mLog.empty());
  Tick();
  EXPECT_EQ(mLog, (OutcomeLog{"event #0 code 1 buy_health", "event #1 with-code 1 0 buy_health",
                              "event #1 code 1 buy_health", "event #0 code 1 energy_speed",
                              "event #1 with-code 1 0 energy_speed", "event #1 code 1 energy_speed"}));
  EXPECT_FALSE(mProduct->pending);
  EXPECT_FALSE(other->pending);
}

// The game's answer to a failed health purchase is to offer it again at once.
TEST_F(PendingStoreTest, ASubscriberMayBuyAgainFromTheFailureReport) {
  mSubscribers[0].mDuringResult = [this] { Store()->Buy(mProduct); };
  TickRunning([this] { Store()->Buy(mProduct); });
  Tick();
  EXPECT_EQ(mLog.size(), 3u);
  EXPECT_TRUE(mProduct->pending);  // the second request is open
  Tick();
  EXPECT_EQ(mLog.size(), 6u);  // and fails on the tick after
  EXPECT_FALSE(mProduct->pending);
}

TEST_F(PendingStoreTest, UnloadingForgetsRefusedRequests) {
  TickRunning([this] { Store()->Buy(mProduct); });
  Store()->UnloadProducts();
  Tick();
  EXPECT_TRUE(mLog.empty());
}

TEST_F(PendingStoreTest, BackEndBecomingAvailableTakesTheNextRequest) {
  Attach(PendingBackend::kUnavailable);
  TickRunning([this] { Store()->Buy(mProduct); });
  Tick();
  ASSERT_EQ(mLog.size(), 3u);
  mBackend->SetAvailable(true);
  Store()->Buy(mProduct);
  EXPECT_EQ(PurchaseCalls(), 1u);
  ASSERT_TRUE(mBackend->Succeed(mProduct));
  EXPECT_TRUE(mProduct->bought);
}

}  // namespace
