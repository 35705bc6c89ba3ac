#pragma once
#include "Core/Layer/ImageLayer.h"
#include "Core/Math/Rect.h"

// A slider's bar: draws only the part of its image inside the fill rectangle, so the bar shows from
// its left end up to the knob.
class SliderLayer : public layer::ImageLayer {
 public:
  // Owns the image; the fill rectangle starts as the whole image.
  explicit SliderLayer(render::Image* image);

  VNResultEnum DrawContent(render::Graphics* graphics) override;

  // Width of the shown part, clamped to 0 .. image width.
  void SetFillWidth(float width);

  math::Rect mFill;
  float mImageWidth = 0.0f;
  float mImageHeight = 0.0f;
};
