#pragma once
#include <memory>
#include <string>
#include <vector>

namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class Layer;
class TextLayer;
}  // namespace layer

// One tab of a tab bar: two pictures of the owner's layout ("tabs/up_button_ac" for the selected or
// hovered look, "tabs/up_button_in" at rest) and a localised label. Its root stands at the tab's
// bottom centre; the pictures rise above it.
class HUDTab {
 public:
  HUDTab(file::ImageContainer* layout, const std::u16string& name);
  // The layers unlink themselves from their parents.
  ~HUDTab();
  HUDTab(const HUDTab&) = delete;
  HUDTab& operator=(const HUDTab&) = delete;

  // Large label font, scale 1.1, the active picture.
  void select();
  // Small label font, the resting picture; no longer hovered.
  void deselect();
  // Strictly inside the active picture's box above the root point; never for a disabled tab. The
  // scale does not enter.
  bool hitTest(int x, int y) const;
  // Hover follows the pointer while the tab is not selected.
  void onMouseMove(int x, int y);
  // Real seconds: an unselected tab swells to 1.1 at 0.5 per second while hovered and shrinks to
  // 1.0 at 1 per second otherwise.
  void update(float dt);

  unsigned char enabled = 1;
  unsigned char hovered = 0;
  unsigned char selected = 0;
  float scale = 1.0f;
  std::unique_ptr<layer::TextLayer> label;
  std::unique_ptr<layer::Layer> root;
  std::unique_ptr<layer::Layer> holder;
  std::unique_ptr<layer::ImageLayer> active;
  std::unique_ptr<layer::ImageLayer> inactive;
};

// A row of tabs on the bottom edge of the layout's "tabs/up_button_ac", 200 pixels apart from x 300.
// A disabled tab takes no place of its own: it shares the next tab's place. The owner forwards its
// pointer and update and deletes the bar.
class HUDTabBar {
 public:
  static constexpr float kFirstX = 300.0f;
  static constexpr float kPitch = 200.0f;

  // Builds one tab per name (enabled[k] for tab k, enabled when missing), appends the bar's root to
  // boardLayer (the root board's layer tree) and selects the first tab, even a disabled one.
  HUDTabBar(file::ImageContainer* layout, const std::vector<std::u16string>& names,
            const std::vector<unsigned char>& enabled, layer::Layer* boardLayer);
  ~HUDTabBar();
  HUDTabBar(const HUDTabBar&) = delete;
  HUDTabBar& operator=(const HUDTabBar&) = delete;

  // Selects tab index and draws it over the others; an index outside the tabs changes nothing.
  void select(int index);
  // Selects the first tab hit, in creation order, and returns its index; -1 when none is hit.
  int clickAt(int x, int y);
  void onMouseMove(int x, int y);
  void update(float dt);

  std::vector<std::unique_ptr<HUDTab>> tabs;
  std::unique_ptr<layer::Layer> root;
};
