// A small program that opens the application window through the window layer and prints every
// input event, activation change and the end of its run loop to standard output, one per line.
// Its only argument is the window title.
#include <cstdio>
#include <memory>

#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Input/Win32/InputWin32.h"
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
    return VN_OK;
  }

 private:
  PrintingListener mListener;
  fakes::ScaleConverter mConverter;
  input::InputWin32 mInput{&mListener, &mConverter};
  std::unique_ptr<ProbeWindow> mWindow;
};

}  // namespace

app::Application* app::CreateApplication() { return new ProbeApplication; }
