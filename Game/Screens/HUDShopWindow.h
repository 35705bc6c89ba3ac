#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Result.h"
#include "Game/Screens/HUDShopPlate.h"
#include "Game/Screens/HUDWindow.h"

namespace layer {
class ImageLayer;
class Layer;
class TextLayer;
}  // namespace layer
class HUDScrollBar;
class HUDTabBar;
class RuvMap;

// The upgrade shop: three tabs for the upgrade sections, one plate per available upgrade of the
// shown section, scrolled by a bar, two buttons and the wheel from five plates on. The plates hang
// below a content layer drawn with the screen; the scroll bar, header, footer (which draws the
// layout's buttons again over itself), tabs, caption and gem count hang in the root board's layer
// tree, drawn after the HUD. The battle map acts on "back_ac", "return_ac" and the dialogs' answers.
class HUDShopWindow : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/shop";
  static constexpr int kSections = 3;
  static constexpr int kScrolledPlates = 5;  // from this many plates the scroll controls show
  static constexpr int kShownRows = 3;       // the scroll range is the rows beyond these
  static constexpr float kPlatePitch = 99.0f;
  static constexpr float kScrollRow = 105.0f;  // the scroll arithmetic's row, not the plates' pitch
  static constexpr float kButtonScroll = 0.25f;
  // Presses along the scroll bar start a drag that keeps the release from buying.
  static constexpr int kDragLeft = 865;
  static constexpr int kDragRight = 909;
  static constexpr int kDragTop = 201;
  static constexpr int kDragBottom = 619;

  // openedFromLevel: 1 after a level result ("return_ac" shown), 0 from a menu ("back_ac" shown).
  // Sets the map's state to kStateUpgradeShop; the map outlives the screen.
  HUDShopWindow(RuvMap& map, int openedFromLevel);
  // Takes its layers out of the root board's tree and deletes them with the plates and the layout.
  ~HUDShopWindow() override;

  // The base content, then the plates.
  void draw(render::Graphics& graphics) override;
  // Buttons, tabs and plates; the gem count follows the wallet. The base time does not advance.
  void update(float dt) override;
  void refresh() override;
  void onMouseMove(int x, int y) override;
  // Buys on the plates unless the press was dragged along the scroll bar.
  void onMouseUp(int x, int y) override;
  // The drag zone; unless the HUD blocks the shop: the scroll bar and the tabs.
  void onMouseDown(int x, int y) override;
  // From five plates on: a turn of 1024 scrolls the whole range.
  void onWheel(int delta) override;
  // Empty while the HUD blocks the shop. Scrolls on "down_in" and "up_in" (answering the empty
  // name); opens the reset question on "reset_premium_points" (kStateResetPremiumPoints). Other
  // names unchanged.
  std::u16string buttonNameAt(int x, int y) override;

  // Rebuilds the plates of that section at the top of the range.
  void fillTab(int section);
  // The content's offset for a scroll position 0 .. 1.
  void setScrollOffset(float position);
  // The footer's after-draw: the visible layout buttons once more, unscaled.
  VNResultEnum drawButtonsOver(render::Graphics* graphics, layer::Layer* layer);
  // The upgrades of the section available at the last level the player reached, in list order.
  std::vector<const RuvUpgrade*> availableUpgrades(int section) const;
  int countAvailableUpgrades(int section) const;

  int openedFromLevel = 0;
  int tab = 0;
  std::vector<std::unique_ptr<HUDShopPlate>> plates;
  std::unique_ptr<HUDTabBar> tabBar;
  std::unique_ptr<HUDScrollBar> scrollBar;
  std::unique_ptr<layer::Layer> content;
  std::unique_ptr<layer::ImageLayer> header;
  std::unique_ptr<layer::ImageLayer> footer;
  std::unique_ptr<layer::TextLayer> captionLabel;
  std::unique_ptr<layer::TextLayer> gemsLabel;
  int dragState = 0;  // 0 idle, 1 pressed in the drag zone, 2 moved after that press

 private:
  // Missing buttons are passed over (logged once at construction).
  void setButtonVisible(const char16_t* name, bool visible);
  void showGems();
  // The reset question, when the reset is free or its product can be bought now.
  void askReset();

  RuvMap& mMap;
};
