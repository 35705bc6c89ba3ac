#pragma once
// Small image files built in memory for the decoder tests.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/MemoryStream.h"

namespace testimages {

using Bytes = std::vector<uint8_t>;

inline void PutU32(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// A DDS file: magic, 124-byte header, then data. fourCC null = no four-character-code flag.
inline Bytes MakeDds(uint32_t width, uint32_t height, uint32_t mipCount, const char* fourCC, const Bytes& data,
                     const char* magic = "DDS ") {
  Bytes bytes(128 + data.size());
  std::copy(data.begin(), data.end(), bytes.begin() + 128);
  std::memcpy(bytes.data(), magic, 4);
  PutU32(bytes, 4, 124);
  PutU32(bytes, 4 + 8, height);
  PutU32(bytes, 4 + 12, width);
  PutU32(bytes, 4 + 24, mipCount);
  PutU32(bytes, 4 + 72, 32);
  if (fourCC) {
    PutU32(bytes, 4 + 76, 4);
    std::memcpy(&bytes[4 + 80], fourCC, 4);
  } else {
    PutU32(bytes, 4 + 76, 0x41);  // RGB | alpha pixels
    PutU32(bytes, 4 + 84, 32);
  }
  return bytes;
}

// An uncompressed 32-bit TGA; pixels given top row first as B, G, R, A bytes.
inline Bytes MakeTga(int width, int height, bool bottomUp, const Bytes& topDownBgra) {
  Bytes bytes(18);
  bytes[2] = 2;  // true-colour, uncompressed
  bytes[12] = uint8_t(width);
  bytes[13] = uint8_t(width >> 8);
  bytes[14] = uint8_t(height);
  bytes[15] = uint8_t(height >> 8);
  bytes[16] = 32;
  bytes[17] = uint8_t(8 | (bottomUp ? 0 : 0x20));  // 8 alpha bits; bit 5 = top-left origin
  for (int row = 0; row < height; ++row) {
    const int source = bottomUp ? height - 1 - row : row;
    bytes.insert(bytes.end(), topDownBgra.begin() + source * width * 4, topDownBgra.begin() + (source + 1) * width * 4);
  }
  return bytes;
}

// A 24-bit BMP (rows stored bottom-up, padded to 4 bytes); pixels given top row first as B, G, R.
inline Bytes MakeBmp(int width, int height, const Bytes& topDownBgr) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  Bytes bytes(54 + size_t(rowBytes) * height);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutU32(bytes, 2, uint32_t(bytes.size()));
  PutU32(bytes, 10, 54);
  PutU32(bytes, 14, 40);
  PutU32(bytes, 18, uint32_t(width));
  PutU32(bytes, 22, uint32_t(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int row = 0; row < height; ++row) {
    std::copy(topDownBgr.begin() + row * width * 3, topDownBgr.begin() + (row + 1) * width * 3,
              bytes.begin() + 54 + (height - 1 - row) * rowBytes);
  }
  return bytes;
}

// A PNG written by DevIL; pixels given top row first as R, G, B, A bytes.
Bytes MakePng(int width, int height, const Bytes& topDownRgba);

inline std::unique_ptr<base::Stream> StreamOf(const Bytes& bytes) {
  return std::unique_ptr<base::Stream>(new base::MemoryStream(bytes.data(), unsigned(bytes.size())));
}

}  // namespace testimages
