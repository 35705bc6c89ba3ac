#pragma once
#include <cstdint>

#include "Core/Base/NoCopy.h"

namespace render {

// One bit per texture pixel: set when the pixel is solid enough to take a mouse hit.
// Pixel (x, y) is bit x + y * width, rows from the top; bit i is bit i % 8 of byte i / 8.
class HitMask : public base::NoCopy {
 public:
  explicit HitMask(unsigned count = 0);
  ~HitMask();

  // New storage of count bits (none for 0); with keep, the old bytes up to the smaller size
  // are kept, the rest is clear.
  void Resize(unsigned count, bool keep);
  // Index must be below GetCount().
  void Set(bool value, unsigned index);
  // False outside the mask.
  bool Test(unsigned index) const;
  unsigned GetCount() const { return mCount; }

 private:
  static unsigned ByteCount(unsigned count) { return count ? (count - 1) / 8 + 1 : 0; }

  uint8_t* mBits = nullptr;
  unsigned mCount = 0;
};

}  // namespace render
