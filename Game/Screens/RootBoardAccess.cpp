#include "Game/Screens/RootBoardAccess.h"

#include "Core/Widget/BaseBoard.h"
#include "Framework/GameApplication.h"

widget::FrameManager* appFrameManager() {
  framework::GameApplication* application = framework::GameApplication::Get();
  return application ? application->GetFrameManager() : nullptr;
}

layer::Layer* rootBoardLayer() {
  framework::GameApplication* application = framework::GameApplication::Get();
  widget::BaseBoard* board = application ? application->GetRootBoard() : nullptr;
  return board ? board->GetLayer() : nullptr;
}
