#pragma once
// A battle map whose HUD stack holds a fake top screen answering a fixed button name and index, as
// the screens do; and readers of what the dispatcher left on the stack and in the frame manager.
#include <memory>
#include <string>
#include <vector>

#include "Framework/GameApplication.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDSpellButton.h"
#include "gamesupport/BattleMapScene.h"

namespace dispatchtest {

struct FakeTopScreen : HUDWindow {
  std::u16string buttonNameAt(int, int) override { return name; }
  int buttonIndexAt(int, int) override { return index; }
  void onMouseUp(int, int) override { ++releases; }

  std::u16string name;
  int index = -1;
  int releases = 0;
};

// An application with a frame manager and a plain root board, where the modal dialogs are shown.
class DispatchApplication : public framework::GameApplication {
 public:
  DispatchApplication();
  VNResultEnum OnInit() override { return VN_OK; }
  VNResultEnum UpdateGame(float) override { return VN_OK; }
};

class DispatchTest : public battletest::BattleMapTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh fake on top of an otherwise empty stack.
  FakeTopScreen& Top(const std::u16string& name, int index = -1);
  // The release at (x, y), then the HUD's update so that pushed screens join the stack.
  void Release(int x = 500, int y = 400);
  // The stack bottom first: "fake", the kind of a typed push, or "screen".
  std::string Stack() const;
  // The modal dialogs shown since the last call, after one update of the frame manager: the
  // message box as "message", the options dialog as "options"; they are closed again.
  std::vector<std::string> Dialogs();

  std::unique_ptr<DispatchApplication> mApplication;
};

}  // namespace dispatchtest
