#include "Game/Screens/Options/SliderLayer.h"

#include <algorithm>

#include "Core/Layer/ContentDrawScope.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

SliderLayer::SliderLayer(render::Image* image) {
  SetImage(image, true);
  if (image != nullptr) {
    mImageWidth = static_cast<float>(image->GetWidth());
    mImageHeight = static_cast<float>(image->GetHeight());
  }
  mFill = math::Rect(0.0f, 0.0f, mImageWidth, mImageHeight);
}

void SliderLayer::SetFillWidth(float width) { mFill.width = std::clamp(width, 0.0f, mImageWidth); }

VNResultEnum SliderLayer::DrawContent(render::Graphics* graphics) {
  if (GetImage() == nullptr || mFill.width <= 0.0f) return VN_OK;
  layer::ContentDrawScope scope(graphics, this, true);
  auto request = graphics->DrawImagePart(GetImage(), mFill);
  request->mHorizontalAnchor = mHorizontalAnchor;
  request->mVerticalAnchor = mVerticalAnchor;
  return VN_OK;  // the request draws as it goes out of scope, before the context is restored
}
