#include "Core/Render/Vertices.h"

#include "Core/Render/BufferDoubleCacheCreator.h"

namespace render {

VertexFormat SVertex2D::BuildFormat() {
  VertexFormat format(40960, 10240);
  format.AddElement("pos", 0, 16, VertexFormat::kPositionW, 4);
  format.AddElement("diff", 16, 4, VertexFormat::kDiffuse, 4);
  format.AddElement("spec", 20, 4, VertexFormat::kSpecular, 4);
  format.AddElement("tutv", 24, 8, VertexFormat::kTexCoord, 2);
  format.Register(sizeof(SVertex2D), new BufferDoubleCacheCreatorConcrete<SVertex2D>);
  return format;
}

VertexFormat SVertexGeom::BuildFormat() {
  VertexFormat format(5120, 1024);
  format.AddElement("pos", 0, 12, VertexFormat::kPosition, 3);
  format.AddElement("diff", 12, 4, VertexFormat::kDiffuse, 4);
  format.Register(sizeof(SVertexGeom), new BufferDoubleCacheCreatorConcrete<SVertexGeom>);
  return format;
}

VertexFormat SVertexRT::BuildFormat() {
  VertexFormat format(0, 0);
  format.AddElement("pos", 0, 16, VertexFormat::kPositionW, 4);
  format.AddElement("tutv", 16, 8, VertexFormat::kTexCoord, 2);
  format.Register(sizeof(SVertexRT), new BufferDoubleCacheCreatorConcrete<SVertexRT>);
  return format;
}

}  // namespace render
