#pragma once
// The SDL window and OpenGL context behind a window, for the renderer's device. Private to Platform.
#include <functional>

#include "Platform/Win32/Window.h"

struct SDL_Window;

namespace win32 {

// Null for a handle that is not a live window of this process with an SDL window (the scripted
// window system of the tests has none).
SDL_Window* GetSdlWindow(HWND window);
// The window's OpenGL 3.3 core context (an SDL_GLContext), made with the window; null as above.
// It is not made current here.
void* GetGlContext(HWND window);
// Calls `deleted` when the window's context goes (DestroyWindow), just before it is deleted: every
// GL object of the context goes with it, so its users must stop calling GL. False (and `deleted` is
// dropped) for a handle without a context.
bool WatchGlContext(HWND window, std::function<void()> deleted);

}  // namespace win32
