// Feeds arbitrary bytes to the DDS reader and copies every level it accepts into memory of exactly
// the level's size, so that any write past a level shows up under AddressSanitizer.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageDataDDS.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  base::MemoryStream stream(data, unsigned(size));
  render::ImageDataDDS image;
  if (image.Load(&stream, u".dds") != VN_OK) return 0;

  render::HitMask mask(unsigned(image.mWidth) * unsigned(image.mHeight));
  for (int level = 0; level < image.mMipLevels; ++level) {
    const unsigned w = std::max(unsigned(image.mWidth) >> level, 1u);
    const unsigned h = std::max(unsigned(image.mHeight) >> level, 1u);
    const bool blocks = image.mFormat != render::ImageData::kFormatARGB;
    const unsigned pitch = blocks ? (w + 3) / 4 * (image.mFormat == render::ImageData::kFormatDXT1 ? 8 : 16) : w * 4;
    const unsigned rows = blocks ? (h + 3) / 4 : h;
    std::vector<uint8_t> memory(size_t(pitch) * rows);
    if (level == 0) {
      image.CopyTo(int(pitch), 0, memory.data(), &mask, 0);
    } else {
      image.CopyLevelTo(level, int(pitch), memory.data());
    }
  }
  return 0;
}
