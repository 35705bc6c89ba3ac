#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace render {

class BufferDoubleCacheCreator;

// One element of a vertex: its name, component count, size in bytes and offset in the vertex.
struct VertexElement {
  std::string mName;
  int mComponents = 0;
  int mSize = 0;
  int mOffset = 0;
};

// The layout of one kind of vertex, its Direct3D flexible-vertex-format bits and the sizes of the
// per-frame caches its draws take vertices from. Registered formats live for the whole program.
class VertexFormat {
 public:
  enum ElementKind {
    kPosition = 0,   // x, y, z
    kPositionW = 1,  // x, y, z, w
    kNormal = 2,
    kDiffuse = 3,
    kSpecular = 4,
    kTexCoord = 5,   // the next texture coordinate set
  };

  // A new format takes the next id; its caches hold mainCapacity and overflowCapacity vertices.
  VertexFormat(int mainCapacity, int overflowCapacity);

  // Appends an element and adds its flexible-vertex-format bits. "pos" is the position element.
  void AddElement(const char* name, int offset, int size, ElementKind kind, int components);
  // Adds the texture-set count bits and the stride; enters a copy of the format and the cache
  // factory (owned by the registry) at the format's id.
  void Register(int stride, BufferDoubleCacheCreator* cacheCreator);

  int GetId() const { return mId; }
  int GetMainCapacity() const { return mMainCapacity; }
  int GetOverflowCapacity() const { return mOverflowCapacity; }
  int GetStride() const { return mStride; }
  uint32_t GetFvf() const { return mFvf; }
  const VertexElement& GetPosition() const { return mPosition; }
  const std::vector<VertexElement>& GetElements() const { return mElements; }
  // (component count, offset) of each texture coordinate set in order.
  const std::vector<std::pair<int, int>>& GetTexCoordSets() const { return mTexCoordSets; }

  // The registry, indexed by id.
  static int GetCount();
  // Null for an id that was never registered.
  static const VertexFormat* Get(int id);
  static BufferDoubleCacheCreator* GetCacheCreator(int id);

 private:
  int mId;
  int mMainCapacity;
  int mOverflowCapacity;
  int mStride = 0;
  uint32_t mFvf = 0;
  VertexElement mPosition;
  std::vector<VertexElement> mElements;
  std::vector<std::pair<int, int>> mTexCoordSets;
};

}  // namespace render
