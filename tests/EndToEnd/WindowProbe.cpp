// A small program that opens the application window through the window layer and prints every
// input event, activation change and the end of its run loop to standard output, one per line.
// Arguments: the window title, then optionally "--render": a renderer on the window with a render
// target, a dynamic texture, its shaders and buffers draws one frame ("rendering"); at exit the
// window goes first, as in the game, and the renderer after it.
#include <cstdio>
#include <memory>

#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Texture.h"
#include "fakes/RecordingInputListener.h"

namespace {

void Print(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

class PrintingListener : public fakes::RecordingInputListener {
 public:
  void OnEvent(const std::string& line) override { Print(line.c_str()); }
};

class ProbeWindow : public app::Window {
 public:
  explicit ProbeWindow(input::InputWin32* input) : Window(input, false, false, true) {}
  void OnActivate() override { Print("activate"); }
  void OnDeactivate() override { Print("deactivate"); }
  void OnCreated() override { Print("created"); }
};

class ProbeApplication : public app::Application {
 public:
  ~ProbeApplication() override { Print("exit"); }

  VNResultEnum Init() override {
    const std::u16string title = GetArguments().empty() ? u"Window probe" : GetArguments()[0];
    mWindow = std::make_unique<ProbeWindow>(&mInput);
    if (const VNResultEnum result = mWindow->Create(100, 50, 640, 480, 640, 480, true, title)) return result;
    if (IsStopRequested()) return VN_OK;  // another instance runs
    AddTask(mWindow.get());
    if (GetArguments().size() > 1 && GetArguments()[1] == u"--render") return StartRendering();
    return VN_OK;
  }

 private:
  VNResultEnum StartRendering() {
    mRender = std::make_unique<render::RenderDX9>();
    render::RenderInitParam param;
    param.mWidth = 640;
    param.mHeight = 480;
    param.mWindowed = true;
    if (const VNResultEnum result = mRender->InitRender(mWindow.get(), param)) return result;
    render::RenderTarget* target = nullptr;
    render::Texture* dynamic = nullptr;
    if (mRender->CreateRenderTarget(64, 64, &target, true) || mRender->CreateTexture(dynamic)) return VN_FAIL;
    mTarget.reset(target);
    mDynamic.reset(dynamic);
    if (const VNResultEnum result = mDynamic->CreateDynamic(32, 32)) return result;
    {
      render::Graphics g(target);
      g.FillRect({4, 4, 16, 16});
    }
    if (!mRender->CheckDevice() || mRender->BeginFrame()) return VN_FAIL;
    {
      render::Graphics g(mRender.get());
      g.DrawImage(target).Translate({10, 10});
    }
    if (mRender->EndFrame() || mRender->Present() || mRender->PlayCommands()) return VN_FAIL;
    Print("rendering");
    return VN_OK;
  }


  PrintingListener mListener;
  fakes::ScaleConverter mConverter;
  input::InputWin32 mInput{&mListener, &mConverter};
  // Destroyed after the window, with what it made.
  std::unique_ptr<render::RenderDX9> mRender;
  std::unique_ptr<render::RenderTarget> mTarget;
  std::unique_ptr<render::Texture> mDynamic;
  std::unique_ptr<ProbeWindow> mWindow;
};

}  // namespace

app::Application* app::CreateApplication() { return new ProbeApplication; }
