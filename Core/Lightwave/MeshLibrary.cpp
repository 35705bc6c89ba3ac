#include "Core/Lightwave/MeshLibrary.h"

#include <memory>

#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/Base/ReadString.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Resource/ResourceManager.h"

namespace lightwave {

namespace {

constexpr unsigned kMeshLibraryVertexBytes = 20;
// Two empty strings and four u32.
constexpr unsigned kMeshLibraryMinMeshBytes = 24;

// Reads one mesh record and rebases its indices. fileIndices are the indices as read; rebased gets
// the mesh-relative values, and claimed marks the positions a mesh has already rebased (meshes may
// share an index range only when they agree on the result).
VNResultEnum ReadMeshRecord(base::Stream* stream, Mesh& mesh, const std::vector<std::uint32_t>& fileIndices,
                            std::vector<std::uint32_t>& rebased, std::vector<std::uint8_t>& claimed,
                            std::vector<render::SVertex2D>& vertices, std::uint32_t& vertexStart,
                            std::uint32_t& indexStart) {
  std::string texture;
  if (base::ReadString(stream, mesh.mName) != VN_OK || base::ReadString(stream, texture) != VN_OK ||
      base::ReadU32(stream, vertexStart) != VN_OK || base::ReadU32(stream, mesh.mVertexCount) != VN_OK ||
      base::ReadU32(stream, indexStart) != VN_OK || base::ReadU32(stream, mesh.mIndexCount) != VN_OK) {
    return VN_FAIL;
  }
  mesh.mTexture.clear();
  for (char c : texture) mesh.mTexture.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));

  const std::uint64_t vertexEnd = std::uint64_t(vertexStart) + mesh.mVertexCount;
  const std::uint64_t indexEnd = std::uint64_t(indexStart) + mesh.mIndexCount;
  if (vertexEnd > vertices.size() || indexEnd > fileIndices.size()) return VN_FAIL;

  mesh.mBox.Reset();
  for (std::uint32_t i = 0; i < mesh.mIndexCount; ++i) {
    const std::uint32_t at = indexStart + i;
    const std::uint32_t index = fileIndices[at];
    // An index names a vertex of the whole list, and must lie in the mesh's own range.
    if (index < vertexStart || index >= vertexEnd) return VN_FAIL;
    const render::SVertex2D& vertex = vertices[index];
    mesh.mBox.AddPoint(math::Point3(vertex.x, vertex.y, vertex.z));
    const std::uint32_t relative = index - vertexStart;
    if (claimed[at] && rebased[at] != relative) return VN_FAIL;
    claimed[at] = 1;
    rebased[at] = relative;
  }
  mesh.mFlag = 0;
  return VN_OK;
}

}  // namespace

MeshLibrary::~MeshLibrary() { Clear(); }

VNResultEnum MeshLibrary::Release() { return resource::ResourceManager::ReleaseFromManager<MeshLibrary>(this); }

void MeshLibrary::Clear() {
  mMeshes.clear();
  mIndices.clear();
  mVertices.clear();
  for (auto& [name, image] : mTextures) delete image;
  mTextures.clear();
}

VNResultEnum MeshLibrary::DoUnLoad() {
  Clear();
  return VN_OK;
}

VNResultEnum MeshLibrary::DoLoad() {
  file::FileManager* files = file::FileManager::Instance();
  std::unique_ptr<file::FileInfo> info(files->Open(mName, nullptr, 0, nullptr));
  if (!info) {
    base::LogBlock(u"Mesh library '%s' not found\n") % mName;
    return VN_FAIL;
  }
  std::unique_ptr<base::Stream> stream(info->Open());
  if (!stream) {
    base::LogBlock(u"Mesh library '%s' cannot be opened\n") % mName;
    return VN_FAIL;
  }
  VNResultEnum result = Read(stream.get());
  if (result != VN_OK) {
    base::LogBlock(u"Mesh library '%s' is damaged\n") % mName;
  } else {
    result = LoadTextures();
  }
  if (result != VN_OK) Clear();
  return result;
}

VNResultEnum MeshLibrary::Read(base::Stream* stream) {
  Clear();
  std::uint32_t indexCount = 0;
  if (base::ReadU32(stream, indexCount) != VN_OK || indexCount > base::BytesLeft(stream) / 4) return VN_FAIL;
  std::vector<std::uint32_t> fileIndices(indexCount);
  for (std::uint32_t& index : fileIndices) {
    if (base::ReadU32(stream, index) != VN_OK) return VN_FAIL;
  }

  std::uint32_t vertexCount = 0;
  if (base::ReadU32(stream, vertexCount) != VN_OK || vertexCount > base::BytesLeft(stream) / kMeshLibraryVertexBytes) {
    return VN_FAIL;
  }
  mVertices.resize(vertexCount);
  for (render::SVertex2D& vertex : mVertices) {
    float v = 0.0f;
    if (base::ReadF32(stream, vertex.x) != VN_OK || base::ReadF32(stream, vertex.y) != VN_OK ||
        base::ReadF32(stream, vertex.z) != VN_OK || base::ReadF32(stream, vertex.u) != VN_OK ||
        base::ReadF32(stream, v) != VN_OK) {
      Clear();
      return VN_FAIL;
    }
    vertex.w = 1.0f;
    vertex.diffuse = 0xFFFFFFFFu;
    vertex.specular = 0xFFFFFFFFu;
    vertex.v = 1.0f - v;
  }

  std::uint32_t meshCount = 0;
  if (base::ReadU32(stream, meshCount) != VN_OK || meshCount > base::BytesLeft(stream) / kMeshLibraryMinMeshBytes) {
    Clear();
    return VN_FAIL;
  }
  mIndices.assign(indexCount, 0);
  std::vector<std::uint8_t> claimed(indexCount, 0);
  mMeshes.resize(meshCount);
  std::vector<std::uint32_t> indexStarts(meshCount);
  std::vector<std::uint32_t> vertexStarts(meshCount);
  for (std::uint32_t i = 0; i < meshCount; ++i) {
    Mesh& mesh = mMeshes[i];
    if (ReadMeshRecord(stream, mesh, fileIndices, mIndices, claimed, mVertices, vertexStarts[i], indexStarts[i]) !=
        VN_OK) {
      Clear();
      return VN_FAIL;
    }
    mTextures.emplace(mesh.mTexture, nullptr);
  }

  std::uint32_t version = 0;
  if (base::ReadU32(stream, version) != VN_OK || (version != 2011 && version != 2012)) {
    Clear();
    return VN_FAIL;
  }
  // The lists no longer change size: the meshes may point into them.
  for (std::uint32_t i = 0; i < meshCount; ++i) {
    mMeshes[i].mIndices = mIndices.data() + indexStarts[i];
    mMeshes[i].mVertices = mVertices.data() + vertexStarts[i];
  }
  return VN_OK;
}

VNResultEnum MeshLibrary::LoadTextures() {
  if (mRender == nullptr) {
    base::LogBlock(u"Mesh library '%s': textures loaded without a renderer\n") % mName;
    return VN_FAIL;
  }
  const std::u16string folder = base::GetDirPathNoDrive(mName) + u"images/";
  for (auto& [name, image] : mTextures) {
    if (image != nullptr) continue;
    const std::u16string path = folder + base::NormalizePath(name);
    const VNResultEnum result = mRender->LoadImage(path, nullptr, &image, nullptr);
    if (result != VN_OK) {
      base::LogBlock(u"Mesh library '%s': texture '%s' not loaded\n") % mName % path;
      return result;
    }
  }
  for (Mesh& mesh : mMeshes) {
    const auto found = mTextures.find(mesh.mTexture);
    mesh.mImage = found != mTextures.end() ? found->second : nullptr;
    if (mesh.mImage == nullptr) return VN_FAIL;
  }
  return VN_OK;
}

const Mesh* MeshLibrary::FindMesh(const std::string& name) const {
  for (const Mesh& mesh : mMeshes) {
    if (mesh.mName == name) return &mesh;
  }
  return nullptr;
}

}  // namespace lightwave
