#include "Core/Render/ImageDataDDS.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"

namespace render {

namespace {

const unsigned kHeaderSize = 128;  // magic + header
const uint32_t kFourCCFlag = 4;
const int kDdsSolidAlpha = 10;        // solid when above

uint32_t ReadU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

unsigned BlockSize(int format) { return format == ImageData::kFormatDXT1 ? 8 : 16; }

// The 16 alpha values of one 4x4 block, row by row, by the S3TC rules.
void DecodeBlockAlpha(int format, const uint8_t* block, uint8_t alpha[16]) {
  switch (format) {
    case ImageData::kFormatDXT1: {
      const bool threeColour = ReadU16(block) <= ReadU16(block + 2);
      const uint32_t indices = ReadU32(block + 4);
      for (int i = 0; i < 16; ++i) alpha[i] = threeColour && ((indices >> (2 * i)) & 3) == 3 ? 0 : 255;
      break;
    }
    case ImageData::kFormatDXT3:
      for (int i = 0; i < 16; ++i) alpha[i] = uint8_t(((block[i / 2] >> (4 * (i % 2))) & 15) * 17);
      break;
    case ImageData::kFormatDXT5: {
      const int a0 = block[0];
      const int a1 = block[1];
      uint8_t palette[8] = {uint8_t(a0), uint8_t(a1)};
      if (a0 > a1) {
        for (int k = 1; k <= 6; ++k) palette[k + 1] = uint8_t(((7 - k) * a0 + k * a1) / 7);
      } else {
        for (int k = 1; k <= 4; ++k) palette[k + 1] = uint8_t(((5 - k) * a0 + k * a1) / 5);
        palette[6] = 0;
        palette[7] = 255;
      }
      uint64_t indices = 0;
      for (int b = 0; b < 6; ++b) indices |= uint64_t(block[2 + b]) << (8 * b);
      for (int i = 0; i < 16; ++i) alpha[i] = palette[(indices >> (3 * i)) & 7];
      break;
    }
    default:
      std::memset(alpha, 255, 16);
      break;
  }
}

}  // namespace

VNResultEnum ImageDataDDS::Load(base::Stream* stream, const std::u16string& /*extension*/) {
  mStream = stream;
  uint8_t magic[4];
  if (!stream || stream->Read(magic, 4) != 4 || std::memcmp(magic, "DDS ", 4) != 0) return VN_FAIL;
  uint8_t header[124];
  if (stream->Read(header, sizeof(header)) != sizeof(header)) return VN_FAIL;

  const uint32_t height = ReadU32(header + 8);
  const uint32_t width = ReadU32(header + 12);
  const uint32_t mipCount = std::max<uint32_t>(ReadU32(header + 24), 1);
  const uint32_t flags = ReadU32(header + 76);  // the pixel format record starts at 72
  const uint8_t* fourCC = header + 80;

  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return VN_FAIL;
  mWidth = int(width);
  mHeight = int(height);
  mBytesPerPixel = 4;
  const unsigned size = stream->GetSize();
  mDataSize = size > kHeaderSize ? size - kHeaderSize : 0;

  if (flags & kFourCCFlag) {
    if (std::memcmp(fourCC, "DXT1", 4) == 0) {
      mFormat = kFormatDXT1;
    } else if (std::memcmp(fourCC, "DXT3", 4) == 0) {
      mFormat = kFormatDXT3;
    } else if (std::memcmp(fourCC, "DXT5", 4) == 0) {
      mFormat = kFormatDXT5;
    } else {
      return VN_FAIL;
    }
  } else {
    mFormat = kFormatARGB;
  }

  // Only levels that the file really holds and the chain down to 1x1 allows are created.
  mMipLevels = 0;
  for (uint32_t level = 0; level < mipCount && (std::max(width, height) >> level) > 0; ++level) {
    const Level l = GetLevel(int(level));
    if (uint64_t(l.offset) + uint64_t(l.rowBytes) * l.rows > uint64_t(kHeaderSize) + mDataSize) break;
    mMipLevels = int(level) + 1;
  }
  return mMipLevels > 0 ? VN_OK : VN_FAIL;  // shorter than level 0
}

ImageDataDDS::Level ImageDataDDS::GetLevel(int level) const {
  Level result = {0, 0, kHeaderSize};
  for (int i = 0; i <= level; ++i) {
    result.offset += result.rowBytes * result.rows;
    const unsigned w = std::max(unsigned(mWidth) >> i, 1u);
    const unsigned h = std::max(unsigned(mHeight) >> i, 1u);
    if (mFormat == kFormatARGB) {
      result.rowBytes = w * 4;
      result.rows = h;
    } else {
      result.rowBytes = (w + 3) / 4 * BlockSize(mFormat);
      result.rows = (h + 3) / 4;
    }
  }
  return result;
}

VNResultEnum ImageDataDDS::ReadLevel(int level, int pitch, void* destination) {
  if (!mStream || level < 0 || level >= mMipLevels || !destination) return VN_FAIL;
  const Level l = GetLevel(level);
  if (pitch < 0 || unsigned(pitch) < l.rowBytes) return VN_FAIL;
  if (mStream->Seek(int(l.offset), base::Stream::kBegin) != l.offset) return VN_FAIL;
  auto* row = static_cast<uint8_t*>(destination);
  for (unsigned y = 0; y < l.rows; ++y, row += pitch) {
    if (mStream->Read(row, l.rowBytes) != l.rowBytes) return VN_FAIL;
  }
  return VN_OK;
}

VNResultEnum ImageDataDDS::CopyTo(int pitch, int /*reserved*/, void* destination, HitMask* hitMask, int /*reserved2*/) {
  const VNResultEnum result = ReadLevel(0, pitch, destination);
  if (result == VN_OK && hitMask) FillHitMask(static_cast<const uint8_t*>(destination), pitch, hitMask);
  return result;
}

VNResultEnum ImageDataDDS::CopyLevelTo(int level, int pitch, void* destination) {
  return level > 0 ? ReadLevel(level, pitch, destination) : VN_FAIL;
}

void ImageDataDDS::FillHitMask(const uint8_t* level0, int pitch, HitMask* hitMask) const {
  if (mFormat == kFormatARGB) {
    for (int y = 0; y < mHeight; ++y) {
      const uint8_t* row = level0 + size_t(y) * pitch;
      for (int x = 0; x < mWidth; ++x) hitMask->Set(row[x * 4 + 3] > kDdsSolidAlpha, unsigned(x + y * mWidth));
    }
    return;
  }
  // Partial blocks at the right and bottom edges are decoded too; their outside pixels are skipped.
  const int blocksAcross = (mWidth + 3) / 4;
  const int blocksDown = (mHeight + 3) / 4;
  uint8_t alpha[16];
  for (int by = 0; by < blocksDown; ++by) {
    const uint8_t* row = level0 + size_t(by) * pitch;
    for (int bx = 0; bx < blocksAcross; ++bx) {
      DecodeBlockAlpha(mFormat, row + size_t(bx) * BlockSize(mFormat), alpha);
      for (int i = 0; i < 16; ++i) {
        const int x = bx * 4 + i % 4;
        const int y = by * 4 + i / 4;
        if (x < mWidth && y < mHeight) hitMask->Set(alpha[i] > kDdsSolidAlpha, unsigned(x + y * mWidth));
      }
    }
  }
}

}  // namespace render
