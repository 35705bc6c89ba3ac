// The test programs' application object: a bare application, no window. Every test program also
// gets a private runtime folder for the lock files of its windows.
#include "Core/App/Application.h"
#include "fakes/RuntimeFolder.h"

namespace {

const fakes::PrivateRuntimeFolder sTestRuntimeFolder;

}  // namespace

app::Application* app::CreateApplication() { return new app::Application; }
