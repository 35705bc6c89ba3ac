#include "Core/Render/ImageLoader.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Render/ImageDataDDS.h"
#include "Core/Render/ImageDataDevil.h"
#include "Core/Render/ImageDataRaw.h"

namespace render {

ImageData* ImageLoader::Load(base::Stream* stream, const std::u16string& extension, const base::ImageInfo* info) {
  // Raw layer pixels need no extension: layers of layered documents are named without one.
  if (extension.empty() && !(info && info->mRawPixels)) return nullptr;
  ImageData* image = nullptr;
  const auto is = [&](const char16_t* candidate) { return extension.compare(0, 4, candidate) == 0; };
  if (info && info->mRawPixels) {
    image = new ImageDataRaw(*info);
  } else if (is(u".dds")) {
    image = new ImageDataDDS;
  } else if (is(u".bmp") || is(u".jpg") || is(u".gif") || is(u".png") || is(u".tga")) {
    image = new ImageDataDevil;
  } else {
    return nullptr;
  }
  if (image->Load(stream, extension) != VN_OK) {
    delete image;
    return nullptr;
  }
  return image;
}

}  // namespace render
