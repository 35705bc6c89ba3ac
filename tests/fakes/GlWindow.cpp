#include "fakes/GlWindow.h"

#include <unistd.h>

#include <string>

#include "Platform/Win32/Utf.h"
#include "Platform/Win32/Window.h"
#include "fakes/DriverLeaks.h"

namespace fakes {

namespace {

win32::LRESULT Default(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                       win32::LPARAM lParam) {
  return win32::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

GlWindow::GlWindow(int width, int height) {
  win32::WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Default;
  windowClass.lpszClassName = u"GlTestWindow";
  win32::RegisterClassExW(&windowClass);
  // A title of this process only: windows of parallel tests must not find each other.
  const std::u16string title = win32::Utf8ToUtf16("GL test " + std::to_string(getpid()));
  mHandle = win32::CreateWindowExW(0, u"GlTestWindow", title.c_str(), win32::WS_POPUP, 0, 0, width,
                                   height, nullptr, nullptr, nullptr, nullptr);
  if (mHandle) KeepDriverLoaded();
}

GlWindow::~GlWindow() {
  if (mHandle) win32::DestroyWindow(mHandle);
}

}  // namespace fakes
