#pragma once
// What the game screens and the flow reach of the application: its frame manager (for modal
// dialogs), the root board's layer tree (for layers drawn with the board), the game's root board
// itself (its dialog slots and pointer), its loading picture and its side pictures. Each null, or
// nothing done, while there is no application, game or root board (tests, pack building); the
// callers then skip those steps. Defined by the application (App/RootBoardAccess.cpp).
class GameWindow;

namespace layer {
class Layer;
}
namespace render {
class Graphics;
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
// One frame at once with the game's loading picture (while a level loads).
void showGameLoadingScreen();
// The game's side pictures just outside the 1024-wide design area (the HUD's menu states).
void drawGameSideImages(render::Graphics& graphics);
