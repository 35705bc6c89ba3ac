// The test programs' application object: a bare application, no window.
#include "Core/App/Application.h"

app::Application* app::CreateApplication() { return new app::Application; }
