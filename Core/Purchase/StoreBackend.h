#pragma once
#include <string>

namespace tinyxml2 {
class XMLElement;
}

namespace purchase {

struct Product;
class PurchaseListener;

// A back end's own data for one product; the product owns it and deletes it with itself.
class ProductHandle {
 public:
  virtual ~ProductHandle() = default;
};

// What a platform store implements. The store front owns its back end and calls it on the main
// thread; the back end reports every outcome on the main thread too.
class StoreBackend {
 public:
  virtual ~StoreBackend() = default;
  // Whether purchases can be made now.
  virtual bool IsAvailable() = 0;
  // Starts a purchase of product; the outcome comes back through listener (succeeded or failed),
  // until which the product stays pending.
  virtual void Purchase(Product* product, PurchaseListener* listener) = 0;
  // Announces a catalogue product (after its handle was made); may fill its price text.
  virtual void RegisterProduct(Product* product) = 0;
  // The store's own buy menu: the product's text and the captions of the menu's four choices.
  virtual void ShowBuyMenu(const std::u16string& text, const std::u16string& first, const std::u16string& second,
                           const std::u16string& third, const std::u16string& fourth) = 0;
  // The data for one "Product" element of the catalogue; the caller owns it; may be null.
  virtual ProductHandle* CreateProductHandle(const tinyxml2::XMLElement* element) = 0;
};

}  // namespace purchase
