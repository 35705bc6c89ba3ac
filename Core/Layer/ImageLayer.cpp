#include "Core/Layer/ImageLayer.h"

#include "Core/Layer/ContentDrawScope.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

namespace layer {

namespace {

// Start of the image along one axis relative to the origin, for an anchor and a size.
float ImageLayerAnchorStart(int anchor, float size) {
  if (anchor == ImageLayer::kAnchorEnd) return -size;
  if (anchor == ImageLayer::kAnchorCentre) return -size / 2.0f;
  return 0.0f;
}

}  // namespace

ImageLayer::ImageLayer() {
  mHasContent = true;
  mLocalBoxValid = false;
}

ImageLayer::~ImageLayer() {
  if (mOwnsImage) delete mImage;
}

void ImageLayer::SetImage(render::Image* image, bool owns) {
  if (mOwnsImage && mImage != image) delete mImage;
  mImage = image;
  mOwnsImage = owns;
}

VNResultEnum ImageLayer::DrawContent(render::Graphics* graphics) {
  if (!mImage) return VN_OK;
  ContentDrawScope scope(graphics, this, true);
  auto request = graphics->DrawImage(mImage);
  request->mHorizontalAnchor = mHorizontalAnchor;
  request->mVerticalAnchor = mVerticalAnchor;
  return VN_OK;  // the request draws as it goes out of scope, before the context is restored
}

void ImageLayer::UpdateBounds() {
  mLocalBox.Reset();
  if (!mImage) return;
  const float width = static_cast<float>(mImage->GetWidth());
  const float height = static_cast<float>(mImage->GetHeight());
  const float x = ImageLayerAnchorStart(mHorizontalAnchor, width);
  const float y = ImageLayerAnchorStart(mVerticalAnchor, height);
  mLocalBox.AddPoint(math::Point3(x, y, 0.0f));
  mLocalBox.AddPoint(math::Point3(x + width, y + height, 0.0f));
}

bool ImageLayer::HitTestPoint(const math::Point3& local) {
  if (!mImage) return false;
  const float width = static_cast<float>(mImage->GetWidth());
  const float height = static_cast<float>(mImage->GetHeight());
  const float x = local.x - ImageLayerAnchorStart(mHorizontalAnchor, width);
  const float y = local.y - ImageLayerAnchorStart(mVerticalAnchor, height);
  const float px = x + 0.5f;
  const float py = y + 0.5f;
  // Outside this range the pixel is outside the image anyway; keeps the conversion defined.
  if (!(px > -1.0f && px < width + 1.0f && py > -1.0f && py < height + 1.0f)) return false;
  return mImage->HitTest(static_cast<int>(px), static_cast<int>(py));
}

}  // namespace layer
