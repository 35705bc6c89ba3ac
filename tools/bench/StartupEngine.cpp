// The engine's start-up as the game runs it, up to the first presented frame: prints "presented"
// when that frame has been played into the device and finished, then closes.
#include <SDL.h>

#include <cstdio>

#include "Core/Widget/BaseBoard.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"

namespace {

class StartupBenchApplication : public framework::GameApplication {
 public:
  StartupBenchApplication() {
    mDesign = framework::DesignSize{1024, 768, 1366};
    mMakerName = u"Ninebrook";
    mProductName = u"StartupBench";
    mWindowTitle = u"Startup bench";
  }
  VNResultEnum OnInit() override { return ShowFrame(new widget::BaseBoard); }
  VNResultEnum UpdateGame(float) override { return VN_OK; }
  VNResultEnum RunFrame(float dt) override {
    const VNResultEnum result = GameApplication::RunFrame(dt);
    if (!mPresented && result == VN_OK) {
      mPresented = true;
      if (auto finish = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"))) finish();
      std::printf("presented\n");
      std::fflush(stdout);
      GetWindow()->Stop();
    }
    return result;
  }

 private:
  bool mPresented = false;
};

}  // namespace

app::Application* app::CreateApplication() { return new StartupBenchApplication; }
