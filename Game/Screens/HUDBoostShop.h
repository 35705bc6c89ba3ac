#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Game/Screens/HUDShopOffer.h"
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// Three boosts, sold either by the store (store mode) or for gems at the premium price table's
// cost (premium mode, the feature "boost_shop_premium_mode"). Unlike the gem shop the screen acts
// on its clicks itself and answers the empty name for every point.
class HUDBoostShop : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/boost_shop";
  static constexpr int kBoosts = 3;

  // The map outlives the screen.
  explicit HUDBoostShop(RuvMap& map);
  ~HUDBoostShop() override;

  // The base content, then the offers with their lines.
  void draw(render::Graphics& graphics) override;
  // As the gem shop: the balance every frame, the offers' hover scale.
  void update(float dt) override;
  void refresh() override;
  void onMouseMove(int x, int y) override;
  // Back: pops the screen and opens the one of boostShopReturnScreen ("shop", "episodes",
  // "levels", "gemShop"), the main menu for any other name. An offer: buys it. Always the empty
  // name.
  std::u16string buttonNameAt(int x, int y) override;

  // Premium mode: the profile counts a purchase; store mode: the product's bought flag.
  bool isPurchased(const HUDShopOffer& offer) const;
  // Premium mode: the premium name; store mode: the product's name, empty without product.
  std::u16string caption(const HUDShopOffer& offer) const;
  // "boostShopBuy_already_purchased"; else the premium cost and "gems", or in store mode the
  // gem shop's progress or price line.
  std::u16string line(const HUDShopOffer& offer) const;

  bool premiumMode = false;
  std::vector<std::unique_ptr<HUDShopOffer>> offers;

 private:
  // Pops this screen (deleting it) and leaves by name; nothing of the screen is used afterwards.
  static void leave(RuvMap& map, const std::u16string& name);
  // May pop (delete) this screen when the gems fall short.
  void buy(const HUDShopOffer& offer);

  RuvMap& mMap;
};

// The store products and the premium names of the boosts, in boost order. The second premium
// name starts with the Cyrillic letter U+0445.
extern const char16_t* const boostProductNames[HUDBoostShop::kBoosts];
extern const char* const boostPremiumNames[HUDBoostShop::kBoosts];
