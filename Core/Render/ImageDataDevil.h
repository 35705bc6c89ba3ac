#pragma once
#include "Core/Render/ImageData.h"

namespace render {

// Decoder of BMP, JPEG, GIF, PNG and TGA files through DevIL. DevIL is initialised by Load and
// shut down once the pixels are copied, or when the decoder is deleted without copying.
// Pixels are solid when alpha >= 50.
class ImageDataDevil : public ImageData {
 public:
  ~ImageDataDevil() override;

  VNResultEnum Load(base::Stream* stream, const std::u16string& extension) override;
  VNResultEnum CopyTo(int pitch, int reserved, void* destination, HitMask* hitMask, int reserved2) override;

 private:
  void ReleaseImage();

  base::Stream* mStream = nullptr;
  std::u16string mExtension;
  bool mOriginLowerLeft = false;
  const unsigned char* mPixels = nullptr;  // DevIL's, valid while the image lives
  unsigned mImageName = 0;
  bool mInitialised = false;
};

}  // namespace render
