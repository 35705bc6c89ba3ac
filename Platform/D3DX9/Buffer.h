#pragma once
// ID3DXBuffer over a byte vector.
#include <cstdint>
#include <utility>
#include <vector>

#include "Platform/D3D9/RefCounted.h"
#include "Platform/D3DX9/D3DX9Shader.h"

namespace d3dx9 {

class Buffer final : public d3d9::RefCounted<ID3DXBuffer> {
 public:
  explicit Buffer(std::vector<std::uint8_t> bytes) : mBytes(std::move(bytes)) {}

  void* GetBufferPointer() override { return mBytes.data(); }
  DWORD GetBufferSize() override { return static_cast<DWORD>(mBytes.size()); }

 private:
  std::vector<std::uint8_t> mBytes;
};

}  // namespace d3dx9
