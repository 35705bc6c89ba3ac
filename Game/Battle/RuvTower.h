#pragma once
// A tower on a build spot: it picks a target in its range, turns toward it in 11.25-degree sectors,
// fires on its tier's cadence, pays income and carries its abilities as modifiers. The map owns the
// towers, clears their bonus records and ticks them.
#include <initializer_list>
#include <memory>
#include <vector>

#include "Core/Math/Point.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvTracked.h"
#include "Game/Tables/RuvProtos.h"

namespace render {
class Graphics;
}

class RuvMap;
class RuvModifier;
class RuvParticle;
class RuvSprite;
class RuvUnit;
class RuvUpgrades;

class RuvTower : public RuvTracked {
 public:
  enum State { kIdle = 0, kTurning = 1, kFiring = 3, kAiming = 4, kAfterBeam = 5, kFlameInFlight = 7, kResting = 9 };
  static constexpr float kSectorDegrees = 11.25f;
  static constexpr float kPreAimMargin = 100.0f;  // units this far outside the range are aimed at
  static constexpr int kFlameAmmo = 2003;

  explicit RuvTower(RuvMap& map);
  // Deletes its abilities and its bonus record; the beam and sprites belong to the map's lists.
  virtual ~RuvTower();
  RuvTower(const RuvTower&) = delete;
  RuvTower& operator=(const RuvTower&) = delete;

  // Game seconds.
  virtual void update(float dt);
  // Zeroes the bonus record's strength, cooldown and range, then adds the bought stars' bonus again.
  virtual void clearCombatStats();

  // Base prototype (a library record), tier 0, a new bonus record, the art size, the abilities.
  void setProto(const RuvProto* proto);
  // The tier's abilities replace the old ones; boost towers move to the front of the map's list.
  void createAbilities();
  // The base prototype's record of that tier level; null without a base prototype.
  const RuvProto* tierProto(int level) const;
  const RuvProto* tier() const { return tierProto(tierLevel); }
  // (bonus "r" + tier "r") x the spot's "radius_mult" (0 read as 1) / 2.
  float range() const;
  // A spot attribute of the tower's spot; 0 without a spot or the name.
  float spotAttribute(const char* name) const;

  // Live units in range() + margin that it may aim at, in list order.
  void collectTargets(float margin, std::vector<RuvUnit*>& out) const;
  RuvUnit* chooseTarget(const std::vector<RuvUnit*>& candidates, RuvUnit* current, bool inRange) const;
  // Degrees from the target direction (0 below); the stored angle changes only across a sector.
  void setFacing(float angle);

  void fire();
  void payIncome();
  // To the tier of that level at price; nothing without the tier or the money.
  void upgrade(int level, float price);
  void buyStar();
  void clearTarget();
  // The beam's start, from the tier art's "base_point" and "s_point" frames.
  math::Point2 beamMuzzle() const;

  // Lists the current frame on the map's draw layer 1 (depth: the anchor's y); with the wave list
  // shown, a line to the target.
  virtual void draw(render::Graphics& graphics);
  // Draws the current frame at once, faded in.
  void drawDirect(render::Graphics& graphics);
  // Screen coordinates: a mark per star, and the boost sign while boosted.
  virtual void drawOverlay(render::Graphics& graphics);
  // The debug view, in the current colour: the map's radius image as large as the current tier's
  // "r", centred on the tower, and the direction index of its frame in the map's mFont32_2,
  // on its base line at the tower.
  void drawDebug(render::Graphics& graphics);

  math::Point2 artSize;
  int state = kResting;
  math::Point2 position;  // origin of range and shots
  math::Point2 anchor;    // where it is drawn
  float fade = 0.0f;
  float fadeSpeed = 1.5f;
  RuvWeak<RuvParticle> beam;  // the map deletes a beam whose emitters stop
  float targetAngle = 0.0f;
  float currentAngle = 0.0f;
  int directionIndex = 0;
  float animationTime = 0.0f;
  unsigned char switchedOff = 0;
  RuvSprite* switchedOffSprite = nullptr;  // on the map's sprites
  unsigned char slowed = 0;
  RuvSprite* slowedSprite = nullptr;  // on the map's sprites
  unsigned char boosted = 0;          // set each frame by a boosting tower, cleared by the map
  unsigned char spellBoosted = 0;     // set while a tower boost spell runs
  RuvUnit* target = nullptr;          // not owned; the map clears it when the unit leaves
  RuvFrameEntry* spot = nullptr;      // the spot entry it stands on (its owner is the RuvSpot)
  const RuvProto* baseProto = nullptr;
  std::unique_ptr<RuvProto> bonus;  // strength, cooldown and r added to the tier's
  int stars = 0;
  int tierLevel = 0;
  std::vector<std::unique_ptr<RuvModifier>> modifiers;
  float restTime = 0.0f;
  float cooldown = 0.0f;  // seconds until the next shot may start

  RuvMap* getMap() const { return mMap; }

 protected:
  // A tower of no map, for doubles that replace the update.
  RuvTower();

 private:
  // Candidates below range() + margin for each band, filled in one pass over the units.
  struct TargetBand {
    float margin;
    std::vector<RuvUnit*>* out;
  };
  void collectTargetBands(std::initializer_list<TargetBand> bands) const;
  void updateTargeting(float dt, bool& haveNear);
  void turn(float dt, bool haveNear);
  void updateState(const RuvProto& tier, float dt);
  void finishShot(const RuvProto& tier);
  void fireBeam(const RuvProto& tier);
  void setArtSize(const RuvProto& tier);
  void showUpgradeInfo(const RuvProto& from, const RuvProto& to);
  int frameCount(const char* group) const;
  // The frame of the state and angle, placed on the anchor; false without one.
  bool placeFrame(RuvFrameEntry& record);

  RuvFrameEntry mDrawRecord;  // listed on the map's draw layer until the frame is drawn

  RuvMap* mMap = nullptr;
};

// Adds the bought steps' range, damage and time-between-shots bonuses of the tower's tier into its
// bonus record (cleared by the map every frame); percentages of the tier, not compounding.
void applyToTower(const RuvUpgrades& upgrades, RuvTower& tower);

// One line of the upgrade pop-up: a string key and the whole percentage it is filled with.
struct RuvUpgradeInfoLine {
  const char16_t* key;
  int percent;
};
// The changes from tier `from` to tier `to`: range, damage, rate of fire, income, each when it
// differs; a line whose divisor is 0 is left out.
std::vector<RuvUpgradeInfoLine> towerUpgradeInfo(const RuvProto& from, const RuvProto& to);

// The kill share of the income towers whose range reaches the point: the sum of their tiers'
// "health" / 100.
float incomeKillShare(const RuvMap& map, const math::Point2& point);

// Stable: every tower whose tier boosts towers comes before every tower whose tier does not.
void sortTowersBoostFirst(RuvMap& map);
// The sector of an angle: trunc(a / 11.25 + 0.5).
int towerSector(float angle);
// Moves current toward target by step degrees the shorter way, never past it; at exactly 180 apart
// it increases when current is below target.
float towerTurn(float current, float target, float step);
