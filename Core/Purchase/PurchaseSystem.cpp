#include "Core/Purchase/PurchaseSystem.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstring>

#include "Core/App/Application.h"
#include "Core/Base/DataFileLog.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/Task.h"
#include "Core/Base/TextFile.h"

namespace purchase {

namespace {

std::u16string PurchaseAttributeText(const tinyxml2::XMLElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value ? base::ToWide(value, base::kEncodingUtf8) : std::u16string();
}

}  // namespace

// Reports one refused request on the tick after the one that made it: a caller of Buy is never
// re-entered, and finds the product pending until then.
class PurchaseSystem::DeferredFailureTask : public base::Task {
 public:
  explicit DeferredFailureTask(Product* product) : Task(true, false, false, false), mProduct(product) {}

  VNResultEnum Update(float) override {
    if (PurchaseSystem::Exists()) PurchaseSystem::Instance()->DeliverDeferredFailure(mProduct);
    Stop();
    return VN_OK;
  }

 private:
  Product* mProduct;
};

PurchaseSystem::PurchaseSystem() = default;

PurchaseSystem::~PurchaseSystem() {
  delete mBackend;
  UnloadProducts();
}

void PurchaseSystem::SetBackend(StoreBackend* backend) {
  if (backend == mBackend) return;
  delete mBackend;
  mBackend = backend;
}

VNResultEnum PurchaseSystem::LoadProducts(const std::u16string& path) {
  // The reader bounds the size and gives an empty text on any failure, which does not parse.
  const std::string text = base::ReadTextFile(path);
  tinyxml2::XMLDocument document;
  if (!base::ParseDataXml(u"PurchaseSystem", path, text, document)) return VN_FAIL;
  const tinyxml2::XMLElement* root = document.FirstChildElement("xml");
  if (!root) {
    base::LogDataFileProblem(u"PurchaseSystem", path, u"has no <xml>: no products");
    return VN_FAIL;
  }

  for (const tinyxml2::XMLElement* element = root->FirstChildElement("Product"); element;
       element = element->NextSiblingElement("Product")) {
    auto* product = new Product;
    const char* type = element->Attribute("type");
    product->kind = type && std::strcmp(type, "consumable") == 0 ? 1 : 0;
    product->name = PurchaseAttributeText(element, "name");
    product->text = PurchaseAttributeText(element, "text");
    if (mBackend) product->handle.reset(mBackend->CreateProductHandle(element));
    mProducts.push_back(product);
    if (mBackend) mBackend->RegisterProduct(product);
  }
  return VN_OK;
}

void PurchaseSystem::UnloadProducts() {
  mDeferred.clear();
  for (Product* product : mProducts) delete product;
  mProducts.clear();
}

Product* PurchaseSystem::FindProduct(const std::u16string& name) const {
  for (Product* product : mProducts) {
    if (product->name == name) return product;
  }
  return nullptr;
}

void PurchaseSystem::Buy(Product* product, PurchaseListener* listener) {
  if (!product || product->pending) return;
  product->pending = true;
  product->listener = listener;
  if (mBackend && mBackend->IsAvailable()) {
    mBackend->Purchase(product, this);
  } else if (!ReportLater(product)) {
    product->pending = false;
  }
}

void PurchaseSystem::ShowBuyMenu(const std::u16string& text, const std::u16string& first,
                                 const std::u16string& second, const std::u16string& third,
                                 const std::u16string& fourth) {
  if (mBackend) mBackend->ShowBuyMenu(text, first, second, third, fourth);
}

void PurchaseSystem::OnPurchaseSucceeded(Product* product) {
  if (!product) return;
  product->pending = false;
  product->bought = true;
  if (product->listener) product->listener->OnPurchaseSucceeded(product);
  PurchaseResultEvent::Fire({product, TPurchaseResult::kPurchaseSucceeded});
}

void PurchaseSystem::OnPurchaseFailed(Product* product) {
  if (!product) return;
  product->pending = false;
  if (product->listener) product->listener->OnPurchaseFailed(product);
  PurchaseResultEvent::Fire({product, TPurchaseResult::kPurchaseFailed});
}

bool PurchaseSystem::ReportLater(Product* product) {
  app::Application* application = app::Application::Instance();
  if (!application) return false;  // shutting down: nobody is waiting any more
  mDeferred.push_back(product);
  application->AddTask(new DeferredFailureTask(product));
  return true;
}

void PurchaseSystem::DeliverDeferredFailure(Product* product) {
  // A product unloaded meanwhile is no longer in the list; its address is only compared.
  const auto it = std::find(mDeferred.begin(), mDeferred.end(), product);
  if (it == mDeferred.end()) return;
  mDeferred.erase(it);
  OnPurchaseFailed(product);
}

}  // namespace purchase
