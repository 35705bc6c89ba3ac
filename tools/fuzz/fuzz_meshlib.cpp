// Reads arbitrary bytes as a mesh library, then walks every mesh's indices into its vertices.
#include <cstddef>
#include <cstdint>

#include "Core/Base/MemoryStream.h"
#include "Core/Lightwave/MeshLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  base::MemoryStream stream(data, static_cast<unsigned>(size));
  lightwave::MeshLibrary library;
  if (library.Read(&stream) != 0) return 0;
  float sum = 0.0f;
  for (const lightwave::Mesh& mesh : library.GetMeshes()) {
    for (std::uint32_t i = 0; i < mesh.mIndexCount; ++i) sum += mesh.mVertices[mesh.mIndices[i]].x;
    library.FindMesh(mesh.mName);
  }
  return sum == 12345.0f ? 1 : 0;
}
