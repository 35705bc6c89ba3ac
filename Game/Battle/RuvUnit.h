#pragma once
// A live enemy: it walks its route link by link along lane-offset polylines, dies with a reward or
// gets through to the goal. Owned by the wave manager from spawn to reaping.
#include <cstdint>
#include <memory>
#include <vector>

#include "Core/Math/Point.h"
#include "Core/Math/Rect.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvRoutes.h"

class RuvBullet;

namespace render {
class Graphics;
class Image;
}  // namespace render

class RuvMap;
class RuvModifier;
class RuvProto;
class RuvProtoLibrary;
class RuvTower;
struct RuvWaveEntry;

class RuvUnit : public RuvPositioned {
 public:
  enum State { kWalking = 1, kDying = 2, kSpecial = 4, kHeldByBeam = 5, kDead = 6 };
  // Fixed prototype ids: the unit a carrier releases and the one a necromancer raises.
  static constexpr int kCarriedProtoId = 11;
  static constexpr int kRaisedProtoId = 39;

  // A unit of the entry's prototype and tier at full health; the entry must name a prototype.
  RuvUnit(RuvMap& map, RuvWaveEntry& entry);
  // Deletes its modifiers; never touches its wave or entry, which may be gone already.
  virtual ~RuvUnit();
  RuvUnit(const RuvUnit&) = delete;
  RuvUnit& operator=(const RuvUnit&) = delete;

  // Game seconds.
  virtual void update(float dt);

  // The tier prototype: the entry's prototype at tier level "upgrade" - 1; null when the library
  // no longer has it.
  const RuvProto* proto() const;
  // (1 + difficulty offset) x the tier's "health".
  float maxHealth() const;
  // Ignored while dying or dead; a negative amount heals. A positive one ends the invisibility.
  void damage(float amount);
  // The current frame's rectangle where it is drawn: centre x, centre y, width, height (the art
  // size before the first draw).
  math::Rect bounds() const;
  // Hands the frame of its state (and a flyer's shadow) to the map's draw lists as records the unit
  // owns, valid until its next draw. The frame draws through the map's enemy shader with the
  // tier's "fillColor" as its tint. A dead unit is not drawn. Changes nothing of the battle: the
  // random frame of a held unit comes from the unit's own drawing sequence.
  virtual void draw(render::Graphics& graphics);
  // In screen space: the health bar (red, green over it as wide as health / maximum) while
  // showsHealthBar, fading out over the timer's last half second; with the map's debug view, the
  // health and maximum as "health/max" at half size in the map's mFont32_2 and the outline
  // of the picking rectangle.
  virtual void drawOverlay(render::Graphics& graphics);
  // After a hit, while the health-bar timer runs, when the health is neither full nor 0 and the
  // unit is not dying or dead (and its tier has health at all).
  bool showsHealthBar() const;
  // Starts walking the route from its first link (layer from the first point's "upper").
  void setRoute(std::vector<int> pointIds, const RuvPoint& spawn);
  bool isDying() const { return state == kDying || state == kDead; }
  // RuvPositioned: sprites that follow the unit.
  math::Point2 getPosition() const override { return position; }
  // The damage rule of a bullet: direct, or from where the bullet landed with fall-off; immunities
  // and side effects (modifiers) of the bullet's tier.
  void hit(const RuvBullet& bullet, bool direct);
  // False when a modifier of the same source, not an ability, is held already.
  bool canAdmit(const RuvModifier& modifier) const;
  // Deletes every modifier whose source is that object (a sold tower).
  void dropModifiersOf(const void* source);

  math::Point2 drift;
  float brightness = 1.0f;
  float brightnessTarget = 1.0f;
  float invisibilityTimer = 0.0f;
  RuvPolyline polyline;
  math::Point2 artSize;
  int state = kWalking;
  int alive = 1;
  int gotThrough = 0;
  float layer = 0.0f;
  float fade = 0.0f;
  float fadeSpeed = 1.5f;
  unsigned char facingLeft = 0;
  int tierLevel = 0;
  float animationTime = 0.0f;
  RuvWaveEntry* entry = nullptr;  // owned by its wave
  const RuvPoint* spawnPoint = nullptr;
  float progress = 0.0f;
  std::vector<int> route;  // point ids, spawn first, goal last
  int routeIndex = 0;      // the link route[routeIndex] -> route[routeIndex + 1] is walked
  // Raised by the modifiers that slow or hold the unit; zeroed by the map at the end of each tick.
  float speedReduction = 0.0f;
  float health = 0.0f;
  float healthBarTimer = 0.0f;
  math::Point2 position;
  std::vector<std::unique_ptr<RuvModifier>> modifiers;
  float hasteTimer = 0.0f;
  float speedMultiplier = 1.0f;
  float speedMultiplierTarget = 1.0f;
  const RuvFrameEntry* currentFrame = nullptr;  // drawn last, from the art set
  std::unique_ptr<render::Image> shadow;        // flyers of the shadowed kinds only

 protected:
  // A unit of no level and no entry, for doubles that replace the update.
  RuvUnit();

 private:
  void updateTimers(float dt);
  void startDying(const RuvProto& tier);
  // Advances the frame animation of the state; false when the unit stands still this frame.
  bool animate(const RuvProto& tier, float dt);
  void finish();
  void raiseDead();
  void releaseCarried();
  void walk(const RuvProto& tier, float dt);
  void flyStraight(const RuvProto& tier, float dt);
  void enterLink();
  int frameCount(const char* group) const;
  // A float in [0, 1) for drawing only.
  float drawRandom();

  RuvMap* mMap = nullptr;
  RuvFrameEntry mDrawRecord;
  RuvFrameEntry mShadowRecord;
  std::uint32_t mDrawSequence = 1;
};

// The entry's prototype at tier level "upgrade" - 1 (the base prototype for level 0 or below, or
// without tiers); null when the library (or the prototype) is missing.
const RuvProto* unitTierProto(const RuvProtoLibrary* library, const RuvWaveEntry& entry);
// The reward of a kill: trunc(ceil(bonus x cost) + trunc(cost x incomeShare + 0.5) + cost).
int unitKillReward(float cost, float costBonus, float incomeShare);
// The animation length of frames at fps; 0 when fps is not above 0 (the animation counts as shown).
float animationLength(int frames, float fps);
