#include "Core/Layer/TextLayer.h"

#include <cmath>

#include "Core/Layer/ContentDrawScope.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"

namespace layer {

TextLayer::TextLayer() = default;

TextLayer::TextLayer(const resource::ResourcePtr<render::Font>& font, const std::u16string& text, float wrapWidth,
                     float lineSpacing, uint32_t alignment, bool fitToText)
    : mFont(font), mText(text), mFitToText(fitToText) {
  mFormat.mWrapWidth = wrapWidth;
  mFormat.mLineSpacing = lineSpacing;
  mFormat.mAlignment = alignment;
  mHasContent = true;
  mLocalBoxValid = false;
}

VNResultEnum TextLayer::DrawContent(render::Graphics* graphics) {
  if (!mFont || mText.empty()) return VN_OK;
  ContentDrawScope scope(graphics, this, true);
  render::Font* savedFont = graphics->mFont;
  graphics->mFont = mFont.Get();
  {
    auto request = graphics->DrawText(&mText);
    request->mFormat = mFormat;
    request->mFormat.mFitToText = mFitToText;
    request->mHorizontalAnchor = mHorizontalAnchor;
    request->mVerticalAnchor = mVerticalAnchor;
  }
  // A context without a font keeps the layer's.
  if (savedFont) graphics->mFont = savedFont;
  return VN_OK;
}

void TextLayer::Measure(math::Box3& box) {
  box.Reset();
  if (!mFont || mText.empty()) return;
  auto request = mFont->MeasureText(&mText);
  request->mFormat = mFormat;
  request->mFormat.mFitToText = mFitToText;
  request->mHorizontalAnchor = mHorizontalAnchor;
  request->mVerticalAnchor = mVerticalAnchor;
  request->mOutBox = &box;
}

void TextLayer::UpdateBounds() { Measure(mLocalBox); }

bool TextLayer::HitTestPoint(const math::Point3&) { return true; }

void TextLayer::SnapToPixels() {
  if (!mFont || mText.empty()) return;
  Measure(mLocalBox);
  const float x = std::floor(mPosition.x + mLocalBox.min.x) - mLocalBox.min.x;
  const float y = std::floor(mPosition.y + mLocalBox.min.y) - mLocalBox.min.y;
  if (x != mPosition.x) {
    mPosition.x = x;
    mTransformChanged = true;
    mOuterBoxValid = false;
  }
  if (y != mPosition.y) {
    mPosition.y = y;
    mTransformChanged = true;
    mOuterBoxValid = false;
  }
}

}  // namespace layer
