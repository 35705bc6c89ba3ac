#include "Game/Screens/RootBoardAccess.h"

#include "Core/Widget/BaseBoard.h"
#include "Framework/GameApplication.h"
#include "Game/App/Game.h"
#include "Game/Screens/GameWindow.h"

widget::FrameManager* appFrameManager() {
  framework::GameApplication* application = framework::GameApplication::Get();
  return application ? application->GetFrameManager() : nullptr;
}

layer::Layer* rootBoardLayer() {
  framework::GameApplication* application = framework::GameApplication::Get();
  widget::BaseBoard* board = application ? application->GetRootBoard() : nullptr;
  return board ? board->GetLayer() : nullptr;
}

GameWindow* gameRootBoard() {
  Game* game = Game::get();
  return game ? game->getGameWindow() : nullptr;
}

void readRootBoardPointer(float& x, float& y) {
  if (GameWindow* board = gameRootBoard()) {
    x = static_cast<float>(board->mPointerX);
    y = static_cast<float>(board->mPointerY);
  }
}

void showGameLoadingScreen() {
  if (Game* game = Game::get()) game->showLoadingScreen();
}

void drawGameSideImages(render::Graphics& graphics) {
  if (Game* game = Game::get()) game->drawSideImages(graphics);
}
