#pragma once
#include <memory>
#include <string>

#include "Core/Base/NoCopy.h"
#include "Core/Purchase/StoreBackend.h"

namespace purchase {

class PurchaseListener;

// One catalogue entry, owned by the store front; the game reads its fields directly.
struct Product : public base::NoCopy {
  // Given with the current purchase request; not owned; null when none was given.
  PurchaseListener* listener = nullptr;
  // 1 for a product that can be bought again and again ("consumable"), else 0.
  int kind = 0;
  std::u16string name;
  std::u16string text;
  // Empty unless the store back end fills it.
  std::u16string price;
  // The back end's data for this product; null without a back end.
  std::unique_ptr<ProductHandle> handle;
  // True while a purchase request for the product is open.
  bool pending = false;
  // Set by a successful purchase and never cleared.
  bool bought = false;
};

}  // namespace purchase
