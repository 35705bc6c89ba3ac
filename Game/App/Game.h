#pragma once
#include "Framework/GameApplication.h"

// Temporary stand-in for the game's application object: it starts the engine as the game will,
// mounts the game's pack and shows an empty board. Replaced by the real game application.
class Game : public framework::GameApplication {
 public:
  Game();

  // Mounts "ruv/" on "data.dat".
  VNResultEnum PreInit() override;
  // Shows an empty board.
  VNResultEnum OnInit() override;
  VNResultEnum UpdateGame(float) override { return VN_OK; }
};
