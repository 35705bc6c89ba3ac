#pragma once
#include "Core/Base/Result.h"
#include "Core/Layer/Layer.h"
#include "Core/Math/Point.h"

namespace render {
class Graphics;
}

namespace widget {

struct MouseCapture;

// Receiver of a widget's life and input events; not owned by the widget. Every operation returns 0
// by default; the first failure ends the walk that raised it.
class WidgetListener : public layer::LayerAccess {
 public:
  virtual ~WidgetListener() = default;

  virtual VNResultEnum OnUpdate(float seconds);
  // Installed as the widget layer's draw callbacks.
  virtual VNResultEnum OnDrawBefore(render::Graphics* graphics, layer::Layer* layer);
  virtual VNResultEnum OnDrawAfter(render::Graphics* graphics, layer::Layer* layer);
  virtual VNResultEnum OnAttach();  // entered a frame
  virtual VNResultEnum OnDetach();  // left its frame
  virtual VNResultEnum OnShow();    // its frame was shown
  virtual VNResultEnum OnHide();    // its frame left the frame manager
  virtual VNResultEnum OnMouseOver(bool over);
  virtual VNResultEnum OnMouseInside(bool inside);
  virtual VNResultEnum OnDisabled(bool disabled);  // the inherited disabled state changed
  virtual VNResultEnum OnDisabledAlternate(bool disabled);
  virtual VNResultEnum OnKeyDown(int key);
  virtual VNResultEnum OnKeyUp(int key);
  virtual VNResultEnum OnChar(char16_t character);
  // While the widget holds the mouse; point is the cursor converted by MouseCapture::ToLocal.
  virtual VNResultEnum OnCapturedMouseDown(MouseCapture& capture, const math::Point3& point, int button);
  // Releases the capture and refreshes the mouse-over at the cursor.
  virtual VNResultEnum OnCapturedMouseUp(MouseCapture& capture, const math::Point3& point, int button);
  virtual VNResultEnum OnCapturedMouseDoubleClick(MouseCapture& capture, const math::Point3& point, int button);
  // Searches the widget's layer when its captured moves reach layers.
  virtual VNResultEnum OnCapturedMouseMove(MouseCapture& capture, const math::Point3& point);
  // As the move; a drag that no layer handles clears the frame's mouse-over widget.
  virtual VNResultEnum OnCapturedMouseDrag(MouseCapture& capture, const math::Point3& point);
  virtual VNResultEnum OnCapturedMouseWheel(MouseCapture& capture, const math::Point3& point, int delta);
};

}  // namespace widget
