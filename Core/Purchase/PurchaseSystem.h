#pragma once
#include <string>
#include <vector>

#include "Core/Base/Result.h"
#include "Core/Base/Singletone.h"
#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseListener.h"
#include "Core/Purchase/PurchaseResultEvent.h"
#include "Core/Purchase/StoreBackend.h"

namespace purchase {

// The store front: the product catalogue, purchase requests forwarded to the store back end, and
// every outcome delivered to the product's listener and to the purchase-result event. No back end is
// attached by the engine: requests then fail, reported on the application's next tick. Main thread
// only.
class PurchaseSystem : public PurchaseListener, public base::Singletone<PurchaseSystem> {
 public:
  PurchaseSystem();
  ~PurchaseSystem() override;

  // Takes ownership of backend (null for none) and deletes the one attached before. Attach it before
  // the catalogue is loaded: products loaded earlier have no handle and were not registered.
  void SetBackend(StoreBackend* backend);
  StoreBackend* GetBackend() const { return mBackend; }

  // Appends the "Product" children of the root "xml" of the catalogue at path (read through the file
  // manager) in file order, and registers them with the back end. Fails (1), adding nothing, when the
  // file is missing or unreadable, does not parse, or has no root "xml".
  VNResultEnum LoadProducts(const std::u16string& path);
  // Deletes every product; purchases still open are forgotten. The game never calls it.
  void UnloadProducts();
  // The first product whose name equals name exactly; null when there is none.
  Product* FindProduct(const std::u16string& name) const;
  const std::vector<Product*>& GetProducts() const { return mProducts; }

  // Starts a purchase of product unless one is pending; listener (not owned, may be null) hears the
  // outcome before the purchase-result event does. Without an available back end the request fails,
  // reported on the application's next tick. A null product does nothing.
  void Buy(Product* product, PurchaseListener* listener = nullptr);
  // The back end's buy menu with the same arguments; nothing without a back end.
  void ShowBuyMenu(const std::u16string& text, const std::u16string& first, const std::u16string& second,
                   const std::u16string& third, const std::u16string& fourth);

  // The back end's reports: each clears pending, tells the product's listener and fires the
  // purchase-result event (code 0 or 1); success also sets the bought flag.
  void OnPurchaseSucceeded(Product* product) override;
  void OnPurchaseFailed(Product* product) override;

 private:
  class DeferredFailureTask;

  // Queues the failure of a refused request for the application's next tick; false at shut-down.
  bool ReportLater(Product* product);
  void DeliverDeferredFailure(Product* product);

  StoreBackend* mBackend = nullptr;
  std::vector<Product*> mProducts;
  // Refused requests whose failure is still to be reported.
  std::vector<Product*> mDeferred;
};

}  // namespace purchase
