#include "Core/Base/ReadString.h"

#include <cstring>

#include "Core/Base/Stream.h"

namespace base {

unsigned BytesLeft(Stream* stream) {
  const unsigned size = stream->GetSize();
  const unsigned position = stream->Seek(0, Stream::kCurrent);
  return size > position ? size - position : 0;
}

VNResultEnum ReadString(Stream* stream, std::string& text) {
  text.clear();
  unsigned count = 0;
  if (ReadU32(stream, count) != VN_OK) return VN_FAIL;
  // A count from the file is trusted only as far as the file reaches.
  if (count > BytesLeft(stream)) return VN_FAIL;
  text.resize(count);
  if (count != 0 && stream->Read(&text[0], count) != count) {
    text.clear();
    return VN_FAIL;
  }
  return VN_OK;
}

VNResultEnum ReadU32(Stream* stream, unsigned& value) {
  unsigned char bytes[4];
  if (stream->Read(bytes, 4) != 4) return VN_FAIL;
  value = unsigned(bytes[0]) | unsigned(bytes[1]) << 8 | unsigned(bytes[2]) << 16 | unsigned(bytes[3]) << 24;
  return VN_OK;
}

VNResultEnum ReadF32(Stream* stream, float& value) {
  unsigned bits = 0;
  if (ReadU32(stream, bits) != VN_OK) return VN_FAIL;
  std::memcpy(&value, &bits, sizeof(value));
  return VN_OK;
}

}  // namespace base
