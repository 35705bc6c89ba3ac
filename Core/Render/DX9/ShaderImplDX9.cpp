#include "Core/Render/DX9/ShaderImplDX9.h"

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/ShaderVariableImplDX9.h"

namespace render {

namespace {

template <class T>
void ReleaseObject(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

}  // namespace

ShaderImplDX9::ShaderImplDX9(RenderDX9* backEnd) : ShaderImpl(backEnd), mBackEnd(backEnd) {}

ShaderImplDX9::~ShaderImplDX9() {
  ReleaseObject(mVertexShader);
  ReleaseObject(mPixelShader);
  ReleaseObject(mVertexTable);
  ReleaseObject(mPixelTable);
}

VNResultEnum ShaderImplDX9::Compile(const char* vertexText, const char* pixelText) {
  if (mBackEnd == nullptr || vertexText == nullptr || pixelText == nullptr) return VN_FAIL;
  mVertexText = vertexText;
  mPixelText = pixelText;
  const VNResultEnum result = CreateVertexShader();
  if (result != VN_OK) return result;
  return CreatePixelShader();
}

VNResultEnum ShaderImplDX9::CompileProgram(const std::string& text, const char* entry, const char* profile,
                                           d3dx9::LPD3DXBUFFER* code, d3dx9::LPD3DXCONSTANTTABLE* table) {
  d3dx9::LPD3DXBUFFER messages = nullptr;
  ReleaseObject(*table);
  const d3d9::HRESULT result =
      d3dx9::D3DXCompileShader(text.c_str(), static_cast<d3d9::UINT>(text.size()), nullptr, nullptr, entry, profile,
                               d3dx9::D3DXSHADER_DEBUG, code, &messages, table);
  std::u16string messageText;
  if (messages != nullptr) {
    messageText = base::ToWide(static_cast<const char*>(messages->GetBufferPointer()), base::kEncodingAnsi);
    messages->Release();
  }
  // The compiler's text says why a program failed: it is logged in both cases.
  if (!messageText.empty()) {
    (win32::FAILED(result) ? base::LogBlock(u"%s\n") : base::LogPlain(u"%s\n")) % messageText;
  }
  return win32::FAILED(result) ? VN_FAIL : VN_OK;
}

VNResultEnum ShaderImplDX9::CreateVertexShader() {
  d3dx9::LPD3DXBUFFER code = nullptr;
  if (CompileProgram(mVertexText, "vertex_shader", "vs_1_1", &code, &mVertexTable) != VN_OK) return VN_FAIL;
  ReleaseObject(mVertexShader);
  const d3d9::HRESULT result = mBackEnd->GetDevice()->CreateVertexShader(
      static_cast<const d3d9::DWORD*>(code->GetBufferPointer()), &mVertexShader);
  code->Release();
  return result == d3d9::D3D_OK ? VN_OK : VN_FAIL;
}

VNResultEnum ShaderImplDX9::CreatePixelShader() {
  d3dx9::LPD3DXBUFFER code = nullptr;
  if (CompileProgram(mPixelText, "pixel_shader", "ps_2_0", &code, &mPixelTable) != VN_OK) return VN_FAIL;
  ReleaseObject(mPixelShader);
  const d3d9::HRESULT result = mBackEnd->GetDevice()->CreatePixelShader(
      static_cast<const d3d9::DWORD*>(code->GetBufferPointer()), &mPixelShader);
  code->Release();
  return result == d3d9::D3D_OK ? VN_OK : VN_FAIL;
}

ShaderScalarVariableImpl* ShaderImplDX9::CreateScalarVariableImpl(const char* name, int kind) {
  auto* setter = new ShaderScalarVariableImplDX9(this, kind, name);
  if (setter->IsValid()) return setter;
  delete setter;
  return nullptr;
}

ShaderTextureVariableImpl* ShaderImplDX9::CreateTextureVariableImpl(const char* name) {
  auto* setter = new ShaderTextureVariableImplDX9(this, name);
  if (setter->IsValid()) return setter;
  delete setter;
  return nullptr;
}

}  // namespace render
