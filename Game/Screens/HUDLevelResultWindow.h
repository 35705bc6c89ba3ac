#pragma once
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// The result of a won or lost level on the layout "ruv/ui_levelresult". Building it gives the
// stars of the lives left, pays the gems of newly won stars and of a first fully starred episode
// and stores the level record; then it grows in and counts the score lines up one after another.
// The level end fills its other texts and pictures; the dispatcher acts on its layout buttons.
class HUDLevelResultWindow : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/ui_levelresult";
  static constexpr float kEntrance = 0.25f;     // seconds of growth
  static constexpr float kGrowthRate = 4.0f;    // scale per second while growing
  static constexpr float kCountUp = 1.0f;       // seconds per score line
  static constexpr int kEpisodeBonus = 100;     // gems, once per episode

  explicit HUDLevelResultWindow(RuvMap& map);

  // Phases: 0 growing, 1 kill line, 2 combo line (only without kills), 3 life bonus, 4 total, 5 done.
  void update(float dt) override;
  // The phase's score line, then the base content.
  void draw(render::Graphics& graphics) override;

 private:
  // The episode's completion bonus when every level already has stored stars; 0 once paid.
  int episodeBonus();

  RuvMap& mMap;
};

// Stars for the lives ratio: exactly 1 gives 3, from 0.5 below 1 gives 2, above 0 below 0.5 gives
// 1; anything else (above 1, no maximum) 0.
int levelStars(float lives, float maxLives);
// Gems for going from oldStars to newStars; 0 unless stars were won.
int newStarGems(int oldStars, int newStars);
