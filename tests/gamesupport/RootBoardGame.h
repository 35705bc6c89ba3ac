#pragma once
// A game object showing a bare root board (no map, fonts or effects) with a frame manager, so that
// the screens find the board's dialog slots, its pointer and its layer through the game object.
#include "Core/Widget/FrameManager.h"
#include "Game/App/Game.h"
#include "Game/Screens/GameWindow.h"

namespace gametest {

class BareRootBoard : public GameWindow {
 public:
  VNResultEnum Create() override { return VN_OK; }
};

class RootBoardGame : public Game {
 public:
  RootBoardGame() {
    mFrameManager = new widget::FrameManager;
    auto* board = new BareRootBoard;
    if (ShowFrame(board) == VN_OK) mGameWindow = board;
  }
  VNResultEnum OnInit() override { return VN_OK; }
  GameWindow& board() const { return *mGameWindow; }
};

}  // namespace gametest
