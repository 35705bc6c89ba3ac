// The engine's application factory, in a file of its own: test programs that link the game bring
// their own.
#include "Game/App/Game.h"

app::Application* app::CreateApplication() { return new Game; }
