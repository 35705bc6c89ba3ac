#include "Game/Screens/HUDScrollBar.h"

#include <algorithm>

#include "Core/Layer/ImageLayer.h"
#include "Core/Render/Image.h"
#include "Game/Art/RuvFrameEntry.h"

HUDScrollBar::HUDScrollBar(file::ImageContainer* layout, layer::Layer* boardLayer)
    : root(std::make_unique<layer::Layer>()),
      slider(std::make_unique<layer::ImageLayer>()),
      bar(std::make_unique<layer::ImageLayer>()) {
  placePsdImage(bar.get(), layout, u"scroll/bar", math::Point2(0.0f, 0.0f));
  placePsdImage(slider.get(), layout, u"scroll/slider_in", math::Point2(0.0f, 0.0f));
  root->AddChild(bar.get());
  root->AddChild(slider.get());
  slider->SetY(kSliderTop);
  if (boardLayer) boardLayer->AddChild(root.get());
}

HUDScrollBar::~HUDScrollBar() {
  detachLayer(root.get());
  bar.reset();
  slider.reset();
  root.reset();
}

void HUDScrollBar::onMouseDown(int x, int y) {
  const render::Image* image = slider->GetImage();
  const float width = image ? static_cast<float>(image->GetWidth()) : 0.0f;
  const float height = image ? static_cast<float>(image->GetHeight()) : 0.0f;
  const float px = static_cast<float>(x);
  const float py = static_cast<float>(y);
  const math::Point3& at = slider->mPosition;
  if (at.x < px && px < at.x + width && at.y < py && py < at.y + height) dragState = 0;
}

void HUDScrollBar::onMouseMove(int x, int y) {
  (void)x;
  if (dragState != 0) return;
  const float t = std::clamp(static_cast<float>(y), kTrackTop, kTrackTop + kTrackLength);
  slider->SetY(t - kSliderAbovePointer);
  position = (t - kTrackTop) / kTrackLength;
}

void HUDScrollBar::onMouseUp() { dragState = -1; }

void HUDScrollBar::reset() {
  slider->SetY(kSliderTop);
  position = 0.0f;
}

void HUDScrollBar::syncSlider() { slider->SetY(position * kTrackLength + kSliderTop); }
