#pragma once
#include <memory>

#include "Core/Render/ParticleEmitter.h"
#include "Game/Screens/HUDButtons.h"

class RuvMap;
struct RuvSpellRow;

// One spell of the level on the HUD: armed by a click while ready, then recharging for the spell's
// cooldown (on battle time), with a paid recharge or the gem-shop offer on a click meanwhile.
// time is the remaining recharge, pressed the recharging flag; index, name and centre come from
// the HUD's slot.
class HUDSpellButton : public HUDButton {
 public:
  static constexpr float kHitWidth = 70.0f;
  static constexpr int kSpellNeedingTower = 4;
  static constexpr int kHalvingUpgrade = 28;

  HUDSpellButton(RuvMap& map, int spellNumber);

  // The countdown over a shrinking dark band while recharging, the icon when ready; then the
  // highlight. Nothing without the row's icons.
  void draw(render::Graphics& graphics) override;
  // Recharge on battle time, hover scale and the highlight on real time.
  void update(float dt) override;
  // Ready: true, unless the spell needs a tower and there is none. Recharging: false, after buying
  // the recharge or opening the offer.
  bool click(int x, int y) override;
  // A box 70 wide, as high as the icon scaled to that width, centred on the button; none without
  // an icon.
  bool hitTest(int x, int y) override;
  void hover(int x, int y) override;

  // After a cast: recharging for the upgraded prototype's cooldown.
  void markUsed();
  // Ready at once, with the highlight "blik_6" when the effect exists.
  void playReadyEffect();
  // The recharge price in gems, halved when the upgrade is bought.
  int rechargePrice() const;
  // The whole seconds shown while recharging: 2.3 s left shows 3.
  std::u16string countdownText() const;
  // Height of the dark band as a share of the icon: the remaining time over the library
  // prototype's cooldown, within 0..1; 0 when that cooldown is not above 0.
  float overlayRatio() const;

  std::unique_ptr<render::ParticleEmitter> readyEffect;
  int spellNumber;

 private:
  const RuvSpellRow* row() const;
  // Spell 4 with no tower on the map.
  bool lacksTower() const;

  RuvMap& mMap;
};
