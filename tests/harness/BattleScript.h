#pragma once
// A player's moves for the headless battle: build, upgrade and sell, each done through the radial
// menu's actions so that unlocks, prices and money are checked as for a player. The harness runs
// them in order; a move waits for its level time, then until it can be done (the money).
// Script lines: "<seconds> build <spot> <tower id>", "<seconds> upgrade <spot> <tier levelid>",
// "<seconds> star <spot>", "<seconds> sell <spot>", "<seconds> buy <spot>" (a spot with a price);
// "#" starts a comment.
#include <string>
#include <vector>

class RuvFrameEntry;
class RuvMap;
class RuvRadialMenu;
struct RuvRadialItem;
class RuvTower;

namespace harness {

struct BattleCommand {
  enum Kind { kBuild, kUpgrade, kStar, kSell, kBuy };
  float time = 0.0f;
  Kind kind = kBuild;
  int spot = 0;  // the spot's number in the level file
  int id = 0;    // tower id or tier "levelid"
};

// The commands of a script, in its order; a line that does not parse is skipped.
std::vector<BattleCommand> parseBattleScript(const std::string& text);

// Runs the command through the menu of its spot; false when the menu does not offer it (locked,
// no such spot, tower or tier), its shown price cannot be paid, or the action changed nothing.
bool applyBattleCommand(RuvMap& map, const BattleCommand& command);

// The item of an open menu that does the command, or null (another mode, not offered).
const RuvRadialItem* battleCommandItem(const RuvRadialMenu& menu, const BattleCommand& command);
// The command's menu would offer it at a price the wallet can pay, as the menu shows the price.
bool battleCommandPayable(RuvMap& map, const BattleCommand& command);

// What a done command changes, taken before it: the money and the tower on the spot.
struct BattleMoveWitness {
  int money = 0;
  const RuvTower* tower = nullptr;
};
BattleMoveWitness witnessBattleCommand(RuvMap& map, const BattleCommand& command);
bool battleCommandDone(RuvMap& map, const BattleCommand& command, const BattleMoveWitness& before);

// The spot of that number in the level file, or null.
RuvFrameEntry* battleScriptSpot(RuvMap& map, int spot);
// The tower standing on the spot, or null.
RuvTower* battleScriptTower(RuvMap& map, const RuvFrameEntry* spot);

// "build 3 10000" and the like, for traces.
std::string describeBattleCommand(const BattleCommand& command);

}  // namespace harness
