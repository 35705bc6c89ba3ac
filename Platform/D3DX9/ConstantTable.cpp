#include "Platform/D3DX9/ConstantTable.h"

#include <cstring>
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

}  // namespace d3dx9
