#pragma once
// What the battle tells the screens above it: the tutorial's events, the HUD's wave counter and a
// message box over the battle. The flow implements it over the HUD and the tutorial and sets it on
// the map together with the HUD (RuvMap::mNotices); the battle's objects reach it through the map.
#include <string>

class RuvScreenNotices {
 public:
  virtual ~RuvScreenNotices() = default;

  // A step of the player the tutorial may wait for: "tower_select", "tower_built", "tower_upgraded",
  // "buildspot_bought", "spell_casted", "wave_vanish_<n>".
  virtual void tutorialEvent(const std::u16string& name) = 0;
  // The wave counter follows the wave manager's current index.
  virtual void updateWaveText() = 0;
  // A two-button message over the battle: kStateModalMessage, the map's mStateAfterModal = id.
  virtual void pushModalDialog(const std::u16string& caption, const std::u16string& message, int id) = 0;
};
