#pragma once
// The Direct3D 9 program: a vertex and a pixel shader compiled from HLSL text, with their constant
// tables for the variable setters.
#include <string>

#include "Core/Render/ShaderImpl.h"
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3DX9/D3DX9Shader.h"

namespace render {

class RenderDX9;

class ShaderImplDX9 : public ShaderImpl {
 public:
  // Registers with the back end; nothing is compiled yet.
  explicit ShaderImplDX9(RenderDX9* backEnd);
  // Releases both shaders and both constant tables.
  ~ShaderImplDX9() override;

  // Keeps both texts and compiles the vertex program ("vertex_shader", "vs_1_1"), then the pixel
  // program ("pixel_shader", "ps_2_0"); the first failure is returned. Compiler messages are logged.
  VNResultEnum Compile(const char* vertexText, const char* pixelText);

  // Null when the stage's table lacks the constant.
  ShaderScalarVariableImpl* CreateScalarVariableImpl(const char* name, int kind) override;
  // Null when the pixel table lacks the sampler.
  ShaderTextureVariableImpl* CreateTextureVariableImpl(const char* name) override;

  RenderDX9* GetBackEnd() const { return mBackEnd; }
  d3d9::IDirect3DVertexShader9* GetVertexShader() const { return mVertexShader; }
  d3d9::IDirect3DPixelShader9* GetPixelShader() const { return mPixelShader; }
  // Kind 0: the vertex table, 1: the pixel table.
  d3dx9::ID3DXConstantTable* GetConstantTable(int kind) const { return kind == 0 ? mVertexTable : mPixelTable; }

 private:
  VNResultEnum CreateVertexShader();
  VNResultEnum CreatePixelShader();
  // Compiles one program; on success *code holds its code and *table its constants.
  VNResultEnum CompileProgram(const std::string& text, const char* entry, const char* profile,
                              d3dx9::LPD3DXBUFFER* code, d3dx9::LPD3DXCONSTANTTABLE* table);

  RenderDX9* mBackEnd;
  d3d9::IDirect3DVertexShader9* mVertexShader = nullptr;
  d3d9::IDirect3DPixelShader9* mPixelShader = nullptr;
  d3dx9::ID3DXConstantTable* mVertexTable = nullptr;
  d3dx9::ID3DXConstantTable* mPixelTable = nullptr;
  std::string mVertexText;
  std::string mPixelText;
};

}  // namespace render
