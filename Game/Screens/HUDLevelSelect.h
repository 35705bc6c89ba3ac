#pragma once
#include <memory>
#include <vector>

#include "Game/Screens/HUDWindow.h"
#include "Game/Screens/LevelPlate.h"

namespace layer {
class ImageLayer;
class TextLayer;
}  // namespace layer
class HUDTabBar;
class RuvMap;

// The levels of the map's episode as a grid of plates for the map's mode, three difficulty tabs
// (modes 0-2) and the way into hardcore mode 3 ("unlocked_d") or its explanation ("locked_d"). The
// title, the hardcore badge and the tabs hang in the root board's layer tree. The battle map asks
// for "back", "upgrade", "locked_d", "unlocked_d" and for the level under the pointer.
class HUDLevelSelect : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/level_select";
  static constexpr char16_t kMusic[] = u"ruv/data/music/main_menu.ogg";
  static constexpr int kHardcoreMode = 3;
  // The profile's event flag set once the hardcore explanation has been shown.
  static constexpr int kHardcoreExplainedFlag = 0;
  // Where both hardcore buttons stand.
  static constexpr float kHardcoreButtonX = 857.0f;
  static constexpr float kHardcoreButtonY = 448.0f;

  // Plays the music, sets the map's return screen to "levels", builds title, hardcore controls,
  // gems, tabs and plates and counts the episode's levels of this mode as visited. The map
  // outlives the screen.
  explicit HUDLevelSelect(RuvMap& map);
  // Takes its layers out of the root board's tree.
  ~HUDLevelSelect() override;

  // Frames, buttons and texts, then the plates.
  void draw(render::Graphics& graphics) override;
  // Plates' hover scales and effects, the tabs; in hardcore mode the explanation once per profile.
  void update(float dt) override;
  void onMouseMove(int x, int y) override;
  // A tab outside hardcore mode becomes the map's and the profile's mode; the plates are rebuilt.
  void onMouseDown(int x, int y) override;
  // The level of the plate under the point, locked ones included; -1.
  int buttonIndexAt(int x, int y) override;

  // The plates of the map's episode in the map's mode, replacing the old ones.
  void buildPlates();

  std::vector<std::unique_ptr<LevelPlate>> plates;
  std::unique_ptr<layer::TextLayer> title;
  std::unique_ptr<layer::TextLayer> hardcoreBadgeText;
  std::unique_ptr<layer::ImageLayer> hardcoreBadge;
  std::unique_ptr<HUDTabBar> tabBar;

 private:
  void setButtonVisible(const char16_t* name, bool visible);
  void setupHardcoreControls();
  // The explanation message over this screen; it gives back the screen's state when it goes.
  void explainHardcoreOnce();

  RuvMap& mMap;
};
