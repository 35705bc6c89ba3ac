#include "Platform/D3DX9/ConstantTable.h"

#include <algorithm>
#include <utility>

namespace d3dx9 {

ConstantTable::ConstantTable(ShaderStage stage, std::vector<ShaderConstant> constants)
    : mStage(stage), mConstants(std::move(constants)) {
  for (ShaderConstant& constant : mConstants) constant.desc.Name = constant.name.c_str();
}

// A handle is the address of the constant's record inside this table.
D3DXHANDLE ConstantTable::GetConstantByName(D3DXHANDLE parent, LPCSTR name) {
  if (parent != nullptr || name == nullptr) return nullptr;
  for (const ShaderConstant& constant : mConstants) {
    if (constant.name == name) return reinterpret_cast<D3DXHANDLE>(&constant);
  }
  return nullptr;
}

const ShaderConstant* ConstantTable::Find(D3DXHANDLE handle) const {
  for (const ShaderConstant& constant : mConstants) {
    if (reinterpret_cast<D3DXHANDLE>(&constant) == handle) return &constant;
  }
  return nullptr;
}

HRESULT ConstantTable::GetConstantDesc(D3DXHANDLE constant, D3DXCONSTANT_DESC* desc, UINT* count) {
  const ShaderConstant* found = Find(constant);
  if (found == nullptr || desc == nullptr || count == nullptr || *count == 0) return D3DERR_INVALIDCALL;
  *desc = found->desc;
  *count = 1;
  return D3D_OK;
}


HRESULT ConstantTable::SetRegisters(d3d9::IDirect3DDevice9* device, D3DXHANDLE handle, const float* data,
                                    UINT count) {
  const ShaderConstant* constant = Find(handle);
  if (device == nullptr || constant == nullptr || constant->desc.RegisterSet != D3DXRS_FLOAT4) {
    return D3DERR_INVALIDCALL;
  }
  const UINT written = std::min(count, constant->desc.RegisterCount);
  const UINT start = constant->desc.RegisterIndex;
  return mStage == ShaderStage::kVertex ? device->SetVertexShaderConstantF(start, data, written)
                                        : device->SetPixelShaderConstantF(start, data, written);
}

HRESULT ConstantTable::SetMatrix(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, const D3DXMATRIX* matrix) {
  const ShaderConstant* found = Find(constant);
  if (matrix == nullptr || found == nullptr) return D3DERR_INVALIDCALL;
  D3DXMATRIX registers = *matrix;
  if (found->desc.Class == D3DXPC_MATRIX_COLUMNS) {
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) registers.m[c][r] = matrix->m[r][c];
    }
  }
  return SetRegisters(device, constant, &registers.m[0][0], 4);
}

HRESULT ConstantTable::SetVector(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, const D3DXVECTOR4* vector) {
  if (vector == nullptr) return D3DERR_INVALIDCALL;
  const float value[4] = {vector->x, vector->y, vector->z, vector->w};
  return SetRegisters(device, constant, value, 1);
}

HRESULT ConstantTable::SetFloat(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, float value) {
  const float registers[4] = {value, 0.0f, 0.0f, 0.0f};
  return SetRegisters(device, constant, registers, 1);
}

}  // namespace d3dx9
