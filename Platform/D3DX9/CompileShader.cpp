#include <cstring>
#include <string>

#include "Platform/D3DX9/Buffer.h"
#include "Platform/D3DX9/ConstantTable.h"
#include "Platform/D3DX9/D3DX9Shader.h"
#include "Platform/D3DX9/HlslCompiler.h"

namespace d3dx9 {

namespace {

// Message text as D3DX hands it out: NUL-terminated bytes.
LPD3DXBUFFER MessageBuffer(const std::string& text) {
  return new Buffer(std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1));
}

bool StageOf(LPCSTR profile, ShaderStage* stage) {
  if (profile == nullptr) return false;
  if (std::strncmp(profile, "vs_", 3) == 0) {
    *stage = ShaderStage::kVertex;
    return true;
  }
  if (std::strncmp(profile, "ps_", 3) == 0) {
    *stage = ShaderStage::kPixel;
    return true;
  }
  return false;
}

}  // namespace

HRESULT D3DXCompileShader(LPCSTR source, UINT sourceLength, const D3DXMACRO* defines, LPD3DXINCLUDE include,
                          LPCSTR function, LPCSTR profile, DWORD /*flags*/, LPD3DXBUFFER* shader,
                          LPD3DXBUFFER* messages, LPD3DXCONSTANTTABLE* constants) {
  if (shader != nullptr) *shader = nullptr;
  if (messages != nullptr) *messages = nullptr;
  if (constants != nullptr) *constants = nullptr;

  std::string text;
  ShaderStage stage = ShaderStage::kVertex;
  HRESULT result = D3DERR_INVALIDCALL;
  CompiledShader compiled;
  if (source == nullptr || function == nullptr || shader == nullptr) {
    text = "D3DXCompileShader: no source, entry point or output";
  } else if (defines != nullptr || include != nullptr) {
    text = "D3DXCompileShader: macro definitions and include handlers are not supported";
  } else if (!StageOf(profile, &stage)) {
    text = std::string("D3DXCompileShader: unsupported profile ") + (profile != nullptr ? profile : "(null)");
  } else if (!CompileHlsl(std::string_view(source, sourceLength), function, stage, &compiled, &text)) {
    result = D3DXERR_INVALIDDATA;
  } else {
    const std::vector<std::uint32_t> words = WriteShaderCode(compiled.code);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(words.data());
    *shader = new Buffer(std::vector<std::uint8_t>(bytes, bytes + words.size() * sizeof(std::uint32_t)));
    if (constants != nullptr) *constants = new ConstantTable(stage, std::move(compiled.constants));
    if (messages != nullptr && !text.empty()) *messages = MessageBuffer(text);
    return D3D_OK;
  }
  if (messages != nullptr) *messages = MessageBuffer(text);
  return result;
}

}  // namespace d3dx9
