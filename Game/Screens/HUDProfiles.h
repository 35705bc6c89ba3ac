#pragma once
#include <string>
#include <vector>

#include "Game/Screens/HUDWindow.h"

class HUDButtonOver;
class RuvMap;

// The profile list: five rows with the other profiles' names (or the "empty_profile" text), a
// highlight on the current profile's row, and "create", "rename", "delete", "confirm" and "back".
// A press on a row selects that profile; the battle map acts on the other names.
class HUDProfiles : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/data/profiles";
  static constexpr int kRows = 5;

  // The map outlives the screen.
  explicit HUDProfiles(RuvMap& map);
  ~HUDProfiles() override;

  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  // Rows, highlights and "confirm" from the progress store's profile names.
  void refresh() override;
  void onMouseMove(int x, int y) override;
  void onMouseUp(int x, int y) override;
  // The buttons' press; a press strictly inside row K's text slot "profileK" selects the K-th
  // other profile, when there is one.
  void onMouseDown(int x, int y) override;
  // The first button hit, with the sound "simple"; empty when none.
  std::u16string buttonNameAt(int x, int y) override;

  // The first hover button of that click name; null when none.
  HUDButtonOver* findMenuButton(const std::u16string& name) const;

  std::vector<HUDButtonOver*> menuButtons;  // owned

 private:
  RuvMap& mMap;
};
