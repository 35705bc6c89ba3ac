#pragma once
// Top-level windows: classes, creation and destruction, placement, styles, the default window
// procedure, and finding a window of another instance. Windows live on the main thread; their
// messages come through the queue of Messages.h. Outer size = client size: the window manager
// draws the frame, so AdjustWindowRect changes nothing.
#include "Platform/Win32/Messages.h"

namespace win32 {

struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HDC__;
using HDC = HDC__*;
using ATOM = WORD;
using LONG_PTR = std::intptr_t;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;  // a second press soon after the first is a double click
constexpr UINT CS_BYTEALIGNCLIENT = 0x1000;
constexpr UINT CS_BYTEALIGNWINDOW = 0x2000;

// Window styles. A window without WS_CAPTION has no frame; one that also covers a whole monitor is
// shown full screen.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;

constexpr int COLOR_WINDOW = 5;

struct WNDCLASSEXW {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  const WCHAR* lpszMenuName;
  const WCHAR* lpszClassName;
  HICON hIconSm;
};

// Registers (or re-registers) a class by name. Returns 0 without a name or a procedure.
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass);
// Makes a window of a registered class with a native window and an OpenGL 3.3 core context.
// WM_CREATE is sent before it returns. Returns null (the cause in the last error and on standard
// error) when the class is unknown or the native window or its context cannot be made.
HWND CreateWindowExW(DWORD exStyle, const WCHAR* className, const WCHAR* title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter);
// Sends WM_DESTROY to the window procedure before returning, then closes the native window and
// drops the window's waiting messages and timers.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;
// SW_HIDE, SW_SHOW, SW_SHOWNORMAL, SW_RESTORE (also un-minimises). On a window of another
// instance (FindWindowW), SW_RESTORE and SW_SHOW ask that process to restore it and wait for its
// answer. Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL SetForegroundWindow(HWND window);

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_FRAMECHANGED = 0x0020;  // applies a style set with SetWindowLongW
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
// Moves and sizes the window (screen position of its client area). The z-order is not kept.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

constexpr int GWL_STYLE = -16;
constexpr int GWLP_USERDATA = -21;
// The style is stored at once and applied by the next SetWindowPos with SWP_FRAMECHANGED.
LONG SetWindowLongW(HWND window, int index, LONG value);
LONG GetWindowLongW(HWND window, int index);
// The user-data slot holds a pointer.
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);

BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
// The identity: the frame is the window manager's.
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);

struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;  // SW_SHOWMINIMIZED, SW_SHOWNORMAL or SW_HIDE
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};
BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);

// The window of this process, or else of another running instance, with that class and title.
// Another instance is found through an advisory lock on a file in the user's runtime folder keyed
// by class and title, which each top-level window holds while it exists.
HWND FindWindowW(const WCHAR* className, const WCHAR* title);
// The window whose client area holds the screen point and that has the mouse, else null.
HWND WindowFromPoint(POINT point);

// WM_CLOSE destroys the window; WM_QUERYOPEN allows; the rest gives 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
};
// Nothing is drawn through these; they exist for the window procedures that answer WM_PAINT.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// Resource ids as names.
inline const char* MAKEINTRESOURCEA(int id) { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id)); }
inline const char* const IDC_ARROW = MAKEINTRESOURCEA(32512);
// The program has no icon resources here: icons are null.
HICON LoadIconA(HINSTANCE instance, const char* name);
// IDC_ARROW only: the system arrow.
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);
HCURSOR SetCursor(HCURSOR cursor);

BOOL GetCursorPos(POINT* point);
// The layer keeps the mouse captured while a button is held, so a release outside the window still
// arrives; this ends that capture until every button is up again.
BOOL ReleaseCapture();

}  // namespace win32
