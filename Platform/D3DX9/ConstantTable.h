#pragma once
// ID3DXConstantTable of one compiled stage.
#include <vector>

#include "Platform/D3D9/RefCounted.h"
#include "Platform/D3DX9/HlslCompiler.h"

namespace d3dx9 {

class ConstantTable final : public d3d9::RefCounted<ID3DXConstantTable> {
 public:
  ConstantTable(ShaderStage stage, std::vector<ShaderConstant> constants);

  D3DXHANDLE GetConstantByName(D3DXHANDLE parent, LPCSTR name) override;
  HRESULT GetConstantDesc(D3DXHANDLE constant, D3DXCONSTANT_DESC* desc, UINT* count) override;
  HRESULT SetMatrix(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, const D3DXMATRIX* matrix) override;
  HRESULT SetVector(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, const D3DXVECTOR4* vector) override;
  HRESULT SetFloat(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, float value) override;

 private:
  // The constant behind a handle of this table, or null.
  const ShaderConstant* Find(D3DXHANDLE handle) const;
  // Writes up to `count` registers of a float constant.
  HRESULT SetRegisters(d3d9::IDirect3DDevice9* device, D3DXHANDLE handle, const float* data, UINT count);

  ShaderStage mStage;
  std::vector<ShaderConstant> mConstants;
};

}  // namespace d3dx9
