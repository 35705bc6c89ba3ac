#include "Core/App/Application.h"
#include "Platform/Win32/Entry/WinMain.h"
#include "Platform/Win32/Process.h"

int WinMain(win32::HINSTANCE, win32::HINSTANCE, char*, int) {
  win32::CoInitialize(nullptr);

  std::vector<std::u16string> arguments = win32::CommandLineToArgvW();
  if (!arguments.empty()) arguments.erase(arguments.begin());  // the program name is not kept

  app::Application* application = app::Application::Instance();
  application->SetArguments(std::move(arguments));
  if (application->InitPlatform()) return 0;

  const VNResultEnum result = application->Run();
  win32::CoUninitialize();
  return result == VN_OK ? application->GetExitCode() : 1;
}
