#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Game/Tables/RuvAttributes.h"

class RuvMapState;
class RuvProto;

// One bought level of an upgrade: its prices and its whole bonus at that level.
struct RuvUpgradeStep {
  int cost_g = 0;  // kept with the step; no price is taken from it
  int cost_r = 0;  // the gem price
  std::unique_ptr<RuvAttributes> attributes;  // null when the step has none
};

// A permanent upgrade bought with gems: the profile keeps the index of its highest bought step.
struct RuvUpgrade {
  // The step at index; null past the last step (or for a negative index).
  const RuvUpgradeStep* getStep(int index) const;
  // One target is -1 or unlocked: at the map's level, or at the last level reached when atLastLevel.
  bool isAvailable(bool atLastLevel) const;

  int id = 0;
  int section = 0;
  int unlockEpisode = 0;
  int unlockLevel = 0;
  std::u16string icon;
  std::vector<int> targets;  // -1 marks a global upgrade
  std::vector<std::unique_ptr<RuvUpgradeStep>> steps;
  RuvMapState* map = nullptr;
};

// The upgrade tree of "ruv/upgrades.xml", in file order. Built by the map, which outlives it.
class RuvUpgrades {
 public:
  static constexpr char16_t kPath[] = u"ruv/upgrades.xml";
  static constexpr int kGlobalTarget = -1;

  // Reads the file; a missing or unparsable file gives an empty tree (logged).
  RuvUpgrades(const std::u16string& path, RuvMapState* map);
  // Builds from one file's text; the same rules.
  RuvUpgrades(const std::string& text, RuvMapState* map);

  // Sets the map's lives, enemy-cost and start-budget bonuses from the bought steps of the upgrades
  // whose first target is -1; for each name the last such step with a value above 0 wins.
  void applyGlobal();
  // Appends every upgrade of that shop section, in list order.
  void collectSection(int section, std::vector<RuvUpgrade*>& out) const;

  // Adds the bonuses of the bought steps that touch the prototype's id, in place; each step works on
  // what the previous one left. Pass a private copy, never a library record.
  void applyToProto(RuvProto& proto) const;

  // The bought steps that touch a prototype, in list order: an upgrade counts when one of its targets
  // is -1 or unlocked at the map's level and the id is among its targets.
  void collectProtoSteps(int protoId, std::vector<const RuvUpgradeStep*>& out) const;
  // The step the profile has bought of the upgrade, or null.
  const RuvUpgradeStep* boughtStep(const RuvUpgrade& upgrade) const;

  const std::vector<std::unique_ptr<RuvUpgrade>>& getList() const { return mList; }

 private:
  // path names the text's file in the log when it cannot be used.
  void loadFromText(const std::string& text, const std::u16string& path);

  RuvMapState* mMap;
  std::vector<std::unique_ptr<RuvUpgrade>> mList;
};

// An upgrade's percentage of a value, percent times value first: 10 % of 70 is exactly 7, not
// 7.0000005 rounded up to 8.
float UpgradeShare(float percent, float value);
