#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

class RuvArtSet;
class RuvUpgrades;

// The values of a sheet row that a copy takes over (RuvProto::copyFrom).
struct RuvProtoValues {
  int parent = 0;
  int type = 0;
  int id = 0;  // a loaded row without "id" has -1
  float strength = 0.0f;
  float cooldown = 0.0f;
  float health = 0.0f;
  float speed = 0.0f;
  float r = 0.0f;  // a diameter
  std::u16string special;
  std::u16string psd;
  bool hasteBuff = false;
  bool fireDmgOnly = false;
  float explodeStr = 0.0f;
  float explodeRadius = 0.0f;
  bool debuffTower = false;
  bool poisonImmun = false;
  bool regen = false;
  bool raiseDead = false;
  bool invisible = false;
  bool invisibleArea = false;
  bool blockTower = false;
  bool healer = false;
  bool commander = false;
  bool summon = false;
  bool carrier = false;
  bool straight = false;
  bool ice = false;
  bool stone = false;
  bool pierce = false;
  bool splash = false;
  bool fireSplash = false;
  bool dot = false;
  bool aoe = false;
  bool hold = false;
  bool stun = false;
  bool boostTower = false;
  bool showInvisible = false;
  bool air = false;  // only the integer 1 counts
  bool aimed = false;
  bool rotating = false;
  int ammoId = 0;
  int tierUpdates = 0;
  float tierK = 0.0f;
  float cost = 0.0f;
  float tierCost = 0.0f;
  int require = 0;
  int levelId = 0;
  int level = 0;
  float fps = 0.0f;
  float timeout = 0.0f;
  bool teleportEnemy = false;
  int goldIncome = 0;
  int stars = 0;
  std::uint32_t fillColor = 0;  // 0xAARRGGBB; a loaded row without "fillColor" is opaque white
  std::u16string onFire;
  std::u16string onAmmo;
  std::u16string onHit;
  std::vector<std::u16string> addons;  // "addons" split at "/", trimmed, empty pieces dropped
  RuvArtSet* art = nullptr;            // not owned; null when the row names no art
};

// One row of the towers, units or ammunition sheet: a unit kind, a tower, a tower tier, an
// ammunition or a spell. The same columns serve every kind; their meaning depends on the kind.
class RuvProto : public RuvProtoValues {
 public:
  // An empty record: every number 0, every flag false, no strings, no tiers, no art.
  RuvProto() = default;
  RuvProto(const RuvProto&) = delete;
  RuvProto& operator=(const RuvProto&) = delete;

  // Fills a new record from a row element; withChildren (top-level rows) loads the child elements
  // as tiers. Missing or unparsable attributes give the column defaults (id -1, fillColor white).
  void load(const tinyxml2::XMLElement* element, bool withChildren);
  // Copies every value but "dropChance", the raw "addons" text and the tiers.
  void copyFrom(const RuvProto& other) { static_cast<RuvProtoValues&>(*this) = other; }

  // The tier whose "levelid" is levelId, or null.
  const RuvProto* findTier(int levelId) const;
  // The record of tier level `level`: the record itself for a level of 0 or below or without
  // tiers, else the tier of that "levelid", else the last tier. A tower's current tier is its tier
  // level's; a unit's is that of its wave entry's "upgrade" minus 1.
  const RuvProto* tierForLevel(int level) const;

  int dropChance = 0;
  std::u16string addonsText;                     // as written
  std::vector<std::unique_ptr<RuvProto>> tiers;  // one level deep, in element order
};

// Every prototype of the loaded sheets: units, then towers, then ammunition, in element order.
class RuvProtoLibrary {
 public:
  RuvProtoLibrary() = default;
  // Loads at once from the sheet tree's "data" element.
  explicit RuvProtoLibrary(const tinyxml2::XMLElement* data);
  RuvProtoLibrary(const RuvProtoLibrary&) = delete;
  RuvProtoLibrary& operator=(const RuvProtoLibrary&) = delete;

  // Deletes the prototypes held and loads the "units", "towers" and "ammo" groups of data.
  void load(const tinyxml2::XMLElement* data);
  // The first top-level record or tier with that id, in list order; null when none has it.
  RuvProto* findProto(int id) const;
  // A private copy of the prototype with the bought upgrade bonuses added (upgrades may be null);
  // null when no prototype has that id.
  std::unique_ptr<RuvProto> makeUpgradedProto(int id, const RuvUpgrades* upgrades) const;

  const std::vector<std::unique_ptr<RuvProto>>& getList() const { return mList; }

 private:
  std::vector<std::unique_ptr<RuvProto>> mList;
};
