#include "Game/App/Game.h"

app::Application* app::CreateApplication() { return new Game; }
