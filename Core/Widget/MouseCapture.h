#pragma once
#include "Core/Math/Point.h"

namespace layer {
class Layer;
}

namespace widget {

class Widget;

// The widget holding the mouse, kept by the frame manager from a press to its release.
struct MouseCapture {
  MouseCapture() = default;
  MouseCapture(Widget* widget, layer::Layer* layer, const math::Point3& grabPoint, bool inParentSpace)
      : mWidget(widget), mLayer(layer), mGrabPoint(grabPoint), mInParentSpace(inParentSpace) {}

  // The cursor in the captured layer's space, or its parent's when mInParentSpace; (x, y, 0) when
  // that layer does not exist.
  math::Point3 ToLocal(float x, float y) const;

  Widget* mWidget = nullptr;  // null: nobody holds the mouse
  layer::Layer* mLayer = nullptr;
  math::Point3 mGrabPoint;  // in the layer's space at the press
  bool mInParentSpace = true;
};

}  // namespace widget
