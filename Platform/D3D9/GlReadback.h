#pragma once
// Test support for the OpenGL device: reading back what was drawn.
#include <vector>

#include "Platform/D3D9/D3D9.h"

namespace d3d9 {

// The pixels of a surface of the OpenGL device (the back buffer or a texture's level 0), top row
// first, each as 0xAARRGGBB. Waits for drawing to finish.
HRESULT ReadSurfacePixels(IDirect3DSurface9* surface, std::vector<DWORD>& pixels);

}  // namespace d3d9
