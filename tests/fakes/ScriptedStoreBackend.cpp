#include "ScriptedStoreBackend.h"

#include <tinyxml2.h>

#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseListener.h"

namespace fakes {

ScriptedStoreBackend::Handle::Handle(std::string elementName, std::shared_ptr<int> live)
    : mElementName(std::move(elementName)), mLive(std::move(live)) {
  ++*mLive;
}

ScriptedStoreBackend::Handle::~Handle() { --*mLive; }

ScriptedStoreBackend::ScriptedStoreBackend(bool available, bool* destroyed)
    : mAvailable(available), mDestroyed(destroyed) {}

ScriptedStoreBackend::~ScriptedStoreBackend() {
  if (mDestroyed) *mDestroyed = true;
}

void ScriptedStoreBackend::Purchase(purchase::Product* product, purchase::PurchaseListener* listener) {
  mPurchases.push_back({product, listener});
  mOpen.push_back({product, listener});
}

void ScriptedStoreBackend::RegisterProduct(purchase::Product* product) {
  mRegistered.push_back(product);
  if (!mPriceText.empty()) product->price = mPriceText;
}

void ScriptedStoreBackend::ShowBuyMenu(const std::u16string& text, const std::u16string& first,
                                       const std::u16string& second, const std::u16string& third,
                                       const std::u16string& fourth) {
  mBuyMenus.push_back({text, first, second, third, fourth});
}

purchase::ProductHandle* ScriptedStoreBackend::CreateProductHandle(const tinyxml2::XMLElement* element) {
  const char* name = element->Attribute("name");
  mHandleElements.push_back(name ? name : "");
  return new Handle(mHandleElements.back(), mLiveHandles);
}

bool ScriptedStoreBackend::Succeed(purchase::Product* product) { return Report(product, true); }

bool ScriptedStoreBackend::Fail(purchase::Product* product) { return Report(product, false); }

bool ScriptedStoreBackend::Report(purchase::Product* product, bool succeeded) {
  for (auto it = mOpen.begin(); it != mOpen.end(); ++it) {
    if (it->product != product) continue;
    purchase::PurchaseListener* listener = it->listener;
    mOpen.erase(it);
    if (succeeded) {
      listener->OnPurchaseSucceeded(product);
    } else {
      listener->OnPurchaseFailed(product);
    }
    return true;
  }
  return false;
}

}  // namespace fakes
