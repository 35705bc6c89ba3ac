#pragma once
// The scene every side of the quad benchmark draws: n 32x32 sprites from the cells of one 256x256
// atlas on a 1366x768 screen, each moving every frame, placed and moved by a fixed sequence so that
// every run and every side draws the same pictures.
#include <cstdint>
#include <vector>

namespace bench {

const int kScreenWidth = 1366;
const int kScreenHeight = 768;
const int kQuadSize = 32;
const int kAtlasSize = 256;
const int kAtlasCells = kAtlasSize / kQuadSize;  // per row and per column

struct Quad {
  float x, y;    // top-left, whole pixels
  float dx, dy;  // pixels per frame
  int cellX, cellY;  // pixels of the cell's top-left in the atlas
  uint32_t argb;
};

inline std::vector<Quad> MakeQuads(int n) {
  std::vector<Quad> quads(static_cast<size_t>(n));
  uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
  for (Quad& q : quads) {
    q.x = float(next() % (kScreenWidth - kQuadSize));
    q.y = float(next() % (kScreenHeight - kQuadSize));
    q.dx = float(int(next() % 7) - 3);
    q.dy = float(int(next() % 5) - 2);
    const int cell = int(next() % (kAtlasCells * kAtlasCells));
    q.cellX = (cell % kAtlasCells) * kQuadSize;
    q.cellY = (cell / kAtlasCells) * kQuadSize;
    q.argb = 0x80000000u | (next() & 0x00FFFFFFu);
  }
  return quads;
}

// The texture coordinates of a sprite's cell in the atlas's 0..1 range.
struct CellUv {
  float u0, v0, u1, v1;
};

inline CellUv AtlasCellUv(const Quad& q) {
  const float texel = 1.0f / float(kAtlasSize);
  return {float(q.cellX) * texel, float(q.cellY) * texel, float(q.cellX + kQuadSize) * texel,
          float(q.cellY + kQuadSize) * texel};
}

// One frame's move, the same work on every side: bounce off the screen's edges.
inline void MoveQuads(std::vector<Quad>& quads) {
  const float right = float(kScreenWidth - kQuadSize);
  const float bottom = float(kScreenHeight - kQuadSize);
  for (Quad& q : quads) {
    q.x += q.dx;
    q.y += q.dy;
    if (q.x < 0.0f || q.x > right) q.dx = -q.dx, q.x += 2.0f * q.dx;
    if (q.y < 0.0f || q.y > bottom) q.dy = -q.dy, q.y += 2.0f * q.dy;
  }
}

// 256x256 RGBA pixels, top row first: 64 cells of a soft round sprite, each cell its own hue.
inline std::vector<uint8_t> MakeAtlasPixels() {
  std::vector<uint8_t> pixels(size_t(kAtlasSize) * kAtlasSize * 4);
  for (int y = 0; y < kAtlasSize; ++y) {
    for (int x = 0; x < kAtlasSize; ++x) {
      const int cell = (y / kQuadSize) * kAtlasCells + x / kQuadSize;
      const float dx = float(x % kQuadSize) - 15.5f;
      const float dy = float(y % kQuadSize) - 15.5f;
      const float d = (dx * dx + dy * dy) / (16.0f * 16.0f);
      uint8_t* p = &pixels[(size_t(y) * kAtlasSize + size_t(x)) * 4];
      p[0] = uint8_t(255 - cell * 3);
      p[1] = uint8_t(128 + (x % kQuadSize) * 4);
      p[2] = uint8_t(cell * 4);
      p[3] = d < 1.0f ? uint8_t(255 * (1.0f - d)) : 0;
    }
  }
  return pixels;
}

}  // namespace bench
