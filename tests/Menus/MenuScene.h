#pragma once
// The menu screens on the battle map of the battle tests (a copy of the sample data, recording
// renderer, silent audio, one profile "A"), with an application that has a frame manager and a
// plain root board, so that modal dialogs and the root board's layers have their places.
#include <memory>
#include <string>

#include "gamesupport/BattleMapScene.h"
#include "Framework/GameApplication.h"

namespace widget {
class FrameManager;
}
class HUDWindow;

namespace menutest {

class MenuApplication : public framework::GameApplication {
 public:
  MenuApplication();
  VNResultEnum OnInit() override { return VN_OK; }
  VNResultEnum UpdateGame(float) override { return VN_OK; }
};

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
  std::unique_ptr<MenuApplication> mApplication;
};

}  // namespace menutest
