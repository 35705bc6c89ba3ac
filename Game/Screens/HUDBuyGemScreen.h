#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Game/Screens/HUDShopOffer.h"
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// The gem shop: five gem packs of the store, the gem balance in the caption and a back button.
// A click on a pack answers its product's name (the battle map starts the purchase), a click on a
// layout button its name.
class HUDBuyGemScreen : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/gem_shop";
  static constexpr int kPacks = 5;

  // The map outlives the screen: its language picks the price pictures, its wallet the balance.
  explicit HUDBuyGemScreen(RuvMap& map);
  ~HUDBuyGemScreen() override;

  // The base content, then the packs.
  void draw(render::Graphics& graphics) override;
  // Every frame: the balance, and the packs' hover scale.
  void update(float dt) override;
  // "gemShopTitle2" with the wallet's gems.
  void refresh() override;
  void onMouseMove(int x, int y) override;
  // The product name of the first pack holding the point (no sound), else a visible button's name.
  std::u16string buttonNameAt(int x, int y) override;

  std::vector<std::unique_ptr<HUDShopOffer>> offers;

 private:
  RuvMap& mMap;
};

// The store products of the five gem packs, in pack order.
extern const char16_t* const gemPackProductNames[HUDBuyGemScreen::kPacks];
