#include "tests/harness/BattleScript.h"

#include <sstream>

#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Battle/RuvWallet.h"
#include "Game/Entities/RuvTower.h"

namespace harness {

namespace {

const char* const kCommandNames[] = {"build", "upgrade", "star", "sell", "buy"};

RuvFrameEntry* scriptSpot(RuvMap& map, int spot) {
  if (!map.mSpots || spot < 0 || spot >= static_cast<int>(map.mSpots->spots.size())) return nullptr;
  return map.mSpots->spots[static_cast<size_t>(spot)];
}

RuvTower* scriptTowerOn(RuvMap& map, const RuvFrameEntry* spot) {
  for (const auto& tower : map.mTowers) {
    if (tower->spot == spot) return tower.get();
  }
  return nullptr;
}

bool menuOffers(const RuvRadialMenu& menu, int id) {
  for (const auto& item : menu.items) {
    if (item->id == id) return true;
  }
  return false;
}

}  // namespace

std::vector<BattleCommand> parseBattleScript(const std::string& text) {
  std::vector<BattleCommand> commands;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    std::istringstream words(line);
    BattleCommand command;
    std::string name;
    if (!(words >> command.time >> name >> command.spot)) continue;
    bool known = false;
    for (int kind = 0; kind < 5; ++kind) {
      if (name != kCommandNames[kind]) continue;
      command.kind = static_cast<BattleCommand::Kind>(kind);
      known = true;
    }
    if (!known) continue;
    if ((command.kind == BattleCommand::kBuild || command.kind == BattleCommand::kUpgrade) && !(words >> command.id)) {
      continue;
    }
    commands.push_back(command);
  }
  return commands;
}

std::string describeBattleCommand(const BattleCommand& command) {
  std::string text = std::string(kCommandNames[command.kind]) + " " + std::to_string(command.spot);
  if (command.kind == BattleCommand::kBuild || command.kind == BattleCommand::kUpgrade) {
    text += " " + std::to_string(command.id);
  }
  return text;
}

bool applyBattleCommand(RuvMap& map, const BattleCommand& command) {
  RuvFrameEntry* spot = scriptSpot(map, command.spot);
  if (!spot) return false;
  const int moneyBefore = map.mWallet->money;
  RuvRadialMenu menu;
  const auto* definition = static_cast<const RuvSpot*>(spot->owner);
  if (command.kind == BattleCommand::kBuy) {
    if (!definition || definition->isFree) return false;
    menu.openBuySpotMenu(map, spot);
    menu.runAction(1);
    return definition->isFree != 0;
  }
  if (command.kind == BattleCommand::kBuild) {
    // A spot with a price opens the buy menu instead.
    if (!spot->visible || !definition || !definition->isFree) return false;
    menu.openBuildMenu(map, spot);
    if (!menuOffers(menu, command.id)) return false;
    menu.runAction(command.id);
    return map.mWallet->money != moneyBefore;
  }
  RuvTower* tower = scriptTowerOn(map, spot);
  if (!tower) return false;
  menu.openTowerMenu(map, *tower);
  switch (command.kind) {
    case BattleCommand::kSell:
      menu.runAction(0);
      return true;
    case BattleCommand::kStar:
      if (menu.mode != RuvRadialMenu::kStarMode) return false;
      menu.runAction(1);
      return map.mWallet->money != moneyBefore;
    case BattleCommand::kUpgrade:
      if (menu.mode != RuvRadialMenu::kTowerMode || !menuOffers(menu, command.id)) return false;
      menu.runAction(command.id);
      return tower->tierLevel == command.id;
    default:
      return false;
  }
}

}  // namespace harness
