#pragma once
#include "Core/Render/ImageData.h"

namespace render {

// Reader of DDS files holding DXT1, DXT3 or DXT5 blocks, or 32-bit ARGB pixels when the pixel
// format has no four-character code. Blocks go to the texture as stored; only their alpha is
// decoded, for the hit mask (solid when alpha > 10).
class ImageDataDDS : public ImageData {
 public:
  static const int kMaxSide = 16384;  // larger sides are refused as corrupt

  VNResultEnum Load(base::Stream* stream, const std::u16string& extension) override;
  VNResultEnum CopyTo(int pitch, int reserved, void* destination, HitMask* hitMask, int reserved2) override;
  VNResultEnum CopyLevelTo(int level, int pitch, void* destination) override;

 private:
  struct Level {
    unsigned rowBytes;  // one row of pixels, or of 4x4 blocks
    unsigned rows;
    unsigned offset;    // from the start of the file
  };

  Level GetLevel(int level) const;
  VNResultEnum ReadLevel(int level, int pitch, void* destination);
  void FillHitMask(const uint8_t* level0, int pitch, HitMask* hitMask) const;

  base::Stream* mStream = nullptr;
  unsigned mDataSize = 0;  // bytes after the 128-byte header
};

}  // namespace render
