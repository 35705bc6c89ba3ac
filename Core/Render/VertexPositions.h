#pragma once
// The walk over the position element of a vertex array, shared by every vertex transform.
#include "Core/Render/VertexFormat.h"

namespace render {

// Calls fn(float* position, int components) for each of count vertices.
template <class Fn>
void ForEachPosition(void* vertices, const VertexFormat& format, unsigned count, Fn fn) {
  const VertexElement& position = format.GetPosition();
  auto* bytes = static_cast<unsigned char*>(vertices) + position.mOffset;
  const int stride = format.GetStride();
  for (unsigned i = 0; i < count; ++i, bytes += stride) fn(reinterpret_cast<float*>(bytes), position.mComponents);
}

}  // namespace render
