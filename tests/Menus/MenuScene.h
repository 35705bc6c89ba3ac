#pragma once
// The menu screens on the battle map of the battle tests (a copy of the sample data, recording
// renderer, silent audio, one profile "A"), with a game object that has a frame manager and a
// bare root board, so that modal dialogs, the root board's layers and slots have their places.
#include <memory>
#include <string>

#include "gamesupport/BattleMapScene.h"
#include "gamesupport/RootBoardGame.h"

namespace widget {
class FrameManager;
}
class HUDWindow;

namespace menutest {

class MenuScene : public battletest::BattleMapTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A layout rectangle's centre, for pointing at a button or a layer of the sample layouts.
  static void Centre(const std::u16string& layout, const std::u16string& layer, int& x, int& y);
  // The visible base button of that name is the one the screen answers at its centre.
  static bool Answers(HUDWindow& screen, const std::u16string& name);
  // Replaces the map's progress store after changing the profile file's current profile.
  void ReloadProgress(const std::string& profiles);
  // Modal dialogs shown by the frame manager (the root board excluded), after one update.
  int ShownDialogs();

  layer::Layer* Board() const;
  std::unique_ptr<gametest::RootBoardGame> mApplication;
};

}  // namespace menutest
