#pragma once
// The thread message queue: the Win32 message record, posting, peeking and dispatching to window
// procedures. The window layer fills the queue from SDL's events.
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

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_QUIT = 0x0012;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Appends a message to the thread queue; any thread may post.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Takes (with PM_REMOVE) or reads the first waiting message of window (null: any message) whose
// number lies in [filterMin, filterMax] (0, 0: every number). Returns FALSE when none waits.
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* message);
// Calls the window procedure of message->hwnd; 0 when the window has none.
LRESULT DispatchMessageW(const MSG* message);

// Window-procedure table, kept by the window layer.
void SetWindowProc(HWND window, WNDPROC procedure);
WNDPROC GetWindowProc(HWND window);
// Drops the window's procedure and its waiting messages.
void ForgetWindow(HWND window);

}  // namespace win32
