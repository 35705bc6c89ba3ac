#include <gtest/gtest.h>

#include "PurchaseTestSupport.h"

namespace {

using purchasetest::OutcomeLog;
using purchasetest::ResultSubscriber;
using ResultEvent = purchase::PurchaseResultEvent;

// A product made here, not by a catalogue: the event only passes the pointer on.
struct ResultEventFixture : public ::testing::Test {
  ResultEventFixture() { product.name = u"buy_50_cr"; }
  purchase::Product product;
  OutcomeLog log;
};

TEST_F(ResultEventFixture, SubscribersAreCalledInKeyOrderCodeHandlerFirst) {
  ResultSubscriber subscribers[3];
  subscribers[2].Subscribe(&log, 2, false);
  subscribers[0].Subscribe(&log, 0, true);
  subscribers[1].Subscribe(&log, 1, false);

  ResultEvent::Fire({&product, TPurchaseResult::kRestoreFailed});
  EXPECT_EQ(log, (OutcomeLog{"event #0 with-code 3 0 buy_50_cr", "event #0 code 3 buy_50_cr",
                             "event #1 code 3 buy_50_cr", "event #2 code 3 buy_50_cr"}));
}

TEST_F(ResultEventFixture, SubscribingAgainReplacesTheHandler) {
  ResultSubscriber subscriber;
  subscriber.Subscribe(&log, 0, false);
  OutcomeLog second;
  subscriber.Subscribe(&second, 5, false);
  ResultEvent::Fire({&product, TPurchaseResult::kPurchaseSucceeded});
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(second, (OutcomeLog{"event #5 code 0 buy_50_cr"}));
}

TEST_F(ResultEventFixture, OwnerWithoutOneArgumentHandlerIsNotCalled) {
  ResultSubscriber subscriber;
  subscriber.Subscribe(&log, 0, true);
  ResultEvent::Subscribe(&subscriber, {});  // an empty handle: the owner stays listed, nothing is called
  ResultEvent::Fire({&product, TPurchaseResult::kPurchaseFailed});
  EXPECT_EQ(log, (OutcomeLog{"event #0 with-code 1 0 buy_50_cr"}));

  log.clear();
  ResultEvent::Unsubscribe(&subscriber);
  ResultEvent::SubscribeWithCode(&subscriber, base::DelegatePtr<ResultEvent::HandlerWithCode>(
                                            new base::MemberDelegate2<ResultSubscriber, TPurchaseResult const&,
                                                                      int, VNResultEnum>(
                                                &subscriber, &ResultSubscriber::OnResultWithCode)));
  ResultEvent::Fire({&product, TPurchaseResult::kPurchaseFailed});
  EXPECT_TRUE(log.empty());  // the walk goes over the one-argument table only
}

TEST_F(ResultEventFixture, UnsubscribingDuringFireSkipsTheRemovedOwner) {
  ResultSubscriber subscribers[3];
  for (int i = 0; i < 3; ++i) subscribers[i].Subscribe(&log, i, false);
  subscribers[0].mDuringResult = [&] {
    ResultEvent::Unsubscribe(&subscribers[0]);  // itself: its handler is still held for this call
    ResultEvent::Unsubscribe(&subscribers[1]);
  };

  ResultEvent::Fire({&product, TPurchaseResult::kPurchaseSucceeded});
  EXPECT_EQ(log, (OutcomeLog{"event #0 code 0 buy_50_cr", "event #2 code 0 buy_50_cr"}));

  log.clear();
  ResultEvent::Fire({&product, TPurchaseResult::kPurchaseSucceeded});
  EXPECT_EQ(log, (OutcomeLog{"event #2 code 0 buy_50_cr"}));
}

}  // namespace
