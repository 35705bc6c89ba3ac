#include "Platform/Bass/Limiter.h"

#include <cmath>

#include "Platform/Bass/Decode.h"

namespace bass {

namespace {

// What is left of the gain's distance to 1 after one frame of release.
const float kLimiterRelease = float(std::exp(-1.0 / (double(Limiter::kReleaseSeconds) * kMixRate)));
// A gain this close to 1 (under 0.001 dB away) is inaudible: it snaps back to exactly 1.
constexpr float kLimiterSnap = 1e-4f;

}  // namespace

void Limiter::Process(float* frames, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    float* frame = frames + std::size_t(i) * kMixChannels;
    const float peak = std::fmax(std::fabs(frame[0]), std::fabs(frame[1]));
    if (mDepth > 0.0f) {
      mDepth *= kLimiterRelease;
      if (mDepth < kLimiterSnap) mDepth = 0.0f;
    }
    if (peak * (1.0f - mDepth) > kCeiling) mDepth = 1.0f - kCeiling / peak;
    if (mDepth > 0.0f) {
      const float gain = 1.0f - mDepth;
      frame[0] *= gain;
      frame[1] *= gain;
    }
  }
}

}  // namespace bass
