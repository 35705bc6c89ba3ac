#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "Platform/Win32/Monitor.h"
#include "Platform/Win32/Utf.h"
#include "Platform/Win32/Window.h"
#include "Platform/Win32/WindowHandle.h"
#include "fakes/DriverLeaks.h"

namespace {

win32::LRESULT Default(win32::HWND window, win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam) {
  return win32::DefWindowProcW(window, message, wParam, lParam);
}

// The real window system, under the test runner's video driver (offscreen: EGL on Mesa).
TEST(SdlWindowTest, WindowHasAnOpenGl33CoreContextForTheRenderer) {
  win32::WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Default;
  windowClass.lpszClassName = u"SdlWindowTest";
  win32::RegisterClassExW(&windowClass);
  const std::u16string title = win32::Utf8ToUtf16("GL window " + std::to_string(getpid()));
  const win32::HWND window = win32::CreateWindowExW(0, u"SdlWindowTest", title.c_str(), win32::WS_POPUP, 0, 0, 320,
                                                    240, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  fakes::KeepDriverLoaded();
  win32::ShowWindow(window, win32::SW_SHOW);

  SDL_Window* sdlWindow = win32::GetSdlWindow(window);
  ASSERT_NE(sdlWindow, nullptr);
  void* context = win32::GetGlContext(window);
  ASSERT_NE(context, nullptr);
  ASSERT_EQ(SDL_GL_MakeCurrent(sdlWindow, context), 0) << SDL_GetError();
  // Asked of the context itself, not of the requested attributes.
  using GetIntegerv = void (*)(unsigned, int*);
  const auto getIntegerv = reinterpret_cast<GetIntegerv>(SDL_GL_GetProcAddress("glGetIntegerv"));
  ASSERT_NE(getIntegerv, nullptr);
  int major = 0;
  int minor = 0;
  int profile = 0;
  getIntegerv(0x821B, &major);    // GL_MAJOR_VERSION
  getIntegerv(0x821C, &minor);    // GL_MINOR_VERSION
  getIntegerv(0x9126, &profile);  // GL_CONTEXT_PROFILE_MASK
  EXPECT_GE(major * 10 + minor, 33);
  EXPECT_TRUE(profile & 0x1);     // GL_CONTEXT_CORE_PROFILE_BIT
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(sdlWindow, &width, &height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);

  // Display 0 is the primary monitor.
  win32::MONITORINFO info{};
  info.cbSize = sizeof(info);
  static win32::HMONITOR sFirst = nullptr;
  ASSERT_TRUE(win32::EnumDisplayMonitors(nullptr, nullptr, [](win32::HMONITOR monitor, win32::HDC, win32::RECT*, win32::LPARAM) {
    if (!sFirst) sFirst = monitor;
    return win32::TRUE;
  }, 0));
  ASSERT_TRUE(win32::GetMonitorInfoA(sFirst, &info));
  EXPECT_EQ(info.dwFlags, win32::MONITORINFOF_PRIMARY);
  EXPECT_GT(info.rcMonitor.right - info.rcMonitor.left, 0);

  EXPECT_TRUE(win32::DestroyWindow(window));
  EXPECT_EQ(win32::GetSdlWindow(window), nullptr);
  EXPECT_EQ(win32::GetGlContext(window), nullptr);
}

}  // namespace
