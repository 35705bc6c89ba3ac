#pragma once
#include "Core/App/Application.h"

// Temporary stand-in for the game's application object: it starts no window, so the run loop ends
// after its first tick. Replaced by the real game application once the framework exists.
class Game : public app::Application {};
