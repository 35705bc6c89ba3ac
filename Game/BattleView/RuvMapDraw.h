#pragma once
// The arithmetic of the map's drawing, apart from the drawing itself.
#include <optional>
#include <string>
#include <vector>

namespace render {
class Graphics;
}
class RuvMap;
class RuvRadialMenu;

// The screen states in which the battle scene is drawn (playing, results, pause menu, unlock
// message, the in-battle gem offer and the buy-health offer and purchase).
bool isBattleDrawState(int state);

// The alpha of the road highlight while a spell is armed: a pulse between 0.2 and 0.4.
float roadHighlightAlpha(float gameTime);

// The text beside a wave hint mark and where it stands, in screen pixels.
struct RuvHintLabel {
  std::u16string text;
  float x = 0.0f;
  float y = 0.0f;
  int horizontalAnchor = 0;  // 0 left edge at x, 1 right edge at x
};
// For the index-th mark (rect x, y, width, height) with the group due at hintTime and the wave
// clock at clock: "game_incoming" for less than a whole second, else "game_nextwave" and the seconds;
// beside the mark on the side facing the middle of the map. The texts are the localised ones given.
RuvHintLabel waveHintLabel(int index, const float rect[4], float hintTime, float clock, float viewScale, float viewX,
                           float viewY, const std::u16string& incoming, const std::u16string& nextWave);

// Where the radial menu puts its items.
struct RuvRadialLayout {
  bool atEdge = false;
  bool reverse = false;  // the item order is reversed now (the first time at an edge only)
  float arcStart = 0.0f;
  float arcEnd = 0.0f;
  float radius = 0.0f;                // the items' distance from the centre
  std::vector<float> angles;          // degrees, per item after any reversal
  std::vector<float> x, y;            // item positions
};
// centre in screen pixels; protoIds per item (0 for an item without prototype), in the menu's
// current order; edgeApplied is the menu's flag, set here once the edge rule applied; k the
// appearance 0..1.
RuvRadialLayout radialLayout(float centreX, float centreY, float radius, float arcStart, float arcEnd,
                             std::vector<int> protoIds, unsigned char& edgeApplied, float appearance);

// What the radial menu's range preview draws around the centre (x, y) of the menu's spot: the radius
// image at imageScale (as it is when none), then, with rings, the gold rim and a ring growing to
// ringRadius x 1.125. The spot's "radius_mult" is taken as written (a spot without one reads 0).
// Build menus show the hovered tower at its upgraded range (nothing while none is hovered); tower
// menus the hovered tier, else the tower's own tier upgraded. Nothing while closing or in the
// buy-spot and star menus.
struct RuvRangePreview {
  bool shown = false;
  float x = 0.0f;
  float y = 0.0f;
  std::optional<float> imageScale;
  bool rings = false;
  float rimRadius = 0.0f;
  float ringRadius = 0.0f;
};
RuvRangePreview radialRangePreview(const RuvRadialMenu& menu, RuvMap& map);

// 36 segments of a circle in the current colour.
void drawCircle(render::Graphics& graphics, float cx, float cy, float r);
