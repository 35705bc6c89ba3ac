#pragma once
#include <cstdint>

#include "Core/Base/Result.h"

namespace render {

class DrawState;
class Graphics;
class IndexBufferImpl;
class Render;
class Shader;
class ShaderImpl;
class VertexBufferImpl;
class VertexFormat;

// How draw payloads, fonts and particle emitters reach a drawing context: the context, its renderer
// and its pending state. A null context is allowed for text measuring only.
class GraphicsFriend {
 public:
  // Out of line: the headers of the draw payloads construct it without the context's definition.
  explicit GraphicsFriend(Graphics* graphics = nullptr);
  // Binds to a context whose renderer and state the caller has at hand: inline, for the context's
  // own draw builders, so a new payload is not read back before its binding's stores complete.
  GraphicsFriend(Graphics* graphics, Render* render, DrawState* state)
      : mGraphics(graphics), mRender(render), mState(state) {}

  // Every draw makes the calls up to GetPackedColor: they are defined inline at the end of Graphics.h.
  // Rebinds to another context (a copied payload rebinds to its source's context).
  inline void SetGraphics(Graphics* graphics);

  // Write one field of the context's state; a new value marks the state dirty.
  inline void SetShader(ShaderImpl* program);
  inline void SetVertexBuffer(VertexBufferImpl* buffer);
  inline void SetIndexBuffer(IndexBufferImpl* buffer);
  // Hands the context's state to the renderer (whole when dirty); clears dirty on success.
  inline VNResultEnum ApplyState();
  // Forward to the context.
  VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, unsigned count);
  void ApplyHalfPixelOffset(void* vertices, const VertexFormat& format, unsigned count);
  // The context's colour as 0xAARRGGBB.
  inline uint32_t GetPackedColor();
  // Gives the shader the context's projection as its "Proj" value.
  VNResultEnum SetProjection(Shader* shader);

  Graphics* GetGraphics() const { return mGraphics; }

 protected:
  Graphics* mGraphics = nullptr;
  Render* mRender = nullptr;
  DrawState* mState = nullptr;
};

}  // namespace render
