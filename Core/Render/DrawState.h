#pragma once
#include "Core/Math/Rect.h"

namespace render {

class IndexBufferImpl;
class ShaderImpl;
class Texture;
class VertexBufferImpl;

// Device state that a draw needs. The drawing context keeps a pending one and hands it to the
// renderer before each draw; the renderer records only the fields that differ from what it sent.
class DrawState {
 public:
  enum BlendMode {
    kBlendNone = 0,
    kBlendAlpha = 1,     // source alpha / inverse source alpha
    kBlendAdditive = 2,  // source alpha / one
  };

  // Copies every field; the scissor rectangle only when the two states are different objects.
  void Assign(const DrawState& source);

  Texture* mTarget = nullptr;  // null = the back buffer
  float mViewportScaleX = 1.0f;
  float mViewportScaleY = 1.0f;
  float mViewportOffsetX = 0.0f;
  float mViewportOffsetY = 0.0f;
  ShaderImpl* mShader = nullptr;
  VertexBufferImpl* mVertexBuffer = nullptr;
  IndexBufferImpl* mIndexBuffer = nullptr;
  int mBlendMode = kBlendNone;
  bool mScissorEnable = false;
  math::Rect mScissorRect;  // design coordinates
  bool mDepthTest = false;
  bool mDepthWrite = true;
};

}  // namespace render
