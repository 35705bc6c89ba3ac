#pragma once
// The scene both halves of the quad benchmark draw: n 32x32 quads from one texture, placed by a
// fixed sequence so that every run and both renderers draw the same picture.
#include <cstdint>
#include <vector>

namespace bench {

const int kScreenWidth = 1024;
const int kScreenHeight = 768;
const int kQuadSize = 32;

struct Quad {
  float x, y;
  uint32_t argb;
};

inline std::vector<Quad> MakeQuads(int n) {
  std::vector<Quad> quads(static_cast<size_t>(n));
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (Quad& q : quads) {
    q.x = float(next() % (kScreenWidth - kQuadSize));
    q.y = float(next() % (kScreenHeight - kQuadSize));
    q.argb = 0x80000000u | (next() & 0x00FFFFFFu);
  }
  return quads;
}

// 32x32 RGBA pixels: a soft round sprite.
inline std::vector<uint8_t> MakeSpritePixels() {
  std::vector<uint8_t> pixels(kQuadSize * kQuadSize * 4);
  for (int y = 0; y < kQuadSize; ++y) {
    for (int x = 0; x < kQuadSize; ++x) {
      const float dx = float(x) - 15.5f;
      const float dy = float(y) - 15.5f;
      const float d = (dx * dx + dy * dy) / (16.0f * 16.0f);
      uint8_t* p = &pixels[size_t(y * kQuadSize + x) * 4];
      p[0] = 255;
      p[1] = uint8_t(255 - x * 4);
      p[2] = uint8_t(y * 8);
      p[3] = d < 1.0f ? uint8_t(255 * (1.0f - d)) : 0;
    }
  }
  return pixels;
}

}  // namespace bench
