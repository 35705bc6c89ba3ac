#include "Core/Layer/RectHitLayer.h"

namespace layer {

RectHitLayer::RectHitLayer() {
  mHasContent = true;
  mLocalBoxValid = false;
}

void RectHitLayer::UpdateBounds() {
  mLocalBox.Reset();
  mLocalBox.AddPoint(math::Point3(mRect.x, mRect.y, 0.0f));
  mLocalBox.AddPoint(math::Point3(mRect.x + mRect.width, mRect.y + mRect.height, 0.0f));
}

}  // namespace layer
