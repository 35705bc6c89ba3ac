#pragma once
#include <memory>

namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class Layer;
class TextLayer;
}  // namespace layer
struct RuvUpgrade;
class RuvMap;

// One upgrade on the upgrade shop: its icon, name, a star per bought step, the next step's text and
// gem price and a buy button, built from the plate template of the shop's layout ("item_plate/...",
// placed relative to "item_plate/Layer_1"). The screen sets the root's position and parents it.
// Levels are the ones the profile keeps, in every mode: hardcore mode hides them from the battle
// only, so the shop never sells a bought step again.
class HUDShopPlate {
 public:
  static constexpr int kMaxStars = 10;
  static constexpr int kSingleStepStars = 6;  // an upgrade of one step shows six stars, all or none
  static constexpr int kHitTop = 170;         // the buy button takes clicks only within these rows
  static constexpr int kHitBottom = 610;
  static constexpr int kHitInset = 30;  // the fixed left shift of the buy button's hit box

  // The map and the layout outlive the plate.
  HUDShopPlate(RuvMap& map, file::ImageContainer* layout, const RuvUpgrade& upgrade);
  // Unlinks the root from its parent; every layer goes with the plate.
  ~HUDShopPlate();
  HUDShopPlate(const HUDShopPlate&) = delete;
  HUDShopPlate& operator=(const HUDShopPlate&) = delete;

  // Stars, price, its colour (red when the gems fall short) and the text of the next step, or the
  // completed look.
  void refresh();
  // The next step for gems when they suffice (saved); else the gem-shop offer when its feature is
  // on. Refreshes the HUD's top screen in every case but the completed one.
  void buy();
  // The buy button's hit box, in layout pixels, with the content's scroll offset.
  bool hitBuyButton(int x, int y) const;
  // The active buy picture follows the pointer until the upgrade is complete.
  void onMouseMove(int x, int y);
  // A release on the buy button plays "simple" and buys.
  void onMouseUp(int x, int y);
  // Real seconds: the buy button swells to 1.1 at 0.5 per second while hovered, back at 1 per second.
  void update(float dt);

  int upgradeId = 0;
  float buyScale = 1.0f;
  int hovered = 0;
  std::unique_ptr<layer::ImageLayer> root;
  std::unique_ptr<layer::ImageLayer> clearStar;
  std::unique_ptr<layer::ImageLayer> stars[kMaxStars];  // the first starCount are used
  std::unique_ptr<layer::ImageLayer> buyActive;
  std::unique_ptr<layer::ImageLayer> buyInactive;
  std::unique_ptr<layer::Layer> buyButton;
  std::unique_ptr<layer::ImageLayer> gemIcon;
  std::unique_ptr<layer::TextLayer> priceLabel;
  std::unique_ptr<layer::TextLayer> descriptionLabel;
  std::unique_ptr<layer::TextLayer> nameLabel;
  std::unique_ptr<layer::ImageLayer> icon;
  unsigned char completed = 0;
  int openedFromLevel = 0;
  int starCount = 0;

 private:
  // The upgrade's definition in the map's list; null when the list no longer has it.
  const RuvUpgrade* definition() const;
  int storedLevel() const;

  RuvMap& mMap;
};
