#pragma once
#include <string>

#include "Core/Base/NoCopy.h"
#include "Core/Base/Result.h"

namespace base {
class Stream;
}

namespace render {

class HitMask;

// A decoded (or header-read) image from which a texture is filled. Made by ImageLoader, used
// once by the texture and then deleted by the caller.
class ImageData : public base::NoCopy {
 public:
  enum Format {
    kFormatARGB = 0,  // 32-bit words 0xAARRGGBB, little-endian
    kFormatDXT1 = 1,
    kFormatDXT3 = 2,
    kFormatDXT5 = 3,
  };

  virtual ~ImageData() = default;

  // Reads the header or the whole image. The stream must outlive the decoder.
  virtual VNResultEnum Load(base::Stream* stream, const std::u16string& extension) = 0;
  // Writes level 0 into locked texture memory (pitch = bytes between pixel rows, or between
  // rows of 4x4 blocks for the DXT formats) and sets the hit-mask bits of the solid pixels.
  // The mask must hold width * height clear bits. The reserved arguments are 0 and ignored.
  virtual VNResultEnum CopyTo(int pitch, int reserved, void* destination, HitMask* hitMask,
                              int reserved2) = 0;
  // Writes mip level 1 .. mMipLevels - 1 into that level's own locked memory, after CopyTo.
  virtual VNResultEnum CopyLevelTo(int level, int pitch, void* destination);
  // width * height * 4
  virtual unsigned GetDataSize();

  int mWidth = 0;
  int mHeight = 0;
  int mBytesPerPixel = 0;  // 4 for every decoder after loading
  int mMipLevels = 1;
  int mFormat = kFormatARGB;
};

}  // namespace render
