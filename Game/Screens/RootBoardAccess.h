#pragma once
// What the game screens reach of the application: its frame manager (for modal dialogs) and the
// root board's layer tree (for layers drawn with the board). Both null while there is no
// application or no root board (tests, pack building); the callers then skip those steps.
namespace layer {
class Layer;
}
namespace widget {
class FrameManager;
}

widget::FrameManager* appFrameManager();
layer::Layer* rootBoardLayer();
