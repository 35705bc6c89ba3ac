// The back end's side of the shader programs. The program classes come with the shader module;
// until it is linked in, no program can be created and none is ever bound.
#include "Core/Render/DX9/RenderDX9.h"

namespace render {

VNResultEnum RenderDX9::CreateShaderImpl(const char*, const char*, ShaderImpl*&) {
  return VN_FAIL;
}

VNResultEnum RenderDX9::CreateGeomShaderImpl(ShaderImpl*&) { return VN_FAIL; }

VNResultEnum RenderDX9::CreateTexturedShaderImpl(ShaderImpl*&) { return VN_FAIL; }

VNResultEnum RenderDX9::CreateTintShaderImpl(ShaderImpl*&) { return VN_FAIL; }

VNResultEnum RenderDX9::DoSetShader(ShaderImpl* program) { return program ? VN_FAIL : VN_OK; }

}  // namespace render
