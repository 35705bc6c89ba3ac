#pragma once
// The last stage of the mix: a peak limiter that keeps the sum of many channels below full scale.
// A float output above 1 would be clipped by the card; this lowers both sides of a frame by one
// gain instead, at once when a peak comes and slowly back afterwards. Below the ceiling and once the
// gain is back at 1, frames pass unchanged, bit for bit. Not thread-safe: the mixer calls it under
// its lock.
namespace bass {

class Limiter {
 public:
  // The highest magnitude of a limited sample: 1 dB under full scale, room for the overshoot of
  // the card's own resampling.
  static constexpr float kCeiling = 0.891f;
  // Time for the gain to close 1 - 1/e of its distance to 1 after the last peak.
  static constexpr float kReleaseSeconds = 0.2f;

  // frames interleaved stereo frames, in place.
  void Process(float* frames, unsigned count);
  // Back to unity gain (a new output).
  void Reset() { mDepth = 0.0f; }

 private:
  // 1 - the gain. Kept instead of the gain, whose float steps near 1 are too coarse for the
  // release's small steps.
  float mDepth = 0.0f;
};

}  // namespace bass
