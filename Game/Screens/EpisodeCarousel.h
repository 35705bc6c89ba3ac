#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"
#include "Game/Art/RuvFrameEntry.h"

class RuvMapState;
namespace file {
class ImageContainer;
}
namespace render {
class Font;
}

// One episode on the carousel: its picture and what is written or laid over it.
struct EpisodePlate {
  std::unique_ptr<RuvFrameEntry> image;  // "plates/chapter_0" + the 1-based episode number
  RuvFrameEntry* lock = nullptr;         // the screen's lock overlay, or null
  RuvFrameEntry* newOverlay = nullptr;   // the screen's "new" overlay, or null
  std::u16string text;                   // written over the plate; mostly empty
};

// The horizontal strip of episode plates, 320 pixels apart around x 512. It is dragged, flicked or
// moved by one plate; after a switch the strip slides back to rest at 800 pixels per second. The
// owner forwards the pointer and the update and binds the three delegates.
class EpisodeCarousel {
 public:
  enum State { kIdle = 0, kDragging = 1, kReturningFromRight = 2, kReturningFromLeft = 3 };

  static constexpr float kCentreX = 512.0f;
  static constexpr float kCentreY = 384.0f;
  static constexpr float kPitch = 320.0f;
  static constexpr float kSwitchOffset = kPitch / 4.0f;
  static constexpr float kFlickTime = 0.3f;
  static constexpr float kReturnSpeed = 800.0f;
  static constexpr float kScaleReach = 120.0f;  // plates this far from the centre or more stand at 0.55

  explicit EpisodeCarousel(int currentEpisode) : current(currentEpisode) {}

  int plateCount() const { return static_cast<int>(plates.size()); }
  // Centre x of plate n, and the scale of a plate whose centre stands at x.
  float plateX(int n) const;
  float plateScale(float x) const;

  // Real seconds: the drag clock runs; a returning strip slides to rest, then on settled.
  void update(float dt);
  // A drag from the point: on move start.
  void startDrag(float x, float y);
  // The strip follows the pointer; it never moves past the first or the last plate.
  void dragTo(float x, float y);
  // The end of a drag: past a quarter pitch, or a quick flick, switches to the neighbour (on select);
  // the strip then returns to rest.
  void release();
  // An arrow's move by one plate (step -1 or +1), from rest: on move start, on select.
  void step(int direction);

  // Each plate in order: picture, lock, text (white, font, wrap 320, 0.8 x the plate's scale), the
  // "new" overlay with its label (newLabel). Leaves the drawing colour white.
  void draw(render::Graphics& graphics, render::Font* font, const std::u16string& newLabel) const;

  std::vector<EpisodePlate> plates;  // plate n is episode index n
  float lastX = 0.0f;
  float lastY = 0.0f;
  int current = 0;  // the centred plate; not clamped to the plates
  float falloff = 0.45f;
  float offset = 0.0f;  // strip displacement in design pixels, positive to the left
  float dragTime = 0.0f;
  float pitch = kPitch;
  int state = kIdle;
  base::DelegatePtr<base::Delegate1<int, void>> onSelect;
  base::DelegatePtr<base::Delegate0<void>> onMoveStart;
  base::DelegatePtr<base::Delegate0<void>> onSettled;

 private:
  void select(int index);
  void moveStarted();
  void settled();
  // By one plate toward the sign of offset, unless that passes an end.
  void switchPlate();
};

// The plate of episode index e with its picture from the layout: an episode short of stars shows
// the lock and how many stars open it, an episode without a setup row "comingSoon" (locked while it
// cannot be played), and an open episode with levels not yet visited in mode 1 or in hardcore the
// "new" overlay.
EpisodePlate makeEpisodePlate(file::ImageContainer* layout, RuvMapState& map, int episode, RuvFrameEntry* lock,
                              RuvFrameEntry* newOverlay);
