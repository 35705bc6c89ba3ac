#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Core/Math/Box3.h"
#include "Core/Render/Vertices.h"
#include "Core/Resource/Resource.h"

namespace base {
class Stream;
}

namespace render {
class Image;
class Render;
}  // namespace render

namespace lightwave {

// One named range of a library's index and vertex lists with its texture.
struct Mesh {
  std::string mName;
  std::u16string mTexture;  // the file's bytes widened one by one
  std::uint8_t mFlag = 0;
  std::uint32_t mIndexCount = 0;
  // Positions in this mesh's own vertex range (0-based).
  std::uint32_t* mIndices = nullptr;
  std::uint32_t mVertexCount = 0;
  render::SVertex2D* mVertices = nullptr;
  // Over the positions of the vertices its indices name.
  math::Box3 mBox;
  render::Image* mImage = nullptr;  // owned by the library's texture map
};

// A mesh library file (".lib", little-endian): shared index and vertex lists and named meshes
// over ranges of them, with textures from the "images/" folder beside the file.
class MeshLibrary : public resource::Resource {
 public:
  ~MeshLibrary() override;

  VNResultEnum Release() override;
  // Opens the name through the file manager, reads it, loads the textures. Any failure leaves the
  // library empty (nothing half-read is kept).
  VNResultEnum DoLoad() override;
  // Frees meshes, arrays and images. Returns 0.
  VNResultEnum DoUnLoad() override;

  // Reads the lists and meshes. Every count, range and index is checked against the bytes left
  // and the lists it names; 1 on any short read, bad value, or a version other than 2011 or 2012.
  VNResultEnum Read(base::Stream* stream);
  // Loads each distinct texture once from <library folder>/images/<name with '/'>; 1 without a
  // renderer, else the loader's failure.
  VNResultEnum LoadTextures();

  // The first mesh with exactly this name, or null.
  const Mesh* FindMesh(const std::string& name) const;

  // Used to load the textures; set by the owner before Load.
  void SetRender(render::Render* render) { mRender = render; }

  const std::vector<Mesh>& GetMeshes() const { return mMeshes; }
  const std::vector<std::uint32_t>& GetIndices() const { return mIndices; }
  const std::vector<render::SVertex2D>& GetVertices() const { return mVertices; }
  const std::map<std::u16string, render::Image*>& GetTextures() const { return mTextures; }

 private:
  void Clear();

  render::Render* mRender = nullptr;
  std::vector<std::uint32_t> mIndices;
  std::vector<render::SVertex2D> mVertices;
  std::vector<Mesh> mMeshes;
  std::map<std::u16string, render::Image*> mTextures;
};

}  // namespace lightwave
