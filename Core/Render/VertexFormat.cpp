#include "Core/Render/VertexFormat.h"

#include <algorithm>
#include <memory>

#include "Core/Render/BufferDoubleCacheCreator.h"
#include "Core/Render/Vertices.h"

namespace render {

namespace {

struct Registry {
  int nextId = 0;
  std::vector<VertexFormat> formats;
  std::vector<std::unique_ptr<BufferDoubleCacheCreator>> creators;
};

// Built on first use: formats register from file-scope objects during static initialisation.
Registry& GetRegistry() {
  static Registry registry;
  return registry;
}

constexpr uint32_t kFvfPosition = 0x002;
constexpr uint32_t kFvfPositionW = 0x4002;
constexpr uint32_t kFvfNormal = 0x010;
constexpr uint32_t kFvfDiffuse = 0x040;
constexpr uint32_t kFvfSpecular = 0x080;
constexpr uint32_t kFvfTexCountUnit = 0x100;

uint32_t TexCoordSizeBits(int components, int set) {
  const int shift = 16 + 2 * set;
  switch (components) {
    case 1: return 3u << shift;
    case 3: return 1u << shift;
    case 4: return 2u << shift;
    default: return 0;  // two components
  }
}

}  // namespace

VertexFormat::VertexFormat(int mainCapacity, int overflowCapacity)
    : mId(GetRegistry().nextId++),
      mMainCapacity(mainCapacity),
      mOverflowCapacity(overflowCapacity) {}

void VertexFormat::AddElement(const char* name, int offset, int size, ElementKind kind,
                              int components) {
  const VertexElement element = {name, components, size, offset};
  switch (kind) {
    case kPosition: mFvf |= kFvfPosition; break;
    case kPositionW: mFvf |= kFvfPositionW; break;
    case kNormal: mFvf |= kFvfNormal; break;
    case kDiffuse: mFvf |= kFvfDiffuse; break;
    case kSpecular: mFvf |= kFvfSpecular; break;
    case kTexCoord:
      mFvf |= TexCoordSizeBits(components, int(mTexCoordSets.size()));
      mTexCoordSets.emplace_back(components, offset);
      break;
  }
  if (element.mName == "pos") mPosition = element;
  mElements.push_back(element);
}

void VertexFormat::Register(int stride, BufferDoubleCacheCreator* cacheCreator) {
  const size_t sets = mTexCoordSets.size();
  if (sets >= 1 && sets <= 8) mFvf |= uint32_t(sets) * kFvfTexCountUnit;
  mStride = stride;
  Registry& registry = GetRegistry();
  const size_t size = std::max(registry.formats.size(), size_t(mId) + 1);
  registry.formats.resize(size, VertexFormat(*this));
  registry.creators.resize(size);
  registry.formats[size_t(mId)] = *this;
  registry.creators[size_t(mId)].reset(cacheCreator);
}

int VertexFormat::GetCount() { return int(GetRegistry().formats.size()); }

const VertexFormat* VertexFormat::Get(int id) {
  Registry& registry = GetRegistry();
  return id >= 0 && id < int(registry.formats.size()) && registry.creators[size_t(id)]
             ? &registry.formats[size_t(id)]
             : nullptr;
}

BufferDoubleCacheCreator* VertexFormat::GetCacheCreator(int id) {
  Registry& registry = GetRegistry();
  return id >= 0 && id < int(registry.creators.size()) ? registry.creators[size_t(id)].get()
                                                       : nullptr;
}

namespace {

// The static formats, built in this order at program start (ids 0, 1, 2); kept in this file so
// that linking the registry always links them.
const VertexFormat sFormat2D = SVertex2D::BuildFormat();
const VertexFormat sFormatGeom = SVertexGeom::BuildFormat();
const VertexFormat sFormatRT = SVertexRT::BuildFormat();

}  // namespace

const VertexFormat& SVertex2D::GetFormat() { return sFormat2D; }
const VertexFormat& SVertexGeom::GetFormat() { return sFormatGeom; }
const VertexFormat& SVertexRT::GetFormat() { return sFormatRT; }

}  // namespace render
