#pragma once
// The Direct3D 9 setters of shader variables: a float constant or a sampler of a compiled program,
// set through its constant table or the sampler's texture stage.
#include "Core/Render/ShaderVariableImpl.h"
#include "Platform/D3DX9/D3DX9Shader.h"

namespace render {

class ShaderImplDX9;

class ShaderScalarVariableImplDX9 : public ShaderScalarVariableImpl {
 public:
  // Finds the constant in the program's vertex (kind 0) or pixel (kind 1) table.
  ShaderScalarVariableImplDX9(ShaderImplDX9* program, int kind, const char* name);
  // The program has the constant.
  bool IsValid() const { return mHandle != nullptr; }

  VNResultEnum SetMatrix(const math::Matrix4* matrix) override;
  VNResultEnum SetVector4(const math::Point4& value) override;
  VNResultEnum SetVector3(const math::Point3& value) override;
  VNResultEnum SetVector2(const math::Point2& value) override;
  VNResultEnum SetFloat(float value) override;

 private:
  VNResultEnum SetVector(float x, float y, float z, float w);

  d3dx9::ID3DXConstantTable* mTable;  // owned by the program
  d3dx9::D3DXHANDLE mHandle = nullptr;
  ShaderImplDX9* mProgram;
};

class ShaderTextureVariableImplDX9 : public ShaderTextureVariableImpl {
 public:
  // Finds the sampler in the program's pixel table; its register is the texture stage.
  ShaderTextureVariableImplDX9(ShaderImplDX9* program, const char* name);
  // The program has the sampler.
  bool IsValid() const { return mValid; }

  // A null texture empties the stage.
  VNResultEnum SetTexture(Texture* texture) override;

 private:
  ShaderImplDX9* mProgram;
  d3dx9::D3DXCONSTANT_DESC mDesc = {};  // RegisterIndex: the texture stage
  bool mValid = false;
};

}  // namespace render
