#pragma once
#include "Core/Math/Point.h"
#include "Core/Render/Vertices.h"

namespace render {

// The six indices of a quad's two triangles: base, base+1, base+2, base, base+2, base+3.
inline void BuildQuadIndices(unsigned short* indices, unsigned base) {
  const auto b = static_cast<unsigned short>(base);
  indices[0] = b, indices[1] = static_cast<unsigned short>(b + 1), indices[2] = static_cast<unsigned short>(b + 2);
  indices[3] = b, indices[4] = static_cast<unsigned short>(b + 2), indices[5] = static_cast<unsigned short>(b + 3);
}

// Four vertices clockwise from the top-left and the six indices of their two triangles
// (base, base+1, base+2, base, base+2, base+3). Colours are left to the caller.
void BuildQuad(SVertex2D* vertices, unsigned short* indices, unsigned base, const math::Point4& topLeft,
               const math::Point4& bottomRight, const math::Point2& uvTopLeft, const math::Point2& uvBottomRight);

}  // namespace render
