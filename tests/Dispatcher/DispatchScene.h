#pragma once
// A battle map whose HUD stack holds a fake top screen answering a fixed button name and index, as
// the screens do; and readers of what the dispatcher left on the stack.
#include <string>

#include "Game/Screens/StandInScreens.h"
#include "tests/Battle/BattleMapScene.h"

namespace dispatchtest {

struct FakeTopScreen : HUDWindow {
  std::u16string buttonNameAt(int, int) override { return name; }
  int buttonIndexAt(int, int) override { return index; }
  void onMouseUp(int, int) override { ++releases; }

  std::u16string name;
  int index = -1;
  int releases = 0;
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
};

}  // namespace dispatchtest
