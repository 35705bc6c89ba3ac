#pragma once
// ID3DXBuffer over a byte vector.
#include <cstdint>
#include <vector>

#include "Platform/D3DX9/D3DX9Shader.h"

namespace d3dx9 {

class Buffer final : public ID3DXBuffer {
 public:
  explicit Buffer(std::vector<std::uint8_t> bytes) : mBytes(std::move(bytes)) {}

  ULONG AddRef() override { return ++mRefs; }
  ULONG Release() override;
  void* GetBufferPointer() override { return mBytes.data(); }
  DWORD GetBufferSize() override { return static_cast<DWORD>(mBytes.size()); }

 private:
  ULONG mRefs = 1;
  std::vector<std::uint8_t> mBytes;
};

}  // namespace d3dx9
