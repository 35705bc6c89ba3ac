#include "Game/Battle/RuvWaveHint.h"

#include "Game/Art/GameFonts.h"

RuvWaveHint::RuvWaveHint(render::Image* hintImage) : image(hintImage), font(LoadGameFont(kFontMain42x3)) {}

bool RuvWaveHint::hitTest(float x, float y) const {
  for (const std::unique_ptr<RuvFrameEntry>& mark : marks) {
    const float* r = mark->rect;
    if (x > r[0] && x < r[0] + r[2] && y > r[1] && y < r[1] + r[3]) return true;
  }
  return false;
}
