#pragma once

namespace purchase {

struct Product;

// Receiver of a purchase's outcome, one call per finished request. Not deleted through this
// interface.
class PurchaseListener {
 public:
  virtual void OnPurchaseSucceeded(Product* product) = 0;
  virtual void OnPurchaseFailed(Product* product) = 0;

 protected:
  ~PurchaseListener() = default;
};

}  // namespace purchase
