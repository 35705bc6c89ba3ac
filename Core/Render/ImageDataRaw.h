#pragma once
#include "Core/Base/ImageInfo.h"
#include "Core/Render/ImageData.h"

namespace render {

// Pixels of a layered-document layer: 32-bit little-endian ARGB words in the layer stream, size
// from the layer's description. Solid when alpha >= 10.
class ImageDataRaw : public ImageData {
 public:
  explicit ImageDataRaw(const base::ImageInfo& info) : mInfo(info) {}

  VNResultEnum Load(base::Stream* stream, const std::u16string& extension) override;
  VNResultEnum CopyTo(int pitch, int reserved, void* destination, HitMask* hitMask, int reserved2) override;

 private:
  base::ImageInfo mInfo;
  base::Stream* mStream = nullptr;
};

}  // namespace render
