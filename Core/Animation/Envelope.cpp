#include "Core/Animation/Envelope.h"

#include <cmath>

#include "Core/Base/ReadString.h"

namespace animation {

namespace {

constexpr unsigned kEnvelopeKeyBytes = 36;
constexpr float kEnvelopeKeyTolerance = 0.0002f;
// Halvings of [0, 1] before float precision runs out; the bisection ends there at the latest.
constexpr int kBezier2MaxHalvings = 64;

// The position of v in the period [lo, hi] and the whole periods between lo and v.
void WrapEnvelopeTime(float v, float lo, float hi, float& w, double& k) {
  const float r = hi - lo;
  if (r == 0.0f) {
    w = lo;
    k = 0.0;
    return;
  }
  w = v - std::floor((v - lo) / r) * r;
  const double periods = static_cast<double>(w - v) / r;
  k = -std::trunc(v < w ? periods + 0.5 : periods - 0.5);
}

float OutgoingTangent(const EnvelopeKey& k0, const EnvelopeKey& k1, const EnvelopeKey* previous) {
  const float d = k1.value - k0.value;
  const float s = previous ? (k1.time - k0.time) / (k1.time - previous->time) : 1.0f;
  switch (k0.shape) {
    case EnvelopeKey::kTcb: {
      const float a = (1 - k0.p[0]) * (1 + k0.p[1]) * (1 + k0.p[2]);
      const float b = (1 - k0.p[0]) * (1 - k0.p[1]) * (1 - k0.p[2]);
      return previous ? s * (a * (k0.value - previous->value) + b * d) : b * d;
    }
    case EnvelopeKey::kHermite:
    case EnvelopeKey::kBezier:
      return previous ? k0.p[1] * s : k0.p[1];
    case EnvelopeKey::kLinear:
      return previous ? s * (k0.value - previous->value + d) : d;
    case EnvelopeKey::kBezier2: {
      const float span = k1.time - k0.time;
      return std::fabs(k0.p[2]) > 0.00001f ? k0.p[3] * span / k0.p[2] : k0.p[3] * span * 100000.0f;
    }
    default:
      return 0.0f;
  }
}

float IncomingTangent(const EnvelopeKey& k0, const EnvelopeKey& k1, const EnvelopeKey* next) {
  const float d = k1.value - k0.value;
  const float s = next ? (k1.time - k0.time) / (next->time - k0.time) : 1.0f;
  switch (k1.shape) {
    case EnvelopeKey::kTcb: {
      const float a = (1 - k1.p[0]) * (1 - k1.p[1]) * (1 + k1.p[2]);
      const float b = (1 - k1.p[0]) * (1 + k1.p[1]) * (1 - k1.p[2]);
      return next ? s * (b * (next->value - k1.value) + a * d) : a * d;
    }
    case EnvelopeKey::kHermite:
    case EnvelopeKey::kBezier:
      return next ? k1.p[0] * s : k1.p[0];
    case EnvelopeKey::kLinear:
      return next ? s * (next->value - k1.value + d) : d;
    case EnvelopeKey::kBezier2: {
      const float span = k1.time - k0.time;
      return std::fabs(k1.p[0]) > 0.00001f ? k1.p[1] * span / k1.p[0] : k1.p[1] * span * 100000.0f;
    }
    default:
      return 0.0f;
  }
}

float Bezier2Value(const EnvelopeKey& k0, const EnvelopeKey& k1, float t) {
  const float x1 = k0.shape == EnvelopeKey::kBezier2 ? k0.time + k0.p[2] : k0.time + (k1.time - k0.time) / 3.0f;
  const float x2 = k1.time + k1.p[0];
  const float c = 3.0f * (x1 - k0.time);
  const float b = 3.0f * (x2 - x1) - c;
  const float a = k1.time - k0.time - c - b;
  float lo = 0.0f;
  float hi = 1.0f;
  float m = 0.5f;
  for (int i = 0; i < kBezier2MaxHalvings; ++i) {
    m = lo + (hi - lo) * 0.5f;
    const float v = ((a * m + b) * m + c) * m + k0.time;
    if (std::fabs(t - v) <= 0.0001f) break;
    if (v > t) {
      hi = m;
    } else {
      lo = m;
    }
  }
  const float y0 = k0.value;
  const float y1 = k0.shape == EnvelopeKey::kBezier2 ? k0.value + k0.p[3] : k0.value + k0.p[1] / 3.0f;
  const float y2 = k1.value + k1.p[1];
  const float y3 = k1.value;
  const float cy = 3.0f * (y1 - y0);
  const float by = 3.0f * (y2 - y1) - cy;
  const float ay = y3 - y0 - cy - by;
  return ((ay * m + by) * m + cy) * m + y0;
}

}  // namespace

VNResultEnum Envelope::Read(base::Stream* stream) {
  mKeys.clear();
  std::uint32_t count = 0;
  if (base::ReadU32(stream, count) != VN_OK || base::ReadU32(stream, mPre) != VN_OK ||
      base::ReadU32(stream, mPost) != VN_OK || count > base::BytesLeft(stream) / kEnvelopeKeyBytes) {
    return VN_FAIL;
  }
  mKeys.resize(count);
  for (EnvelopeKey& key : mKeys) {
    bool ok = base::ReadF32(stream, key.value) == VN_OK && base::ReadF32(stream, key.time) == VN_OK &&
              base::ReadU32(stream, key.shape) == VN_OK;
    for (float& parameter : key.p) ok = ok && base::ReadF32(stream, parameter) == VN_OK;
    if (!ok) {
      mKeys.clear();
      return VN_FAIL;
    }
  }
  return VN_OK;
}

float Envelope::Evaluate(float t) const {
  const std::size_t n = mKeys.size();
  if (n == 0) return 0.0f;
  const EnvelopeKey& first = mKeys.front();
  if (n == 1) return first.value;
  const EnvelopeKey& last = mKeys.back();

  float offset = 0.0f;
  const float span = last.time - first.time;
  if (t < first.time || t > last.time) {
    const bool before = t < first.time;
    float w = 0.0f;
    double k = 0.0;
    switch (before ? mPre : mPost) {
      case kReset:
        return 0.0f;
      case kConstant:
        return before ? first.value : last.value;
      case kRepeat:
        t = span == 0.0f ? first.time : t - std::floor((t - first.time) / span) * span;
        break;
      case kOscillate:
        WrapEnvelopeTime(t, first.time, last.time, w, k);
        t = std::fmod(k, 2.0) == 0.0 ? w : span - w;
        break;
      case kOffset:
        WrapEnvelopeTime(t, first.time, last.time, w, k);
        t = w;
        offset = static_cast<float>(k * (last.value - first.value));
        break;
      case kLinear: {
        if (before) {
          const EnvelopeKey& second = mKeys[1];
          const float gap = second.time - first.time;
          if (gap == 0.0f) return first.value;
          return first.value + (t - first.time) * OutgoingTangent(first, second, nullptr) / gap;
        }
        const EnvelopeKey& previous = mKeys[n - 2];
        const float gap = last.time - previous.time;
        if (gap == 0.0f) return last.value;
        return last.value + (t - last.time) * IncomingTangent(previous, last, nullptr) / gap;
      }
      default:
        break;
    }
  }

  std::size_t i = 0;
  while (i + 1 < n && mKeys[i + 1].time + kEnvelopeKeyTolerance < t) ++i;
  const EnvelopeKey* previous = nullptr;
  const EnvelopeKey* next = nullptr;
  if (i + 1 >= n) {
    i = n - 2;
  } else {
    previous = i > 0 ? &mKeys[i - 1] : nullptr;
    next = i + 2 < n ? &mKeys[i + 2] : nullptr;
  }
  const EnvelopeKey& k0 = mKeys[i];
  const EnvelopeKey& k1 = mKeys[i + 1];
  if (t == k0.time) return k0.value + offset;
  if (t == k1.time) return k1.value + offset;
  const float gap = k1.time - k0.time;
  if (gap == 0.0f) return k0.value + offset;
  const float u = (t - k0.time) / gap;
  switch (k1.shape) {
    case EnvelopeKey::kTcb:
    case EnvelopeKey::kHermite:
    case EnvelopeKey::kBezier: {
      const float u2 = u * u;
      const float u3 = u2 * u;
      const float h2 = 3 * u2 - 2 * u3;
      const float h1 = 1 - h2;
      const float h4 = u3 - u2;
      const float h3 = h4 - u2 + u;
      return h1 * k0.value + h2 * k1.value + h3 * OutgoingTangent(k0, k1, previous) +
             h4 * IncomingTangent(k0, k1, next) + offset;
    }
    case EnvelopeKey::kLinear:
      return k0.value + u * (k1.value - k0.value) + offset;
    case EnvelopeKey::kStepped:
      return k0.value + offset;
    case EnvelopeKey::kBezier2:
      return Bezier2Value(k0, k1, t) + offset;
    default:
      return offset;
  }
}

}  // namespace animation
