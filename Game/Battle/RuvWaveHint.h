#pragma once
// The early-wave hint: one mark per spawn point of the next wave group; a click on a mark calls
// the group early.
#include <memory>
#include <vector>

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourcePtr.h"
#include "Game/Art/RuvFrameEntry.h"

namespace render {
class Image;
}

class RuvWaveHint {
 public:
  // image: the frame "ui/wave_hint" of the set "ruv/ui" (null when the set lacks it). Takes the
  // root board's font "ruv/data/fonts/main_42_3" for the countdown texts.
  explicit RuvWaveHint(render::Image* hintImage);

  // Deletes every mark.
  void clear() { marks.clear(); }
  // A mark at the map point, kept inside the screen and out of the HUD's top and bottom bars.
  void addHint(float x, float y);
  // The point lies strictly inside one of the marks.
  bool hitTest(float x, float y) const;

  render::Image* image;  // owned by the art set
  float unused = 0.0f;   // stays 0; subtracted from the due time
  std::vector<std::unique_ptr<RuvFrameEntry>> marks;
  float dueTime = 0.0f;  // game seconds at which the next wave group starts
  resource::ResourcePtr<render::BMFont> font;  // empty when it cannot be loaded
};
