#pragma once
// The three kinds of vertices the renderer draws. Colours are 0xAARRGGBB.
#include <cstdint>

#include "Core/Render/VertexFormat.h"

namespace render {

// Images, glyphs and particles: screen position with w, colour, second colour, one texture set.
struct SVertex2D {
  float x, y, z, w;
  uint32_t diffuse;
  uint32_t specular;
  float u, v;

  static VertexFormat BuildFormat();
  // Registered at program start with id 0.
  static const VertexFormat& GetFormat();
};

// Lines and filled rectangles: position and colour.
struct SVertexGeom {
  float x, y, z;
  uint32_t diffuse;

  static VertexFormat BuildFormat();
  // Id 1.
  static const VertexFormat& GetFormat();
};

// Render-target copies: position with w and one texture set; no per-frame caches.
struct SVertexRT {
  float x, y, z, w;
  float u, v;

  static VertexFormat BuildFormat();
  // Id 2.
  static const VertexFormat& GetFormat();
};

static_assert(sizeof(SVertex2D) == 32 && sizeof(SVertexGeom) == 16 && sizeof(SVertexRT) == 24,
              "vertices are tightly packed");

}  // namespace render
