#pragma once
#include <string>

namespace base {

// Description of one image or layout layer: where it is placed and where its pixels are.
class ImageInfo {
 public:
  ImageInfo() = default;
  ImageInfo(const ImageInfo&) = default;
  ImageInfo& operator=(const ImageInfo&) = default;
  virtual ~ImageInfo() = default;

  // Rectangle = the integer rectangle (x, y, width, height) times scale; no atlas.
  static ImageInfo ImageInfoWithRect(const std::u16string& name, const int rect[4], int opacity, int index,
                                     bool image, bool rawPixels, float scale);

  std::u16string mName;       // layer name with its folder path
  int mOpacity = 255;         // 0..255
  int mIndex = 0;             // layer index given by the layout
  bool mImage = true;         // the layer has pixels of its own
  bool mRawPixels = false;    // pixels are 32-bit ARGB words in the layer stream
  bool mInAtlas = false;      // pixels lie in a shared atlas image
  std::u16string mAtlasPath;  // full path of the atlas image
  float mTextureU = 0.0f;     // the layer's part of the atlas, in texture coordinates
  float mTextureV = 0.0f;
  float mTextureWidth = 1.0f;
  float mTextureHeight = 1.0f;
  float mScale = 1.0f;        // factor applied to the rectangle
  float mX = 0.0f;            // placement in layout coordinates (pixels * scale)
  float mY = 0.0f;
  float mWidth = 0.0f;
  float mHeight = 0.0f;
};

}  // namespace base
