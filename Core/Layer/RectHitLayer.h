#pragma once
#include "Core/Layer/Layer.h"
#include "Core/Math/Rect.h"

namespace layer {

// Draws nothing; its rectangle is a frame's hit area (set through the frame's SetHitRect).
class RectHitLayer : public Layer {
 public:
  RectHitLayer();

  void UpdateBounds() override;
  bool HitTestPoint(const math::Point3&) override { return true; }

  math::Rect mRect;
};

}  // namespace layer
