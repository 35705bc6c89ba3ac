#include "tests/harness/BattleScript.h"

#include <sstream>

#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"

namespace harness {

namespace {

const char* const kCommandNames[] = {"build", "upgrade", "star", "sell", "buy"};

// The menu of the command's spot (a buy menu for a spot with a price, else the build menu) or of
// the tower on it, as a click opens it; false when there is nothing to open it on.
bool openBattleCommandMenu(RuvMap& map, const BattleCommand& command, RuvRadialMenu& menu) {
  RuvFrameEntry* spot = battleScriptSpot(map, command.spot);
  if (!spot) return false;
  const auto* definition = static_cast<const RuvSpot*>(spot->owner);
  if (command.kind == BattleCommand::kBuy || command.kind == BattleCommand::kBuild) {
    if (!spot->visible || !definition) return false;
    if (definition->isFree) {
      menu.openBuildMenu(map, spot);
    } else {
      menu.openBuySpotMenu(map, spot);
    }
    return true;
  }
  RuvTower* tower = battleScriptTower(map, spot);
  if (!tower) return false;
  menu.openTowerMenu(map, *tower);
  return true;
}

// The price the menu shows on the item can be paid.
bool menuItemPayable(const RuvMap& map, const RuvRadialMenu& menu, const RuvRadialItem& item) {
  const RuvWallet& wallet = *map.mWallet;
  switch (menu.mode) {
    case RuvRadialMenu::kBuySpotMode: {
      const auto* definition = static_cast<const RuvSpot*>(menu.spot->owner);
      return wallet.money >= definition->cost_gold && wallet.gems >= definition->cost_real;
    }
    case RuvRadialMenu::kStarMode:
      // The sell icon is free; the star shows the tier's star price.
      return item.id == 0 || (item.proto && item.proto->tierCost <= static_cast<float>(wallet.money));
    default:
      return item.cost <= static_cast<float>(wallet.money);
  }
}

}  // namespace

RuvFrameEntry* battleScriptSpot(RuvMap& map, int spot) {
  if (!map.mSpots || spot < 0 || spot >= static_cast<int>(map.mSpots->spots.size())) return nullptr;
  return map.mSpots->spots[static_cast<size_t>(spot)];
}

RuvTower* battleScriptTower(RuvMap& map, const RuvFrameEntry* spot) {
  for (const auto& tower : map.mTowers) {
    if (tower->spot == spot) return tower.get();
  }
  return nullptr;
}

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

const RuvRadialItem* battleCommandItem(const RuvRadialMenu& menu, const BattleCommand& command) {
  int id = -1;
  switch (command.kind) {
    case BattleCommand::kBuild:
      if (menu.mode == RuvRadialMenu::kBuildMode) id = command.id;
      break;
    case BattleCommand::kBuy:
      if (menu.mode == RuvRadialMenu::kBuySpotMode) id = 1;
      break;
    case BattleCommand::kStar:
      if (menu.mode == RuvRadialMenu::kStarMode) id = 1;
      break;
    case BattleCommand::kUpgrade:
      if (menu.mode == RuvRadialMenu::kTowerMode) id = command.id;
      break;
    case BattleCommand::kSell:
      id = 0;
      break;
  }
  for (const auto& item : menu.items) {
    if (item->id == id) return item.get();
  }
  return nullptr;
}

bool battleCommandPayable(RuvMap& map, const BattleCommand& command) {
  RuvRadialMenu menu;
  if (!openBattleCommandMenu(map, command, menu)) return false;
  const RuvRadialItem* item = battleCommandItem(menu, command);
  return item && menuItemPayable(map, menu, *item);
}

BattleMoveWitness witnessBattleCommand(RuvMap& map, const BattleCommand& command) {
  return {map.mWallet->money, battleScriptTower(map, battleScriptSpot(map, command.spot))};
}

bool battleCommandDone(RuvMap& map, const BattleCommand& command, const BattleMoveWitness& before) {
  RuvFrameEntry* spot = battleScriptSpot(map, command.spot);
  switch (command.kind) {
    case BattleCommand::kBuy: {
      const auto* definition = spot ? static_cast<const RuvSpot*>(spot->owner) : nullptr;
      return definition && definition->isFree;
    }
    case BattleCommand::kUpgrade: {
      const RuvTower* tower = battleScriptTower(map, spot);
      return tower && tower->tierLevel == command.id;
    }
    case BattleCommand::kSell:
      return before.tower != nullptr;
    case BattleCommand::kBuild:
    case BattleCommand::kStar:
      return map.mWallet->money != before.money;
  }
  return false;
}

bool applyBattleCommand(RuvMap& map, const BattleCommand& command) {
  RuvRadialMenu menu;
  if (!openBattleCommandMenu(map, command, menu)) return false;
  const RuvRadialItem* item = battleCommandItem(menu, command);
  // An item is not pressed before its price can be paid (a tier pressed without the money still
  // takes the tower's stars).
  if (!item || !menuItemPayable(map, menu, *item)) return false;
  const BattleMoveWitness before = witnessBattleCommand(map, command);
  menu.runAction(item->id);
  return battleCommandDone(map, command, before);
}

}  // namespace harness
