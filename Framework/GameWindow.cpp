#include "Framework/GameWindow.h"

#include "Framework/GameApplication.h"

namespace framework {

GameWindow::GameWindow(input::InputWin32* input) : app::Window(input, false, false, true) {}

VNResultEnum GameWindow::OnStart() { return VN_OK; }

VNResultEnum GameWindow::Update(float dt) {
  const VNResultEnum result = app::WindowWin32::Update(dt);
  if (result != VN_OK) return result;
  GameApplication* application = GameApplication::Get();
  if (application == nullptr) return VN_OK;
  if (!IsSwitchRequested()) return application->RunFrame(dt);
  SetSwitchRequested(false);
  return application->SwitchScreenMode();
}

void GameWindow::OnActivate() {
  if (GameApplication* application = GameApplication::Get()) application->OnActivate();
}

void GameWindow::OnDeactivate() {
  if (GameApplication* application = GameApplication::Get()) application->OnDeactivate();
}

}  // namespace framework
