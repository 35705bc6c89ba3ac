#pragma once
#include <string>

#include "Core/Base/Result.h"

namespace base {

class Stream;

// Bytes between the stream's position and its size.
unsigned BytesLeft(Stream* stream);

// A u32 byte count, then that many bytes. 1 on a short read or a count beyond the bytes left;
// the string is then empty.
VNResultEnum ReadString(Stream* stream, std::string& text);

// A little-endian u32 or f32; 1 on a short read.
VNResultEnum ReadU32(Stream* stream, unsigned& value);
VNResultEnum ReadF32(Stream* stream, float& value);

}  // namespace base
