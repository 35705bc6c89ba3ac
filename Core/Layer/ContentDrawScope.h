#pragma once
// Private to the layer kinds: the context settings of one content draw, put back at the end.
#include "Core/Math/Color.h"

namespace math {
class Transform3D;
}
namespace render {
class Graphics;
class ShaderTextured;
}  // namespace render

namespace layer {

class Layer;

class ContentDrawScope {
 public:
  // Saves the context, then sets the layer's world transform, shader mode, colour (layer rgb, world
  // alpha), tint amount and blend mode (additive only when allowAdditive).
  ContentDrawScope(render::Graphics* graphics, Layer* layer, bool allowAdditive);
  // Restores shader, tint amount, colour and transform; the blend mode stays as the layer set it.
  ~ContentDrawScope();
  ContentDrawScope(const ContentDrawScope&) = delete;
  ContentDrawScope& operator=(const ContentDrawScope&) = delete;

 private:
  render::Graphics* mGraphics;
  bool mTintMode;
  math::Transform3D* mSavedTransform;
  math::Color mSavedColor;
  int mSavedShaderMode;
  render::ShaderTextured* mSavedShader;
  float mSavedTintAmount;
};

}  // namespace layer
