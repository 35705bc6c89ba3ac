// The back end's side of the shader programs.
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/ShaderImplDX9.h"
#include "Core/Render/Shaders/DX9/ShaderTexts.h"

namespace render {

VNResultEnum RenderDX9::CreateShaderImpl(const char* vertexText, const char* pixelText, ShaderImpl*& out) {
  auto* program = new ShaderImplDX9(this);
  const VNResultEnum result = program->Compile(vertexText, pixelText);
  if (result != VN_OK) {
    delete program;
    return result;
  }
  out = program;
  return VN_OK;
}

VNResultEnum RenderDX9::CreateGeomShaderImpl(ShaderImpl*& out) {
  return CreateShaderImpl(gVertexShaderGeomText, gPixelShaderGeomText, out);
}

VNResultEnum RenderDX9::CreateTexturedShaderImpl(ShaderImpl*& out) {
  return CreateShaderImpl(gVertexShaderTexturedMultText, gPixelShaderTexturedMultText, out);
}

VNResultEnum RenderDX9::CreateTintShaderImpl(ShaderImpl*& out) {
  return CreateShaderImpl(gVertexShaderTexturedTintText, gPixelShaderTexturedTintText, out);
}

VNResultEnum RenderDX9::DoSetShader(ShaderImpl* program) {
  auto* dx9 = static_cast<ShaderImplDX9*>(program);
  if (mDevice->SetVertexShader(dx9 != nullptr ? dx9->GetVertexShader() : nullptr) != d3d9::D3D_OK) return VN_FAIL;
  return mDevice->SetPixelShader(dx9 != nullptr ? dx9->GetPixelShader() : nullptr) == d3d9::D3D_OK ? VN_OK : VN_FAIL;
}

}  // namespace render
