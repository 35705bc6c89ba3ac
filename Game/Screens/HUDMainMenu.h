#pragma once
#include <string>
#include <vector>

#include "Game/Screens/HUDWindow.h"

namespace render {
class ParticleEmitter;
}
class HUDButtonOver;
class RuvMap;

// The title screen: hover buttons ("play", "shop", "options", "cloze"), a band at the bottom that
// answers "profile", four looping effects, the menu music, a greeting with the profile's name and,
// once per run, the warning that the profiles file was recreated. The battle map acts on the names.
class HUDMainMenu : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/main_menu";
  static constexpr char16_t kMusic[] = u"ruv/data/music/main_menu.ogg";
  // Pointer rows that answer "profile" whatever lies there.
  static constexpr int kProfileBandTop = 721;
  static constexpr int kProfileBandBottom = 1023;

  // Plays the music, builds the screen, sets the map's return screen to "mmenu", greets and shows
  // the profile warning when the profiles were reset at load. The map outlives the screen.
  explicit HUDMainMenu(RuvMap& map);
  ~HUDMainMenu() override;

  // Frames and texts, then the buttons, then the effects.
  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  // The greeting: "greet_1", the profile name (else "unnamed_player"), "greet_2".
  void refresh() override;
  // The buttons' hover, press and release.
  void onMouseMove(int x, int y) override;
  void onMouseDown(int x, int y) override;
  void onMouseUp(int x, int y) override;
  // "profile" in the band (no sound); else the first button hit, with the sound "simple".
  std::u16string buttonNameAt(int x, int y) override;

  // The layout as the menus read it: the base's pictures and text slots (the container stays in
  // screen.layout), and a hover button per sub-group of "button" instead of the base's buttons,
  // in ascending group order, captioned with the group name's text (the large font for "b2_play").
  static void loadMenuLayout(HUDWindow& screen, const std::u16string& path, std::vector<HUDButtonOver*>& out);

  std::vector<HUDButtonOver*> menuButtons;                // owned
  std::vector<render::ParticleEmitter*> emitters;          // owned; effects without a prototype are left out

 private:
  // Tells the player once what the profiles' load found: a damaged file kept aside, or one that
  // could not be read at all.
  void showProfileNotices();

  RuvMap& mMap;
};
