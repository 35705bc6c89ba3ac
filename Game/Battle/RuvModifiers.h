#pragma once
// The kinds of modifiers: what bullets leave on enemies, the enemies' and towers' abilities, and the
// areas on the ground. Those that reach other battle objects are given the map.
#include <vector>

#include "Core/Math/Point.h"
#include "Game/Art/RuvTracked.h"
#include "Game/Battle/RuvModifier.h"

class RuvBullet;
class RuvEffect;
class RuvMap;
class RuvTower;
class RuvWaveProto;
struct RuvPoint;

// Unit-held effects of a hit.

// Poison: value damage per tick, a "ruv/mob_dot" sprite at the unit.
class DotModifier : public RuvModifier {
 public:
  DotModifier(RuvMap& map, std::string name, float value, float duration, const void* source);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// Half speed while held (the value is not used).
class StunModifier : public RuvModifier {
 public:
  StunModifier(RuvMap& map, std::string name, float value, float duration, const void* source);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// Stands the unit still while held.
class HoldModifier : public RuvModifier {
 public:
  HoldModifier(RuvMap& map, std::string name, float value, float duration, const void* source);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// The teleport beam: holds the unit, opens a portal at its route's start and one above it, then
// sends it back to the start of its route. Survives the sale of its tower.
class HoldAndTeleport : public RuvModifier {
 public:
  enum Phase { kHolding = 0, kTeleportDue = 1, kDone = 2 };

  HoldAndTeleport(RuvMap& map, std::string name, float value, float duration, RuvTower* tower);
  // Stops the portals that are still on the map.
  ~HoldAndTeleport() override;
  void update(RuvUnit* target, float dt) override;
  void tick(RuvUnit* target, float dt) override;
  void onSourceRemoved(const void* object) override;

  RuvWeak<RuvEffect> startPortal;
  RuvWeak<RuvEffect> unitPortal;
  bool startPortalOpened = false;  // a portal the map dropped is not opened again
  bool unitPortalOpened = false;

 private:
  void teleport(RuvUnit& unit);

  RuvMap& mMap;
  RuvTower* mTower;  // the source, null once sold
};

// Map-held areas.

// Marks a splash for the debug display; no tick.
class AreaDamageModifier : public RuvModifier {
 public:
  static constexpr int kKind = 101;
  AreaDamageModifier(std::string name, float value, float duration, const void* source, float x, float y,
                     float radius);
};

// A homing bullet that lost its target blasts where it is, all at construction; gone at the next
// update.
class BlastModifier : public RuvModifier {
 public:
  BlastModifier(RuvMap& map, const RuvBullet& bullet);
};

// The poison spell: every unit in the area gets a poison it admits.
class DotModifierArea : public RuvModifier {
 public:
  DotModifierArea(RuvMap& map, float x, float y, float radius, float value, float duration);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// Burning ground: value damage per tick to every unit in the area.
class FireSplashModifier : public RuvModifier {
 public:
  FireSplashModifier(RuvMap& map, std::string name, float value, float duration, const void* source, float x,
                     float y, float radius);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// The hold spell: every unit in the area stands still.
class MapImpassableArea : public RuvModifier {
 public:
  MapImpassableArea(RuvMap& map, float duration, float x, float y, float radius);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// The tower boost spell: every tower hits harder and reaches further; a "hammer" effect over each.
class TowersBoost : public RuvModifier {
 public:
  TowersBoost(RuvMap& map, float duration, float value);
  // Removes its effects that are still on the map; no tower stays spell-boosted.
  ~TowersBoost() override;
  void tick(RuvUnit* target, float dt) override;

  std::vector<RuvWeak<RuvTower>> boosted;
  std::vector<RuvWeak<RuvEffect>> effects;

 private:
  RuvMap& mMap;
};

// Tower abilities (source = the tower).

// Pays the tower's income every period (the tier's "cooldown").
class GoldIncomerModifier : public RuvModifier {
 public:
  GoldIncomerModifier(int income, float period, RuvTower& tower);
  void tick(RuvUnit* target, float dt) override;

  int income;

 private:
  RuvTower& mTower;
};

// Boosts the other towers in reach every update.
class MagicTowerBoost : public RuvModifier {
 public:
  MagicTowerBoost(RuvMap& map, RuvTower& tower);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
  RuvTower& mTower;
};

// Reveals the invisible units in reach every update.
class ShowInvisible : public RuvModifier {
 public:
  ShowInvisible(RuvMap& map, RuvTower& tower);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
  RuvTower& mTower;
};

// Unit abilities: no source, forever, period = the tier's "cooldown".

class HasteAreaModifier : public RuvModifier {
 public:
  explicit HasteAreaModifier(RuvMap& map);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

class HealerModifier : public RuvModifier {
 public:
  explicit HealerModifier(RuvMap& map);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

class InvisibleAreaModifier : public RuvModifier {
 public:
  explicit InvisibleAreaModifier(RuvMap& map);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

class InvisibleModifier : public RuvModifier {
 public:
  InvisibleModifier();
  void tick(RuvUnit* target, float dt) override;
};

class RegenModifier : public RuvModifier {
 public:
  RegenModifier();
  void tick(RuvUnit* target, float dt) override;
};

// Opens a portal that releases units where the shaman stood.
class ShamanModifier : public RuvModifier {
 public:
  explicit ShamanModifier(RuvMap& map);
  void tick(RuvUnit* target, float dt) override;

 private:
  RuvMap& mMap;
};

// Every period a unit of kind 0 comes out where its caster stood when it opened the portal.
class ShamanPortal : public RuvModifier {
 public:
  ShamanPortal(RuvMap& map, RuvUnit& caster, float duration);
  // Stops its portal effect when it is still on the map.
  ~ShamanPortal() override;
  void update(RuvUnit* target, float dt) override;
  void tick(RuvUnit* target, float dt) override;

  RuvWeak<RuvEffect> portal;

 private:
  RuvMap& mMap;
  RuvWaveProto* mWave;
  std::vector<int> mRoute;
  int mRouteIndex;
  float mProgress;
  const RuvPoint* mSpawnPoint;
  float mLane;
  math::Point2 mPosition;
};

// The "speed" of the unit's entry prototype (the library record of its wave entry, not its tier):
// a held unit's speed reduction.
float unitEntrySpeed(const RuvMap& map, const RuvUnit& unit);
// A looping effect of that name on the map's effects at the point; the handle reads null once the
// map dropped it.
RuvWeak<RuvEffect> startMapEffect(RuvMap& map, const std::string& name, const math::Point2& point, int loopMode);
// Asks a listed effect to let its particles end (the map then drops it); nothing once it is gone.
void stopMapEffect(RuvWeak<RuvEffect>& effect);

// The ability modifiers a unit of this tier carries from its spawn, in their order.
void addUnitAbilities(RuvMap& map, RuvUnit& unit);
