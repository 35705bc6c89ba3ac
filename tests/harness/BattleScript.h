#pragma once
// A player's moves for the headless battle: build, upgrade and sell, each done through the radial
// menu's actions so that unlocks, prices and money are checked as for a player. The harness runs
// them in order; a move waits for its level time, then until it can be done (the money).
// Script lines: "<seconds> build <spot> <tower id>", "<seconds> upgrade <spot> <tier levelid>",
// "<seconds> star <spot>", "<seconds> sell <spot>", "<seconds> buy <spot>" (a spot with a price);
// "#" starts a comment.
#include <string>
#include <vector>

class RuvMap;

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
// no such spot, tower or tier) or the action changed nothing (money short).
bool applyBattleCommand(RuvMap& map, const BattleCommand& command);

// "build 3 10000" and the like, for traces.
std::string describeBattleCommand(const BattleCommand& command);

}  // namespace harness
