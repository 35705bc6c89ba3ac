#pragma once
#include <cstdint>
#include <cstring>

#include "Core/Base/MemoryStream.h"

namespace render {

// Opcodes of the records in a command buffer. 15 is unused; playback skips unknown values.
enum class Command : uint32_t {
  kClear = 0,
  kBeginScene = 1,
  kEndScene = 2,
  kPresent = 3,
  kSetRenderTarget = 4,
  kSetBackBuffer = 5,
  kSetShader = 6,
  kShaderVariables = 7,
  kVertexFormat = 8,
  kVertexBuffer = 9,
  kIndexBuffer = 10,
  kBlendMode = 11,
  kScissorEnable = 12,
  kScissorRect = 13,
  kDepthState = 14,
  kDraw = 16,
  kDrawIndexed = 17,
  kEndOfStream = 18,
};

// One frame of recorded device work: records of an opcode and plain arguments, packed without
// padding, pointers in native width. Grows by half (or by what a write needs plus 1 KiB) and never
// shrinks, so a frame that fits once records without allocating again.
class CommandBuffer : public base::MemoryStream {
 public:
  void Resize(unsigned neededSize, bool keep) override;

  // Appends the values as one record; false on a short write.
  template <class... Values>
  bool Put(const Values&... values) {
    unsigned char bytes[(sizeof(Values) + ...)];
    unsigned char* at = bytes;
    ((std::memcpy(at, &values, sizeof(Values)), at += sizeof(Values)), ...);
    return Write(bytes, sizeof bytes) == sizeof bytes;
  }

  // Reads the values written by the matching Put; false on a short read.
  template <class... Values>
  bool Get(Values&... values) {
    unsigned char bytes[(sizeof(Values) + ...)];
    if (Read(bytes, sizeof bytes) != sizeof bytes) return false;
    const unsigned char* at = bytes;
    ((std::memcpy(&values, at, sizeof(Values)), at += sizeof(Values)), ...);
    return true;
  }
};

}  // namespace render
