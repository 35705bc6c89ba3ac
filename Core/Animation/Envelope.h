#pragma once
#include <cstdint>
#include <vector>

#include "Core/Base/Result.h"

namespace base {
class Stream;
}

namespace animation {

// One key of an envelope; also its 36-byte file form.
struct EnvelopeKey {
  enum Shape : std::uint32_t { kTcb = 0, kHermite = 1, kBezier = 2, kLinear = 3, kStepped = 4, kBezier2 = 5 };

  float value = 0.0f;
  float time = 0.0f;
  std::uint32_t shape = 0;
  // TCB: tension, continuity, bias. Hermite and Bezier: incoming, outgoing tangent. Bezier2:
  // incoming time and value offsets, outgoing time and value offsets.
  float p[6] = {};
};

// One animated value: keys in non-decreasing time, with what happens before the first and after
// the last key.
class Envelope {
 public:
  enum Behaviour : std::uint32_t { kReset = 0, kConstant = 1, kRepeat = 2, kOscillate = 3, kOffset = 4, kLinear = 5 };

  // Key count, pre and post behaviour, the keys. 1 on a short read or a key count beyond the bytes
  // left; the envelope is then empty.
  VNResultEnum Read(base::Stream* stream);
  // The value at time t. Never fails.
  float Evaluate(float t) const;

  std::uint32_t mPre = 0;
  std::uint32_t mPost = 0;
  std::vector<EnvelopeKey> mKeys;
};

}  // namespace animation
