// How the back end reads the application window.
#include "Core/App/Window.h"
#include "Core/Render/DX9/RenderDX9.h"

namespace render {

win32::HWND RenderDX9::GetWindowHandle() const { return mWindow ? mWindow->GetHandle() : nullptr; }

bool RenderDX9::IsWindowUsable() const {
  if (!mWindow) return false;
  return mWindow->IsWindowed() ? !mWindow->IsMinimised() : mWindow->IsActive();
}

}  // namespace render
