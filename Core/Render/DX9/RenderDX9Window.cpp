// How the back end reads the application window. Until the window class exists, the object
// handed to InitRender is the native window itself, and a window counts as usable.
#include "Core/Render/DX9/RenderDX9.h"

namespace render {

win32::HWND RenderDX9::GetWindowHandle() const { return reinterpret_cast<win32::HWND>(mWindow); }

bool RenderDX9::IsWindowUsable() const { return true; }

}  // namespace render
