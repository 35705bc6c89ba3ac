#pragma once
#include <cstdint>
#include <map>

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"

namespace purchase {
struct Product;
}

// What a finished purchase request reports to the purchase-result subscribers.
struct TPurchaseResult {
  enum Code : std::int32_t {
    kPurchaseSucceeded = 0,
    kPurchaseFailed = 1,
    // Restores are part of the record; no back end of this program reports them.
    kRestoreSucceeded = 2,
    kRestoreFailed = 3,
  };

  purchase::Product* product = nullptr;
  std::int32_t code = kPurchaseSucceeded;
};

namespace purchase {

// The purchase-result event: subscribers are kept in two process-wide tables keyed by their owner.
class PurchaseResultEvent {
 public:
  using Handler = base::Delegate1<TPurchaseResult const&, void>;
  using HandlerWithCode = base::Delegate2<TPurchaseResult const&, int, VNResultEnum>;

  // Installs owner's handler, replacing the one it had.
  static void Subscribe(const void* owner, base::DelegatePtr<Handler> handler);
  static void SubscribeWithCode(const void* owner, base::DelegatePtr<HandlerWithCode> handler);
  // Removes both of owner's handlers.
  static void Unsubscribe(const void* owner);
  // Calls, for each owner of the one-argument table in address order, its two-argument handler with
  // (result, 0), then its one-argument handler. Handlers may subscribe or unsubscribe while it runs;
  // an owner removed meanwhile is not called.
  static void Fire(const TPurchaseResult& result);

 private:
  static std::map<const void*, base::DelegatePtr<Handler>>& Listeners();
  static std::map<const void*, base::DelegatePtr<HandlerWithCode>>& Handlers();
};

}  // namespace purchase
