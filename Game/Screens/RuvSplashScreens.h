#pragma once
#include <string>
#include <vector>

#include "Core/Math/Rect.h"
#include "Game/Screens/HUDWindow.h"

namespace render {
class Graphics;
class Image;
}  // namespace render
class HUD;

// One logo: fades in from black over 0.5 s, holds 1.5 s, fades out over 0.5 s.
class RuvSplashImage {
 public:
  enum Phase { kFadingIn = 0, kHolding = 1, kFadingOut = 2, kDone = 3 };

  explicit RuvSplashImage(render::Image* logo) : image(logo) {}
  ~RuvSplashImage();
  RuvSplashImage(const RuvSplashImage&) = delete;
  RuvSplashImage& operator=(const RuvSplashImage&) = delete;

  void update(float dt);
  // The image centred in viewport, then the black veil of the fading phases; leaves white set.
  void draw(render::Graphics& graphics, const math::Rect& viewport);

  render::Image* image;  // owned
  int phase = kFadingIn;
  float time = 0.0f;
};

// The logo sequence listed in "logo/logo.ini", shown first when the game starts. Closes (open
// flag 0) when the last logo has ended; a click skips to the next logo.
class RuvSplashScreens : public HUDWindow {
 public:
  static constexpr char16_t kLogoList[] = u"logo/logo.ini";

  // Reads the list through the file manager and loads every logo; a logo whose image does not
  // load is left out (logged). Starts the menu music. hud (may be null) opens the main menu on closing.
  explicit RuvSplashScreens(HUD* hud = nullptr);
  ~RuvSplashScreens() override;
  RuvSplashScreens(const RuvSplashScreens&) = delete;
  RuvSplashScreens& operator=(const RuvSplashScreens&) = delete;

  // The logo names of a "logo/logo.ini" text, in order: per line the second ';' field split at
  // ','; spaces removed, a final carriage return dropped, empty names left out.
  static std::vector<std::string> parseLogoList(const std::string& text);

  void draw(render::Graphics& graphics) override;
  // Advances the current logo; once none is left the open flag drops to 0.
  void update(float dt) override;
  // Every click skips a logo: "done" once none is left, else the empty name.
  std::u16string buttonNameAt(int x, int y) override;
  // The main menu follows.
  void onClose() override;

  std::vector<RuvSplashImage*> logos;
  int current = 0;
  // The application's viewport rectangle (screen pixels) in which the logos are centred.
  math::Rect viewport{0.0f, 0.0f, 1024.0f, 768.0f};

 private:
  HUD* mHud;
};
