#include "Core/Render/HitMask.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace render {

HitMask::HitMask(unsigned count) { Resize(count, false); }

HitMask::~HitMask() { delete[] mBits; }

void HitMask::Resize(unsigned count, bool keep) {
  uint8_t* bits = count ? new uint8_t[ByteCount(count)]() : nullptr;
  if (keep && bits && mBits) std::memcpy(bits, mBits, std::min(ByteCount(count), ByteCount(mCount)));
  delete[] mBits;
  mBits = bits;
  mCount = count;
}

void HitMask::Set(bool value, unsigned index) {
  assert(index < mCount && "HitMask::Set: index past the mask; Resize it to width * height first");
  if (index >= mCount) return;
  const uint8_t bit = uint8_t(1u << (index % 8));
  if (value) {
    mBits[index / 8] |= bit;
  } else {
    mBits[index / 8] &= uint8_t(~bit);
  }
}

bool HitMask::Test(unsigned index) const {
  return index < mCount && (mBits[index / 8] >> (index % 8)) & 1;
}

}  // namespace render
