// The OpenGL implementation of IDirect3D9: one adapter, drawing with the window's GL context.
#include <SDL.h>

#include "Platform/D3D9/GlDevice.h"
#include "Platform/Win32/WindowHandle.h"

namespace d3d9 {

namespace {

class GlDirect3D : public RefCounted<IDirect3D9> {
 public:
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
    SDL_DisplayMode desktop;
    if (adapter != D3DADAPTER_DEFAULT || !mode || SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
      return D3DERR_NOTAVAILABLE;
    }
    *mode = {UINT(desktop.w), UINT(desktop.h), UINT(desktop.refresh_rate), D3DFMT_X8R8G8B8};
    return D3D_OK;
  }

  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !params || !device) {
      return D3DERR_INVALIDCALL;
    }
    // The device draws with the window's own context.
    const HWND handle = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
    SDL_Window* window = WindowFromHandle(handle);
    void* context = win32::GetGlContext(handle);
    if (!window || !context || SDL_GL_MakeCurrent(window, context) != 0 || !HasContext()) {
      return D3DERR_NOTAVAILABLE;
    }
    *device = new GlDevice(handle, window, *params);
    return D3D_OK;
  }

  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !caps) {
      return D3DERR_INVALIDCALL;
    }
    if (!HasContext()) return D3DERR_NOTAVAILABLE;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    *caps = {};
    caps->RasterCaps = D3DPRASTERCAPS_SCISSORTEST;
    caps->MaxTextureWidth = DWORD(maxSize);
    caps->MaxTextureHeight = DWORD(maxSize);
    caps->MaxVertexIndex = 0xFFFFFF;
    // A 3.3 core context runs everything the shader models 1.1 and 2.0 express.
    caps->VertexShaderVersion = D3DVS_VERSION(1, 1);
    caps->PixelShaderVersion = D3DPS_VERSION(2, 0);
    return D3D_OK;
  }

 private:
  static bool HasContext() {
    return SDL_GL_GetCurrentContext() && epoxy_is_desktop_gl() && epoxy_gl_version() >= 33;
  }
};

Direct3DFactory sFactory = nullptr;

}  // namespace

SDL_Window* WindowFromHandle(HWND window) { return win32::GetSdlWindow(window); }

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return sFactory ? sFactory(sdkVersion) : new GlDirect3D;
}

void SetDirect3DFactory(Direct3DFactory factory) { sFactory = factory; }

}  // namespace d3d9
