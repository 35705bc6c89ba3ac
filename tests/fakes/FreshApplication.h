#pragma once
#include "Core/App/Application.h"

namespace fakes {

// Deletes the application singleton (with its task state and flags), so that the next Instance()
// builds a fresh one. Call it where a test changed the application.
inline void ResetApplication() {
  if (!app::Application::Exists()) return;
  app::Application* application = app::Application::Instance();
  application->SetUnsupportedVideo(false);  // no message box from the destructor
  app::Application::SetSecondInstance(false);
  delete application;
}

}  // namespace fakes
