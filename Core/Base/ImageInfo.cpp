#include "Core/Base/ImageInfo.h"

namespace base {

ImageInfo ImageInfo::ImageInfoWithRect(const std::u16string& name, const int rect[4], int opacity, int index,
                                       bool image, bool rawPixels, float scale) {
  ImageInfo info;
  info.mName = name;
  info.mOpacity = opacity;
  info.mIndex = index;
  info.mImage = image;
  info.mRawPixels = rawPixels;
  info.mScale = scale;
  info.mX = float(rect[0]) * scale;
  info.mY = float(rect[1]) * scale;
  info.mWidth = float(rect[2]) * scale;
  info.mHeight = float(rect[3]) * scale;
  return info;
}

}  // namespace base
