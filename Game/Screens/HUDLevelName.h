#pragma once
#include <string>

#include "Game/Screens/HUDWindow.h"

class RuvMap;

// The banner of a starting level in the root board's banner slot: the episode title above the
// level line, centred on the battle view, faded in, held and faded out; then it closes itself.
class HUDLevelName : public HUDWindow {
 public:
  static constexpr float kFadeIn = 0.5f;
  static constexpr float kHold = 2.0f;
  static constexpr float kFadeOut = 0.5f;
  static constexpr float kLineOffset = 25.0f;  // each line's distance from the view centre

  // Texts of the map's episode, level and mode at construction.
  explicit HUDLevelName(RuvMap& map);

  // Real seconds: fade-in, hold, fade-out, then open 0.
  void update(float dt) override;
  // Leaves the drawing colour white.
  void draw(render::Graphics& graphics) override;

  // The drawing alpha of the current stage and timer.
  float alpha() const;

  std::u16string title;
  std::u16string levelText;
  float timer = kFadeIn;
  int stage = 0;  // 0 fade-in, 1 hold, 2 fade-out

 private:
  RuvMap& mMap;
};
