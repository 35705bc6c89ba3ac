#pragma once
#include "Core/Base/Result.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/VertexFormat.h"

namespace render {

class DrawParam;

// Payload of a draw of caller vertices (and indices) already taken from the caches.
class DrawCustomParam : public GraphicsFriend {
 public:
  DrawCustomParam(Graphics* graphics, int type, void* vertices, const VertexFormat& format, Shader* shader)
      : GraphicsFriend(graphics), mType(type), mVertices(vertices), mFormat(format), mShader(shader) {}

  VNResultEnum Draw(DrawParam* request);

  int mType;  // primitive type of the renderer (0 points .. 5 triangle fan)
  void* mVertices;
  VertexFormat mFormat;
  unsigned mVertexStart = 0;
  unsigned mVertexCount = 0;
  VertexBufferImpl* mVertexBuffer = nullptr;
  unsigned mIndexStart = 0;
  unsigned mIndexCount = 0;
  IndexBufferImpl* mIndexBuffer = nullptr;  // null = not indexed
  Shader* mShader;
  unsigned mPrimitiveCount = 0;  // computed by the first draw
};

}  // namespace render
