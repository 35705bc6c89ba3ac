#pragma once
#include "Core/Layer/HitTest.h"

namespace widget {

class Widget;
struct MouseCapture;

// The hit-test listener that widgets give to their layers: a press activates the widget's frame and
// takes the capture for a widget that wants it, moves keep the frame's mouse-over widget, and an
// enabled widget gets the OnWidget operations. Never changes the delivery's result by itself.
class WidgetHitTestListener : public layer::HitTestListener {
 public:
  explicit WidgetHitTestListener(Widget* widget = nullptr) : mWidget(widget) {}

  VNResultEnum OnMouseDown(math::Point3& point, int button) override;
  VNResultEnum OnMouseUp(math::Point3& point, int button) override;
  VNResultEnum OnMouseDoubleClick(math::Point3& point, int button) override;
  VNResultEnum OnMouseMove(math::Point3& point) override;
  VNResultEnum OnMouseDrag(math::Point3& point) override;
  VNResultEnum OnMouseWheel(math::Point3& point, int delta) override;

  virtual VNResultEnum OnWidgetMouseDown(math::Point3& point, int button);
  virtual VNResultEnum OnWidgetMouseUp(math::Point3& point, int button);
  virtual VNResultEnum OnWidgetMouseDoubleClick(math::Point3& point, int button);
  virtual VNResultEnum OnWidgetMouseMove(math::Point3& point);
  virtual VNResultEnum OnWidgetMouseDrag(math::Point3& point);
  virtual VNResultEnum OnWidgetMouseWheel(math::Point3& point, int delta);
  // The capture record of a press: this widget, the receiving layer, the point, parent space.
  virtual VNResultEnum GetCaptureInfo(const math::Point3& point, MouseCapture& record);

  Widget* mWidget;
};

// For layers that must swallow the mouse without being widgets: presses activate the owner's frame,
// moves clear its mouse-over widget, and nothing behind the layer receives them.
class TrapHitTestListener : public layer::HitTestListener {
 public:
  explicit TrapHitTestListener(Widget* owner = nullptr) : mOwner(owner) {}

  VNResultEnum OnMouseDown(math::Point3& point, int button) override;
  VNResultEnum OnMouseDoubleClick(math::Point3& point, int button) override;
  VNResultEnum OnMouseMove(math::Point3& point) override;
  VNResultEnum OnMouseDrag(math::Point3& point) override;

  Widget* mOwner;
};

}  // namespace widget
