#include "Core/Render/ImageDataRaw.h"

#include <cstdint>
#include <cstring>

#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"

namespace render {

namespace {
const uint32_t kRawSolidAlpha = 10;  // solid from this value on
}

VNResultEnum ImageDataRaw::Load(base::Stream* stream, const std::u16string& /*extension*/) {
  mStream = stream;
  mWidth = int(mInfo.mWidth);
  mHeight = int(mInfo.mHeight);
  mBytesPerPixel = 4;
  return stream && mWidth >= 0 && mHeight >= 0 ? VN_OK : VN_FAIL;
}

VNResultEnum ImageDataRaw::CopyTo(int pitch, int /*reserved*/, void* destination, HitMask* hitMask, int /*reserved2*/) {
  if (!mStream || !destination || pitch < mWidth * 4) return VN_FAIL;
  auto* row = static_cast<uint8_t*>(destination);
  for (int y = 0; y < mHeight; ++y, row += pitch) {
    for (int x = 0; x < mWidth; ++x) {
      uint8_t bytes[4];
      if (mStream->Read(bytes, 4) != 4) return VN_FAIL;
      std::memcpy(row + x * 4, bytes, 4);
      if (hitMask) hitMask->Set(bytes[3] >= kRawSolidAlpha, unsigned(x + y * mWidth));
    }
  }
  return VN_OK;
}

}  // namespace render
