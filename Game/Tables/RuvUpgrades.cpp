#include "Game/Tables/RuvUpgrades.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvMapState.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Tables/RuvUnlocks.h"

namespace {

int UpgradeIntAttribute(const tinyxml2::XMLElement* element, const char* name) {
  int value = 0;
  if (element->QueryIntAttribute(name, &value) != tinyxml2::XML_SUCCESS) value = 0;
  return value;
}

// The first child named first, then every following sibling element whatever its name.
template <class Visit>
void ForEachUpgradeSibling(const tinyxml2::XMLElement* parent, const char* first, Visit visit) {
  for (const tinyxml2::XMLElement* element = parent->FirstChildElement(first); element;
       element = element->NextSiblingElement()) {
    visit(element);
  }
}

}  // namespace

float UpgradeShare(float percent, float value) { return percent * value / 100.0f; }

const RuvUpgradeStep* RuvUpgrade::getStep(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= steps.size()) return nullptr;
  return steps[static_cast<std::size_t>(index)].get();
}

bool RuvUpgrade::isAvailable(bool atLastLevel) const {
  RuvUnlocks* unlocks = map ? map->getUnlocks() : nullptr;
  for (int target : targets) {
    if (target == RuvUpgrades::kGlobalTarget) return true;
    if (!unlocks) continue;
    if (atLastLevel ? unlocks->isUnlockedAtLastLevel(target) : unlocks->isUnlocked(target)) return true;
  }
  return false;
}

RuvUpgrades::RuvUpgrades(const std::u16string& path, RuvMapState* map) : mMap(map) {
  loadFromText(base::ReadTextFile(path), path);
}

RuvUpgrades::RuvUpgrades(const std::string& text, RuvMapState* map) : mMap(map) { loadFromText(text, u"upgrades text"); }

void RuvUpgrades::loadFromText(const std::string& text, const std::u16string& path) {
  tinyxml2::XMLDocument document;
  if (!base::ParseDataXml(u"RuvUpgrades", path, text, document)) return;
  const tinyxml2::XMLElement* root = document.FirstChildElement("upgrades");
  if (!root) {
    base::LogDataFileProblem(u"RuvUpgrades", path, u"has no <upgrades>: no upgrades");
    return;
  }
  ForEachUpgradeSibling(root, "upgrade", [this](const tinyxml2::XMLElement* element) {
    auto upgrade = std::make_unique<RuvUpgrade>();
    upgrade->id = UpgradeIntAttribute(element, "id");
    upgrade->section = UpgradeIntAttribute(element, "section");
    upgrade->map = mMap;
    if (const char* icon = element->Attribute("icon")) upgrade->icon = base::ToWide(icon, base::kEncodingUtf8);
    if (const tinyxml2::XMLElement* unlock = element->FirstChildElement("unlock")) {
      upgrade->unlockEpisode = UpgradeIntAttribute(unlock, "episode");
      upgrade->unlockLevel = UpgradeIntAttribute(unlock, "level");
    }
    const tinyxml2::XMLElement* targets = element->FirstChildElement("targets");
    if (!targets) {
      base::LogBlock(u"RuvUpgrades: upgrade %d has no targets, skipped.\n") % upgrade->id;
      return;
    }
    ForEachUpgradeSibling(targets, "target", [&upgrade](const tinyxml2::XMLElement* target) {
      upgrade->targets.push_back(UpgradeIntAttribute(target, "id"));
    });
    if (const tinyxml2::XMLElement* steps = element->FirstChildElement("steps")) {
      ForEachUpgradeSibling(steps, "step", [&upgrade](const tinyxml2::XMLElement* stepElement) {
        auto step = std::make_unique<RuvUpgradeStep>();
        step->cost_g = UpgradeIntAttribute(stepElement, "cost_g");
        step->cost_r = UpgradeIntAttribute(stepElement, "cost_r");
        if (const tinyxml2::XMLElement* attributes = stepElement->FirstChildElement("attributes")) {
          step->attributes = std::make_unique<RuvAttributes>(attributes);
        }
        upgrade->steps.push_back(std::move(step));
      });
    }
    mList.push_back(std::move(upgrade));
  });
}

const RuvUpgradeStep* RuvUpgrades::boughtStep(const RuvUpgrade& upgrade) const {
  RuvProgress* progress = mMap ? mMap->getProgress() : nullptr;
  if (!progress) return nullptr;
  return upgrade.getStep(progress->getUpgradeLevel(upgrade.id));
}

void RuvUpgrades::applyGlobal() {
  if (!mMap) return;
  for (const auto& upgrade : mList) {
    if (upgrade->targets.empty() || upgrade->targets.front() != kGlobalTarget) continue;
    const RuvUpgradeStep* step = boughtStep(*upgrade);
    if (!step || !step->attributes) continue;
    const float maxHP = step->attributes->getFloat("maxHP");
    const float enemyCost = step->attributes->getFloat("enemyCost");
    const float startBudget = step->attributes->getFloat("startBudget");
    if (maxHP > 0.0f) mMap->setMaxLivesBonus(static_cast<int>(maxHP));
    if (enemyCost > 0.0f) mMap->setEnemyCostBonus(enemyCost / 100.0f);
    if (startBudget > 0.0f) mMap->setStartBudgetBonus(startBudget / 100.0f);
  }
}

void RuvUpgrades::collectProtoSteps(int protoId, std::vector<const RuvUpgradeStep*>& out) const {
  RuvUnlocks* unlocks = mMap ? mMap->getUnlocks() : nullptr;
  for (const auto& upgrade : mList) {
    const std::vector<int>& targets = upgrade->targets;
    const bool qualifies = std::any_of(targets.begin(), targets.end(), [unlocks](int target) {
      return target == kGlobalTarget || (unlocks && unlocks->isUnlocked(target));
    });
    if (!qualifies || std::find(targets.begin(), targets.end(), protoId) == targets.end()) continue;
    if (const RuvUpgradeStep* step = boughtStep(*upgrade)) out.push_back(step);
  }
}

void RuvUpgrades::applyToProto(RuvProto& proto) const {
  std::vector<const RuvUpgradeStep*> steps;
  collectProtoSteps(proto.id, steps);
  for (const RuvUpgradeStep* step : steps) {
    if (!step->attributes) continue;
    const RuvAttributes& bonus = *step->attributes;
    const auto share = UpgradeShare;
    proto.r += share(bonus.getFloat("radius"), proto.r);
    proto.strength += std::ceil(share(bonus.getFloat("strength"), proto.strength));
    proto.cost += std::floor(share(bonus.getFloat("cost"), proto.cost));
    proto.cooldown -= share(bonus.getFloat("cooldown"), proto.cooldown);
    proto.goldIncome += static_cast<int>(share(bonus.getFloat("goldIncome"), static_cast<float>(proto.goldIncome)));
    proto.speed += std::floor(share(bonus.getFloat("speed"), proto.speed));
  }
}

void RuvUpgrades::collectSection(int section, std::vector<RuvUpgrade*>& out) const {
  for (const auto& upgrade : mList) {
    if (upgrade->section == section) out.push_back(upgrade.get());
  }
}
