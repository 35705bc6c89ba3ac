#pragma once
// What the game screens reach of the application: its frame manager (for modal dialogs), the
// root board's layer tree (for layers drawn with the board) and the game's root board itself (its
// dialog slots and pointer). Each null while there is no application or no root board (tests,
// pack building); the callers then skip those steps.
class GameWindow;

namespace layer {
class Layer;
}
namespace widget {
class FrameManager;
}

widget::FrameManager* appFrameManager();
layer::Layer* rootBoardLayer();
// The root board of the running game object.
GameWindow* gameRootBoard();
// Sets x, y to the root board's last pointer position; leaves them while there is no board.
void readRootBoardPointer(float& x, float& y);
