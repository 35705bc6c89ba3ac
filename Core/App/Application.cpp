#include "Core/App/Application.h"

namespace app {

Application::Application() = default;

Application::~Application() { mThreads.clear(); }

VNResultEnum Application::Update(float dt) {
  ApplicationWin32::Update(dt);
  for (auto it = mThreads.begin(); it != mThreads.end();) {
    Thread* thread = *it;
    if (!thread->IsFinished()) {
      ++it;
      continue;
    }
    it = mThreads.erase(it);
    if (thread->IsAutoDelete()) delete thread;
  }
  if (mThreads.empty()) SetStopped(true);
  return VN_OK;
}

void Application::Stop() {
  for (Thread* thread : mThreads) thread->StopTree();
}

}  // namespace app
