#pragma once
#include <memory>
#include <string>

#include "Game/Screens/EpisodeCarousel.h"
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// The episode choice: a carousel of episode plates dragged with the mouse or moved with the arrows,
// a "play" button that fades out while the strip moves, the centred episode's title and the star
// total. The battle map asks for "back" and "shop" and for the chosen episode's index.
class HUDEpisodeSelect : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/episode_select";
  enum PlayFade { kPlayShown = 0, kPlayFadingOut = 1, kPlayHidden = 2, kPlayFadingIn = 3 };
  // Pointer rows in which a press off the buttons starts a drag.
  static constexpr int kDragBandTop = 176;
  static constexpr int kDragBandBottom = 574;
  // The centred plate's click area, edges included.
  static constexpr int kPlateLeft = 323;
  static constexpr int kPlateRight = 701;
  static constexpr int kPlateTop = 201;
  static constexpr int kPlateBottom = 569;
  static constexpr float kPlayFadeSpeed = 4.0f;  // alpha per second

  // One plate per episode of the setup sheet; the strip starts on the profile's last episode. The
  // map outlives the screen.
  explicit HUDEpisodeSelect(RuvMap& map);
  ~HUDEpisodeSelect() override;

  // Frames, the carousel clipped to x 40 .. 980, then buttons and texts.
  void draw(render::Graphics& graphics) override;
  // The strip's return, the arrows shown where there is a neighbour, the play button's fade.
  void update(float dt) override;
  // A press off the buttons arms a drag; moves in the band start and continue it; the release lets
  // the strip switch or return.
  void onMouseMove(int x, int y) override;
  void onMouseUp(int x, int y) override;
  void onMouseDown(int x, int y) override;
  // The centred episode when "play" or the centred plate (strip at rest) is hit and the episode is
  // available, else -1; the arrows move the strip from here.
  int buttonIndexAt(int x, int y) override;

  std::unique_ptr<EpisodeCarousel> carousel;
  int playFade = kPlayShown;
  unsigned char pressOffButton = 0;
  std::unique_ptr<RuvFrameEntry> lockOverlay;
  std::unique_ptr<RuvFrameEntry> newOverlay;

 private:
  // The carousel's delegates: the title, the fade out, the fade in.
  void onEpisodeSelected(int index);
  void onMoveStarted();
  void onSettled();

  RuvMap& mMap;
};
