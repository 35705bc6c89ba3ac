#include "Core/App/Win32/WindowWin32.h"

#include "Core/App/Application.h"
#include "Core/App/CriticalSection.h"
#include "Core/Base/LogMessage.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Keyboard.h"
#include "Platform/Win32/Process.h"
#include "Platform/Win32/Window.h"

namespace app {

namespace {

constexpr char16_t kClassName[] = u"ApplicationWindow";
constexpr int kLargeIcon = 109;
constexpr int kSmallIcon = 108;
constexpr win32::UINT kClassStyle = win32::CS_VREDRAW | win32::CS_HREDRAW | win32::CS_DBLCLKS |
                                    win32::CS_BYTEALIGNCLIENT | win32::CS_BYTEALIGNWINDOW;

// The window being created: messages sent during CreateWindowExW arrive before its handle is stored.
WindowWin32* sCreating = nullptr;

math::Point2 MousePoint(win32::LPARAM lParam) {
  return math::Point2(static_cast<float>(win32::GET_X_LPARAM(lParam)), static_cast<float>(win32::GET_Y_LPARAM(lParam)));
}

void ShowArrowCursor() { win32::SetCursor(win32::LoadCursorA(nullptr, win32::IDC_ARROW)); }

}  // namespace

WindowWin32::WindowWin32(input::InputWin32* input, bool autoDelete, bool stopWhenChildrenDone, bool keepParentRunning)
    : Task(autoDelete, stopWhenChildrenDone, keepParentRunning, true), mInput(input) {}

WindowWin32::~WindowWin32() {
  if (mHandle && !mDestroyed) win32::DestroyWindow(mHandle);
}

VNResultEnum WindowWin32::OnStart() { return VN_OK; }

VNResultEnum WindowWin32::Update(float) {
  if (!mCreated || IsFinished()) return VN_OK;
  if (mCloseRequested && !mDestroyed) {
    mDestroyed = true;
    win32::DestroyWindow(mHandle);
  }
  win32::MSG message{};
  if (win32::PeekMessageW(&message, mHandle, 0, 0, win32::PM_REMOVE)) {
    win32::TranslateMessage(&message);
    win32::DispatchMessageW(&message);
  }
  return VN_OK;
}

void WindowWin32::Stop() { mCloseRequested = true; }
bool WindowWin32::CanClose() { return true; }
void WindowWin32::OnActivate() {}
void WindowWin32::OnDeactivate() {}
void WindowWin32::OnCreated() {}

VNResultEnum WindowWin32::Create(int x, int y, int outerWidth, int outerHeight, int clientWidth, int clientHeight,
                                 bool windowed, const std::u16string& title) {
  mTitle = title;
  mClassName = kClassName;
  if (const win32::HWND running = win32::FindWindowW(mClassName.c_str(), mTitle.c_str())) {
    win32::ShowWindow(running, win32::SW_RESTORE);
    Application::SetSecondInstance(true);
    Application::Instance()->StopTree();
    return VN_OK;
  }

  mX = x;
  mY = y;
  mOuterWidth = outerWidth;
  mOuterHeight = outerHeight;
  mClientWidth = clientWidth;
  mClientHeight = clientHeight;
  mWindowed = windowed;
  mInstance = win32::GetModuleHandleW(nullptr);

  win32::WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = kClassStyle;
  windowClass.lpfnWndProc = &WindowWin32::WindowProc;
  windowClass.hInstance = mInstance;
  windowClass.hIcon = win32::LoadIconA(mInstance, win32::MAKEINTRESOURCEA(kLargeIcon));
  windowClass.hCursor = win32::LoadCursorA(nullptr, win32::IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<win32::HBRUSH>(static_cast<std::intptr_t>(win32::COLOR_WINDOW + 1));
  windowClass.lpszClassName = mClassName.c_str();
  windowClass.hIconSm = win32::LoadIconA(mInstance, win32::MAKEINTRESOURCEA(kSmallIcon));
  win32::RegisterClassExW(&windowClass);

  // A window that does not exist must not reach the renderer as a null handle.
  if (const VNResultEnum result = CreateNativeWindow()) {
    base::LogPlain(u"CreateWindowExW()\n");
    return result;
  }
  mCreated = true;
  OnCreated();
  return VN_OK;
}

VNResultEnum WindowWin32::CreateNativeWindow() {
  {
    CriticalSectionGuard guard(&GlobalCriticalSection());
    sCreating = this;
    mHandle = win32::CreateWindowExW(0, mClassName.c_str(), mTitle.c_str(), mWindowed ? kWindowedStyle : kFullScreenStyle,
                                     mX, mY, mOuterWidth, mOuterHeight, nullptr, nullptr, mInstance, nullptr);
    if (!mHandle) {
      sCreating = nullptr;
      return VN_FAIL;
    }
    win32::SetWindowLongPtrW(mHandle, win32::GWLP_USERDATA, reinterpret_cast<win32::LONG_PTR>(this));
    sCreating = nullptr;
    win32::SetTimer(mHandle, kTimerId, kTimerPeriodMs, nullptr);
  }
  win32::ShowWindow(mHandle, win32::SW_SHOW);
  win32::UpdateWindow(mHandle);
  return VN_OK;
}

void WindowWin32::ClientToWindowSize(int clientWidth, int clientHeight, int& outerWidth, int& outerHeight) {
  win32::RECT rect{0, 0, clientWidth, clientHeight};
  win32::AdjustWindowRect(&rect, kWindowedStyle, win32::FALSE);
  outerWidth = rect.right - rect.left;
  outerHeight = rect.bottom - rect.top;
}

VNResultEnum WindowWin32::SetWindowedSize(int outerWidth, int outerHeight) {
  mOuterWidth = outerWidth;
  mOuterHeight = outerHeight;
  win32::SetWindowPos(mHandle, nullptr, mX, mY, mOuterWidth, mOuterHeight,
                      win32::SWP_FRAMECHANGED | win32::SWP_NOZORDER);
  return VN_OK;
}

VNResultEnum WindowWin32::SwitchWindowMode(int outerWidth, int outerHeight, bool windowed) {
  if (windowed == mWindowed && outerWidth == mOuterWidth && outerHeight == mOuterHeight) return VN_OK;
  mWindowed = windowed;
  mOuterWidth = outerWidth;
  mOuterHeight = outerHeight;
  win32::ShowWindow(mHandle, win32::SW_HIDE);
  if (windowed) {
    win32::SetWindowLongW(mHandle, win32::GWL_STYLE, static_cast<win32::LONG>(kWindowedStyle));
    win32::SetWindowPos(mHandle, win32::HWND_NOTOPMOST, mX, mY, outerWidth, outerHeight,
                        win32::SWP_FRAMECHANGED | win32::SWP_SHOWWINDOW);
  } else {
    win32::SetWindowLongW(mHandle, win32::GWL_STYLE, static_cast<win32::LONG>(kFullScreenStyle));
    win32::SetWindowPos(mHandle, win32::HWND_TOP, 0, 0, outerWidth, outerHeight,
                        win32::SWP_FRAMECHANGED | win32::SWP_SHOWWINDOW | win32::SWP_NOZORDER);
  }
  win32::ShowWindow(mHandle, win32::SW_SHOW);
  win32::SetForegroundWindow(mHandle);
  return VN_OK;
}

win32::LRESULT WindowWin32::WindowProc(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                       win32::LPARAM lParam) {
  auto* self = reinterpret_cast<WindowWin32*>(win32::GetWindowLongPtrW(window, win32::GWLP_USERDATA));
  if (!self) self = sCreating;
  return self ? self->HandleMessage(window, message, wParam, lParam)
              : win32::DefWindowProcW(window, message, wParam, lParam);
}

win32::LRESULT WindowWin32::HandleMessage(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                          win32::LPARAM lParam) {
  using namespace win32;
  switch (message) {
    case WM_CREATE:
    case WM_SYSCOLORCHANGE:
    case WM_ENDSESSION:
    case WM_DISPLAYCHANGE:
    case WM_CHAR:
    case WM_SYSCHAR: return 0;
    case WM_DESTROY:
      mDestroyed = true;
      SetStopped(true);
      return 0;
    case WM_MOVE:
      if (window == mHandle && mWindowed) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(window, &placement);
        if (placement.showCmd == SW_SHOWNORMAL || placement.showCmd == SW_SHOW) {
          mX = placement.rcNormalPosition.left;
          mY = placement.rcNormalPosition.top;
        }
      }
      return 0;
    case WM_SIZE:
      if (mHandle) {
        mMinimised = wParam == SIZE_MINIMIZED;
        UpdateActivity();
      }
      return 0;
    case WM_ENABLE: mDisabled = wParam == 0; return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      if (CanClose()) StopTree();
      return 0;
    case WM_QUERYOPEN: return mDisabled ? 0 : DefWindowProcW(window, message, wParam, lParam);
    case WM_ACTIVATEAPP:
      mApplicationActive = wParam != 0;
      if (window == mHandle) UpdateActivity();
      return 0;
    case WM_SETCURSOR: ShowArrowCursor(); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wParam == VK_MENU) mAltDown = true;
      // Alt must be down by this window's own record and by the Enter message itself: an Alt
      // released in another window would otherwise leave the flag set.
      if (mAltDown && wParam == VK_RETURN && (lParam & KF_ALTDOWN)) {
        mSwitchRequested = true;
        mAltDown = false;
        return 0;
      }
      if (mInput) mInput->OnKeyDown(static_cast<int>(wParam), lParam);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wParam == VK_MENU) mAltDown = false;
      if (mInput) mInput->OnKeyUp(static_cast<int>(wParam), lParam);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == kDestroyCommand) {
        DestroyWindow(window);
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_TIMER:
      if (CheckMouseLeave()) ShowArrowCursor();
      return 0;
    case WM_MOUSEMOVE:
      if (mInput) mInput->OnMouseMove(MousePoint(lParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (mInput) mInput->OnMouseDown(MousePoint(lParam), message == WM_LBUTTONDOWN ? 1 : 3);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (mInput) mInput->OnMouseUp(MousePoint(lParam), message == WM_LBUTTONUP ? 1 : 3);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      if (mInput) mInput->OnMouseDoubleClick(MousePoint(lParam), message == WM_LBUTTONDBLCLK ? 1 : 3);
      return 0;
    case WM_MOUSEWHEEL: {
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(window, &point);
      if (mInput) {
        mInput->OnMouseWheel(math::Point2(static_cast<float>(point.x), static_cast<float>(point.y)),
                             GET_WHEEL_DELTA_WPARAM(wParam));
      }
      return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void WindowWin32::UpdateActivity() {
  const bool active = mApplicationActive && !mMinimised;
  if (active == mActive) return;
  mActive = active;
  if (active) {
    OnActivate();
    return;
  }
  // Alt's key-up goes to whichever window has the keyboard then.
  mAltDown = false;
  OnDeactivate();
  win32::ReleaseCapture();
}

bool WindowWin32::CheckMouseLeave() {
  // The client rectangle as it is now: after a switch to full screen it is the monitor's.
  win32::RECT client{};
  win32::GetClientRect(mHandle, &client);
  win32::POINT topLeft{0, 0};
  win32::POINT bottomRight{client.right, client.bottom};
  win32::ClientToScreen(mHandle, &topLeft);
  win32::ClientToScreen(mHandle, &bottomRight);
  win32::POINT cursor{};
  win32::GetCursorPos(&cursor);
  const bool inside = win32::WindowFromPoint(cursor) == mHandle && topLeft.x <= cursor.x && cursor.x < bottomRight.x &&
                      topLeft.y <= cursor.y && cursor.y < bottomRight.y;
  if (inside == mCursorInside) return false;
  if (!inside && mInput) {
    const math::Point2 point(static_cast<float>(cursor.x - topLeft.x), static_cast<float>(cursor.y - topLeft.y));
    mInput->OnMouseExitMove(point);
    mInput->OnMouseLeave(point);
  }
  mCursorInside = inside;
  return true;
}

}  // namespace app
