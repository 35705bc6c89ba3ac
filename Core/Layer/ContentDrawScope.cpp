#include "Core/Layer/ContentDrawScope.h"

#include "Core/Layer/Layer.h"
#include "Core/Render/Graphics.h"

namespace layer {

ContentDrawScope::ContentDrawScope(render::Graphics* graphics, Layer* layer, bool allowAdditive)
    : mGraphics(graphics),
      mTintMode(layer->mTintMode),
      mSavedTransform(graphics->mTransform),
      mSavedColor(graphics->GetColor()),
      mSavedShaderMode(graphics->GetShaderMode()),
      mSavedShader(graphics->GetTexturedShader()),
      mSavedTintAmount(graphics->mTintAmount) {
  graphics->mTransform = &layer->mWorldTransform;
  graphics->SetShaderMode(mTintMode ? render::Graphics::kShaderTint : render::Graphics::kShaderMultiply);
  graphics->SetColorRGBA(layer->mColor.r, layer->mColor.g, layer->mColor.b, layer->mWorldAlpha);
  if (mTintMode) graphics->mTintAmount = layer->mTintAmount;
  graphics->SetBlendMode(allowAdditive && layer->mAdditive ? 2 : 1);
}

ContentDrawScope::~ContentDrawScope() {
  mGraphics->SetShaderMode(mSavedShaderMode);
  if (mSavedShaderMode == render::Graphics::kShaderCustom) mGraphics->SetShader(mSavedShader);
  if (mTintMode) mGraphics->mTintAmount = mSavedTintAmount;
  mGraphics->SetColor(mSavedColor);
  mGraphics->mTransform = mSavedTransform;
}

}  // namespace layer
