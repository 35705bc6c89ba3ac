#include "Core/Render/DX9/ShaderVariableImplDX9.h"

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/ShaderImplDX9.h"
#include "Core/Render/DX9/TextureDX9.h"

namespace render {

namespace {

VNResultEnum ShaderVariableResult(d3d9::HRESULT result) { return result == d3d9::D3D_OK ? VN_OK : VN_FAIL; }

}  // namespace

ShaderScalarVariableImplDX9::ShaderScalarVariableImplDX9(ShaderImplDX9* program, int kind, const char* name)
    : mTable(program->GetConstantTable(kind)), mProgram(program) {
  if (mTable != nullptr) mHandle = mTable->GetConstantByName(nullptr, name);
}

VNResultEnum ShaderScalarVariableImplDX9::SetMatrix(const math::Matrix4* matrix) {
  if (matrix == nullptr) return VN_FAIL;
  // Both are 16 floats row by row for row vectors.
  d3dx9::D3DXMATRIX value;
  for (int i = 0; i < 16; ++i) value.m[i / 4][i % 4] = matrix->m[i];
  return ShaderVariableResult(mTable->SetMatrix(mProgram->GetBackEnd()->GetDevice(), mHandle, &value));
}

VNResultEnum ShaderScalarVariableImplDX9::SetVector(float x, float y, float z, float w) {
  const d3dx9::D3DXVECTOR4 value = {x, y, z, w};
  return ShaderVariableResult(mTable->SetVector(mProgram->GetBackEnd()->GetDevice(), mHandle, &value));
}

VNResultEnum ShaderScalarVariableImplDX9::SetVector4(const math::Point4& value) {
  return SetVector(value.x, value.y, value.z, value.w);
}

VNResultEnum ShaderScalarVariableImplDX9::SetVector3(const math::Point3& value) {
  return SetVector(value.x, value.y, value.z, 1.0f);
}

VNResultEnum ShaderScalarVariableImplDX9::SetVector2(const math::Point2& value) {
  return SetVector(value.x, value.y, 0.0f, 1.0f);
}

VNResultEnum ShaderScalarVariableImplDX9::SetFloat(float value) {
  return ShaderVariableResult(mTable->SetFloat(mProgram->GetBackEnd()->GetDevice(), mHandle, value));
}

ShaderTextureVariableImplDX9::ShaderTextureVariableImplDX9(ShaderImplDX9* program, const char* name)
    : mProgram(program) {
  d3dx9::ID3DXConstantTable* table = program->GetConstantTable(1);
  if (table == nullptr) return;
  d3d9::UINT count = 1;
  mValid = table->GetConstantDesc(table->GetConstantByName(nullptr, name), &mDesc, &count) == d3d9::D3D_OK &&
           mDesc.RegisterSet == d3dx9::D3DXRS_SAMPLER;
}

VNResultEnum ShaderTextureVariableImplDX9::SetTexture(Texture* texture) {
  d3d9::IDirect3DTexture9* deviceTexture =
      texture != nullptr ? static_cast<TextureDX9*>(texture)->GetDeviceTexture() : nullptr;
  return ShaderVariableResult(mProgram->GetBackEnd()->GetDevice()->SetTexture(mDesc.RegisterIndex, deviceTexture));
}

}  // namespace render
