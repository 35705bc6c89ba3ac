#pragma once
#include "Core/App/Window.h"

namespace framework {

// The window task: each tick handles one message of the window, then runs one frame, or the
// screen-mode switch that Alt+Enter asked for (never both in one tick).
class GameWindow : public app::Window {
 public:
  // Not auto-deleting, not stopping when its children are done, keeps its parent running, locked.
  explicit GameWindow(input::InputWin32* input);

  VNResultEnum OnStart() override;
  VNResultEnum Update(float dt) override;
  void OnActivate() override;
  void OnDeactivate() override;
};

}  // namespace framework
