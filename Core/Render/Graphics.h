#pragma once
#include <cstring>
#include <string>

#include "Core/Base/NoCopy.h"
#include "Core/Base/Result.h"
#include "Core/Math/Color.h"
#include "Core/Math/Point.h"
#include "Core/Math/Rect.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/DrawState.h"
#include "Core/Render/Render.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Vertices.h"

namespace math {
struct Matrix4;
class Transform3D;
}  // namespace math

namespace render {

class Font;
class Image;
class ParticleEmitter;
class Render;
class RenderTarget;
class Shader;
class ShaderTextured;

// The drawing context handed to every draw of the engine and the game: one per frame for the
// screen, one per off-screen target while it is drawn into. It holds no device state: it carries a
// pending DrawState plus colour, tint, transform and font, and builds draw requests that record
// into the renderer's command buffer when they are destroyed. Lives on the stack of the frame code.
class Graphics : public base::NoCopy {
 public:
  enum ShaderMode {
    kShaderCustom = 0,    // the caller's textured shader
    kShaderMultiply = 1,  // texel times vertex colour
    kShaderTint = 2,      // texel moved towards the colour by the tint amount
  };

  // Screen context: the renderer's viewport, alpha blending, the multiply shader.
  explicit Graphics(Render* render);
  // Context of a render target. Built outside a frame, it begins the frame itself and ends and
  // plays it at destruction, so the target is rendered at once.
  explicit Graphics(RenderTarget* target);
  ~Graphics();

  // Plays what was recorded so far when this context began the frame; otherwise nothing.
  VNResultEnum Flush();

  // Records a clear of the context's target.
  VNResultEnum Clear(unsigned flags, const math::Color& colour, float depth, unsigned stencil);
  VNResultEnum SetBlendMode(int mode);
  VNResultEnum SetClipRect(const math::Rect& rect);
  VNResultEnum ResetClipRect();
  // Inline: drawing code sets a colour for most draws. Packed again at the next draw only when the
  // bits changed.
  VNResultEnum SetColor(const math::Color& colour) {
    if (std::memcmp(&colour, &mColor, sizeof(colour)) != 0) {
      mColor = colour;
      mColorPacked = false;
    }
    return VN_OK;
  }
  VNResultEnum SetColorRGBA(float r, float g, float b, float a) { return SetColor(math::Color(r, g, b, a)); }
  // 1 multiply, 2 tint; the same mode again and unknown modes change nothing. A failed shader
  // lookup keeps the old shader and returns its code.
  VNResultEnum SetShaderMode(int mode);
  // A caller's textured shader (mode 0); null binds the multiply shader, still in mode 0.
  VNResultEnum SetShader(ShaderTextured* shader);
  // The target's own projection, or the renderer's for the screen.
  const math::Matrix4& GetProjection() const;

  // Applies the current transform (when set) to the positions of count vertices.
  VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, unsigned count);
  // x and y minus 0.5, z = 0: pixel centres onto texel centres. Once per draw, after all transforms.
  void ApplyHalfPixelOffset(void* vertices, const VertexFormat& format, unsigned count);

  // Draw builders: the request draws when it is destroyed, unless converted first.
  DrawUntransformedParam<DrawImageParam> DrawImage(Image* image);
  // Drawn at the source rectangle's size. Inline: most sprites are an atlas part.
  DrawUntransformedParam<DrawImageParam> DrawImagePart(Image* image, const math::Rect& source) {
    return DrawUntransformedParam<DrawImageParam>(std::in_place, GraphicsFriend(this, mRender, &mState), image,
                                                  source);
  }
  DrawTransform2DParam<DrawImageParam> DrawImagePartToRect(Image* image, const math::Rect& source,
                                                           const math::Rect& destination);
  DrawTransform2DParam<DrawImageParam> DrawImageToRect(Image* image, const math::Rect& destination);
  DrawUntransformedParam<DrawCustomParam> DrawLine(const math::Point2& a, const math::Point2& b);
  DrawUntransformedParam<DrawCustomParam> FillRect(const math::Rect& rect);
  // text must outlive the request.
  DrawUntransformedParam<DrawTextParam> DrawText(const std::u16string* text);
  DrawUntransformedParam<DrawTextParam> DrawTextBox(const std::u16string* text, float wrapWidth, float indent,
                                                    unsigned alignment, bool justifyCharacters);
  // The emitter's particles (see ParticleEmitter::Draw).
  DrawUntransformedParam<DrawParticlesParam> DrawParticles(ParticleEmitter* emitter);
  // Caller vertices in the SVertexGeom format, already taken from the geometry cache.
  DrawUntransformedParam<DrawCustomParam> DrawCustom(int type, SVertexGeom* vertices,
                                                     const BufferRange<VertexBuffer<SVertexGeom>>& vertexRange,
                                                     Shader* shader);
  DrawUntransformedParam<DrawCustomParam> DrawCustomIndexed(
      int type, SVertexGeom* vertices, const BufferRange<IndexBuffer<unsigned short>>& indexRange,
      const BufferRange<VertexBuffer<SVertexGeom>>& vertexRange, Shader* shader);

  Render* GetRender() const { return mRender; }
  RenderTarget* GetTarget() const { return mTarget; }
  ShaderTextured* GetTexturedShader() const { return mTexturedShader; }
  Shader* GetGeomShader() const { return mGeomShader; }
  int GetShaderMode() const { return mShaderMode; }
  const math::Color& GetColor() const { return mColor; }
  const DrawState& GetState() const { return mState; }

  // Public settings without setters; layers save and restore them around their draws.
  Font* mFont = nullptr;
  float mTintAmount = 0.0f;              // 0..1
  math::Transform3D* mTransform = nullptr;  // null = none

 private:
  friend class GraphicsFriend;

  void InitShaders();
  // The current colour as 0xAARRGGBB, packed once per change of colour.
  uint32_t GetPackedColor() {
    if (!mColorPacked) {
      mPackedColor = mColor.ToARGB();
      mColorPacked = true;
    }
    return mPackedColor;
  }
  // Geometry vertices from the cache with the current colour, in a pending custom request.
  DrawUntransformedParam<DrawCustomParam> DrawGeometry(int type, const math::Point2* corners, unsigned count,
                                                       bool quadIndices);

  Render* mRender;
  RenderTarget* mTarget = nullptr;
  Shader* mGeomShader = nullptr;
  ShaderTextured* mTexturedShader = nullptr;
  DrawState mState;
  bool mDirty = true;
  int mShaderMode = kShaderMultiply;
  math::Color mColor{1.0f, 1.0f, 1.0f, 1.0f};
  uint32_t mPackedColor = 0;
  bool mColorPacked = false;
  bool mOwnsFrame = false;
};

inline void GraphicsFriend::SetGraphics(Graphics* graphics) {
  mGraphics = graphics;
  mRender = graphics ? graphics->mRender : nullptr;
  mState = graphics ? &graphics->mState : nullptr;
}

inline void GraphicsFriend::SetShader(ShaderImpl* program) {
  if (mState->mShader == program) return;
  mState->mShader = program;
  mGraphics->mDirty = true;
}

inline void GraphicsFriend::SetVertexBuffer(VertexBufferImpl* buffer) {
  if (mState->mVertexBuffer == buffer) return;
  mState->mVertexBuffer = buffer;
  mGraphics->mDirty = true;
}

inline void GraphicsFriend::SetIndexBuffer(IndexBufferImpl* buffer) {
  if (mState->mIndexBuffer == buffer) return;
  mState->mIndexBuffer = buffer;
  mGraphics->mDirty = true;
}

inline VNResultEnum GraphicsFriend::ApplyState() {
  const VNResultEnum result = mRender->SetState(*mState, mGraphics->mDirty);
  if (result == VN_OK) mGraphics->mDirty = false;
  return result;
}

inline uint32_t GraphicsFriend::GetPackedColor() { return mGraphics->GetPackedColor(); }

}  // namespace render
