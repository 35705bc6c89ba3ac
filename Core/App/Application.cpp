#include "Core/App/Application.h"

#include <vector>

namespace app {

Application::Application() = default;

Application::~Application() {
  std::lock_guard<std::mutex> lock(mThreadsMutex);
  mThreads.clear();
}

void Application::RegisterThread(Thread* thread) {
  std::lock_guard<std::mutex> lock(mThreadsMutex);
  mThreads.push_back(thread);
}

VNResultEnum Application::Update(float dt) {
  ApplicationWin32::Update(dt);
  std::vector<Thread*> finished;
  bool none = false;
  {
    std::lock_guard<std::mutex> lock(mThreadsMutex);
    for (auto it = mThreads.begin(); it != mThreads.end();) {
      Thread* thread = *it;
      // A running loop still touches its thread; once it has ended, its state is ours to read.
      if (thread->IsRunning() || !thread->IsFinished()) {
        ++it;
        continue;
      }
      it = mThreads.erase(it);
      finished.push_back(thread);
    }
    none = mThreads.empty();
  }
  for (Thread* thread : finished) {
    if (thread->IsAutoDelete()) delete thread;
  }
  if (none) SetStopped(true);
  return VN_OK;
}

void Application::Stop() {
  std::vector<Thread*> threads;
  {
    std::lock_guard<std::mutex> lock(mThreadsMutex);
    threads.assign(mThreads.begin(), mThreads.end());
  }
  for (Thread* thread : threads) thread->RequestStop();
}

}  // namespace app
