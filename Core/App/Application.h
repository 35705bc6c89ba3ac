#pragma once
#include <list>
#include <mutex>

#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/Base/Singletone.h"

namespace app {

class Application;

// The program's application object; provided by the game, called once by the first Instance().
Application* CreateApplication();

// The root task of the task tree and the application singleton.
class Application : public base::Singletone<Application>, public ApplicationWin32 {
 public:
  Application();
  ~Application() override;

  // Pumps one message, drops threads that are finished and whose loop has ended (deleting the
  // auto-deleting ones), and marks the application stopped when none is left.
  VNResultEnum Update(float dt) override;
  // Stops the tree of every registered thread (through its own loop when it runs); sets no flag of
  // its own.
  void Stop() override;

  // Called by Thread::Start; any thread may start threads.
  void RegisterThread(Thread* thread);

  float GetImageScale() const { return mImageScale; }
  float GetFontScale() const { return mFontScale; }
  int GetExitCode() const { return mExitCode; }

 private:
  std::mutex mThreadsMutex;
  std::list<Thread*> mThreads;
  float mImageScale = 1.0f;
  float mFontScale = 1.0f;
  int mExitCode = 0;
};

}  // namespace app

template <>
inline app::Application* base::Singletone<app::Application>::Create() {
  return app::CreateApplication();
}
