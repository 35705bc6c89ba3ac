#pragma once
// The tutorial over the battle map of a sample data copy, reached as the running game's map: a game
// object whose root board holds the fixture's map. Each test writes its own tutorial file (or keeps
// the sample one) before the tutorial is first asked for.
#include <map>
#include <memory>
#include <string>

#include "Game/Screens/GameWindow.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/RuvTutorial.h"
#include "gamesupport/BattleMapScene.h"

class Game;

namespace tutorialtest {

class TutorialTest : public battletest::BattleMapTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the tutorial file with these steps inside its root, then builds the tutorial.
  RuvTutorial& Build(const std::string& steps);
  // Builds the tutorial on the sample data's file.
  static RuvTutorial& Tutorial() { return *RuvTutorial::Instance(); }
  // A step element, unbound unless condition says otherwise.
  static std::string Step(int id, const std::string& activate, const std::string& complete,
                          const std::string& inside = "", const std::string& condition = R"(shop="0")",
                          const std::string& folder = "step0");

  RuvMap& Map() { return *mBattleMap; }
  GameWindow& Board();
  int State(int id) { return mBattleMap->mProgress->getTutorialStepState(id); }
  // True when the tutorial's picture root hangs on the root board's layer.
  bool Attached();

  RuvMap* mBattleMap = nullptr;  // owned by the board
  std::unique_ptr<Game> mGame;
};

}  // namespace tutorialtest
