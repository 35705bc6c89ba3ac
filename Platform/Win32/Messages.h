#pragma once
// The thread message queue: the Win32 message record, posting, peeking and dispatching to window
// procedures. The window layer fills the queue from SDL's events.
#include <string_view>

#include "Platform/Win32/Types.h"

namespace win32 {

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

using UINT_PTR = std::uintptr_t;
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_QUERYOPEN = 0x0013;
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_ENDSESSION = 0x0016;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;

// Button and modifier flags in the wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// One notch of the wheel.
constexpr int WHEEL_DELTA = 120;

constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>(static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) |
                                                       (static_cast<std::uint32_t>(low) & 0xFFFF)));
}
// Signed client coordinates of a mouse message.
constexpr int GET_X_LPARAM(LPARAM lParam) { return static_cast<std::int16_t>(LOWORD(lParam)); }
constexpr int GET_Y_LPARAM(LPARAM lParam) { return static_cast<std::int16_t>(HIWORD(lParam)); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM wParam) { return static_cast<std::int16_t>(HIWORD(wParam)); }

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Appends a message to the thread queue; any thread may post.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts a key message together with the text its key typed (SDL's text input for that press); the
// text becomes what ToUnicode returns while that message is handled.
BOOL PostKeyMessage(HWND window, UINT message, WPARAM virtualKey, LPARAM lParam, std::u16string_view text);
// Calls the window procedure at once, bypassing the queue.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Takes (with PM_REMOVE) or reads the first waiting message of window (null: any message) whose
// number lies in [filterMin, filterMax] (0, 0: every number). When none waits, the window system's
// events are turned into messages first; when still none waits, a due timer gives WM_TIMER.
// Returns FALSE when there is nothing. Taking a key or button message updates the key state.
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* message);
// Calls the window procedure of message->hwnd; 0 when the window has none.
LRESULT DispatchMessageW(const MSG* message);

// Milliseconds since an arbitrary start, from the performance counter.
DWORD GetTickCount();

// Asks for WM_TIMER (wParam = id) every period milliseconds while the queue is empty. A second call
// with the same window and id restarts that timer. The callback is not supported (must be null).
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback);
BOOL KillTimer(HWND window, UINT_PTR id);

// Called by PeekMessageW when no message waits: turns the window system's events into messages.
void SetMessagePump(void (*pump)());

// Window-procedure table, kept by the window layer.
void SetWindowProc(HWND window, WNDPROC procedure);
WNDPROC GetWindowProc(HWND window);
// Drops the window's procedure, its timers and its waiting messages.
void ForgetWindow(HWND window);

}  // namespace win32
