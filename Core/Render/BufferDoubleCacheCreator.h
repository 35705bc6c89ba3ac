#pragma once
#include "Core/Render/BufferDoubleCache.h"

namespace render {

// Makes the vertex cache of one registered vertex format for a renderer.
class BufferDoubleCacheCreator {
 public:
  virtual ~BufferDoubleCacheCreator() = default;
  // On failure the half-built cache is deleted and the renderer's code returned.
  virtual VNResultEnum Create(Render* render, unsigned mainCapacity, unsigned overflowCapacity,
                              BufferDoubleCacheBase*& cache) = 0;
};

template <class Vertex>
class BufferDoubleCacheCreatorConcrete : public BufferDoubleCacheCreator {
 public:
  VNResultEnum Create(Render* render, unsigned mainCapacity, unsigned overflowCapacity,
                      BufferDoubleCacheBase*& cache) override {
    auto* created = new BufferDoubleCache<VertexBuffer<Vertex>>(render);
    const VNResultEnum result = created->Init(mainCapacity, overflowCapacity);
    if (result != VN_OK) {
      delete created;
      return result;
    }
    cache = created;
    return VN_OK;
  }
};

}  // namespace render
