#include "Core/Render/ImageDataDevil.h"

#include <IL/il.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"

namespace render {

namespace {

const int kDevilSolidAlpha = 50;  // solid from this value on

ILenum TypeFromExtension(const std::u16string& extension) {
  if (extension.empty() || extension[0] != u'.') return IL_TYPE_UNKNOWN;
  const std::u16string name = extension.substr(1);
  if (name == u"bmp") return IL_BMP;
  if (name == u"dds") return IL_DDS;
  if (name == u"gif") return IL_GIF;
  if (name == u"jpg") return IL_JPG;
  if (name == u"png") return IL_PNG;
  if (name == u"tga") return IL_TGA;
  return IL_TYPE_UNKNOWN;  // DevIL detects the type
}

// Reads DevIL's whole error queue, so no error is left behind for a later image.
bool Failed(ILboolean succeeded) {
  bool failed = !succeeded;
  while (ilGetError() != IL_NO_ERROR) failed = true;
  return failed;
}

}  // namespace

ImageDataDevil::~ImageDataDevil() { ReleaseImage(); }

void ImageDataDevil::ReleaseImage() {
  if (!mInitialised) return;
  if (mImageName) ilDeleteImages(1, &mImageName);
  ilShutDown();
  mImageName = 0;
  mPixels = nullptr;
  mInitialised = false;
}

VNResultEnum ImageDataDevil::Load(base::Stream* stream, const std::u16string& extension) {
  ilInit();
  mInitialised = true;
  Failed(IL_TRUE);  // errors of earlier users of the library are not ours
  mStream = stream;
  mExtension = extension;
  ilGenImages(1, &mImageName);
  ilBindImage(mImageName);

  if (!stream) return VN_FAIL;
  std::vector<uint8_t> buffer(stream->GetSize());
  buffer.resize(stream->Read(buffer.data(), unsigned(buffer.size())));

  if (Failed(ilLoadL(TypeFromExtension(extension), buffer.data(), ILuint(buffer.size())))) return VN_FAIL;
  if (Failed(ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE))) return VN_FAIL;

  mWidth = ilGetInteger(IL_IMAGE_WIDTH);
  mHeight = ilGetInteger(IL_IMAGE_HEIGHT);
  mBytesPerPixel = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
  mOriginLowerLeft = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
  mPixels = ilGetData();
  if (Failed(IL_TRUE) || !mPixels || mWidth <= 0 || mHeight <= 0 || mBytesPerPixel < 3) {
    return VN_FAIL;
  }
  return VN_OK;
}

VNResultEnum ImageDataDevil::CopyTo(int pitch, int /*reserved*/, void* destination, HitMask* hitMask, int /*reserved2*/) {
  if (!mPixels || !destination || pitch < mWidth * 4) return VN_FAIL;
  auto* row = static_cast<uint8_t*>(destination);
  for (int y = 0; y < mHeight; ++y, row += pitch) {
    const int sourceRow = mOriginLowerLeft ? mHeight - 1 - y : y;
    const unsigned char* source = mPixels + size_t(sourceRow) * mWidth * mBytesPerPixel;
    for (int x = 0; x < mWidth; ++x, source += mBytesPerPixel) {
      const uint32_t a = mBytesPerPixel == 4 ? source[3] : 0xFF;
      const uint32_t word = a << 24 | uint32_t(source[0]) << 16 | uint32_t(source[1]) << 8 | source[2];
      std::memcpy(row + x * 4, &word, 4);
      if (hitMask) hitMask->Set(a >= kDevilSolidAlpha, unsigned(x + y * mWidth));
    }
  }
  ReleaseImage();
  return VN_OK;
}

}  // namespace render
