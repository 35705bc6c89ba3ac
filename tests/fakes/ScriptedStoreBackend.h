#pragma once
// A store back end for tests: available or not as the test says, records every call, makes a handle
// per catalogue element, and reports an outcome when the test commands it.
#include <memory>
#include <string>
#include <vector>

#include "Core/Purchase/StoreBackend.h"

namespace fakes {

class ScriptedStoreBackend : public purchase::StoreBackend {
 public:
  // The handle of one catalogue element: the element's "name", counted while it lives.
  class Handle : public purchase::ProductHandle {
   public:
    Handle(std::string elementName, std::shared_ptr<int> live);
    ~Handle() override;
    const std::string& GetElementName() const { return mElementName; }

   private:
    std::string mElementName;
    std::shared_ptr<int> mLive;
  };

  struct PurchaseCall {
    purchase::Product* product;
    purchase::PurchaseListener* listener;
  };

  // destroyed (optional) is set when the back end is deleted.
  explicit ScriptedStoreBackend(bool available = true, bool* destroyed = nullptr);
  ~ScriptedStoreBackend() override;

  bool IsAvailable() override { return mAvailable; }
  void Purchase(purchase::Product* product, purchase::PurchaseListener* listener) override;
  void RegisterProduct(purchase::Product* product) override;
  void ShowBuyMenu(const std::u16string& text, const std::u16string& first, const std::u16string& second,
                   const std::u16string& third, const std::u16string& fourth) override;
  purchase::ProductHandle* CreateProductHandle(const tinyxml2::XMLElement* element) override;

  // Reports the outcome of the oldest open purchase of product to the listener it was given and
  // closes it; false when product has no open purchase.
  bool Succeed(purchase::Product* product);
  bool Fail(purchase::Product* product);

  void SetAvailable(bool available) { mAvailable = available; }
  // Written into each product's price text when it is registered (empty: left alone).
  void SetPriceText(std::u16string price) { mPriceText = std::move(price); }

  const std::vector<PurchaseCall>& GetPurchases() const { return mPurchases; }
  const std::vector<purchase::Product*>& GetRegistered() const { return mRegistered; }
  const std::vector<std::string>& GetHandleElements() const { return mHandleElements; }
  const std::vector<std::vector<std::u16string>>& GetBuyMenus() const { return mBuyMenus; }
  // Handles made by this back end that are not deleted yet; valid after the back end is gone.
  std::shared_ptr<int> GetLiveHandles() const { return mLiveHandles; }

 private:
  bool Report(purchase::Product* product, bool succeeded);

  bool mAvailable;
  bool* mDestroyed;
  std::u16string mPriceText;
  std::vector<PurchaseCall> mPurchases;
  std::vector<PurchaseCall> mOpen;
  std::vector<purchase::Product*> mRegistered;
  std::vector<std::string> mHandleElements;
  std::vector<std::vector<std::u16string>> mBuyMenus;
  std::shared_ptr<int> mLiveHandles = std::make_shared<int>(0);
};

}  // namespace fakes
