#pragma once
#include "Core/Widget/Widget.h"

namespace layer {
class RectHitLayer;
}
namespace math {
struct Rect;
}

namespace widget {

// A top-level widget: the unit the frame manager shows, stacks, activates and removes. Its layer is
// an owned rectangular hit layer, the root of all its widgets' layers. Deleting a frame deletes its
// widgets; a frame deleted while shown leaves its frame manager first.
class Frame : public Widget {
 public:
  // Mouse-over chains hold at most this many ancestors.
  static constexpr int kMaxAncestors = 255;

  Frame();
  ~Frame() override;

  WidgetTypeId& GetTypeId() override;
  // Called by the frame manager and the widget mouse handling on activation changes.
  virtual VNResultEnum OnActivate();
  virtual VNResultEnum OnDeactivate();

  // The rectangle in which the frame receives the mouse (its hit layer's rectangle).
  void SetHitRect(const math::Rect& rect);
  // Moves the mouse-over mark to widget (or none): OnMouseOver to the old and the new widget and
  // OnMouseInside to the ancestors that are not common to both. 1 when a widget has more than
  // kMaxAncestors ancestors (nothing changed then).
  VNResultEnum SetMouseOver(Widget* widget);

  FrameManager* GetManager() const { return mManager; }
  layer::RectHitLayer* GetHitLayer() const { return mHitLayer; }
  Widget* GetMouseOverWidget() const { return mMouseOverWidget; }
  Widget* GetFocusWidget() const { return mFocusWidget; }
  void SetFocusWidget(Widget* widget) { mFocusWidget = widget; }
  // Drops the links to a widget that is going away, without notifications.
  void ForgetWidget(Widget* widget);

  bool mActive = false;

 private:
  friend class FrameManager;

  FrameManager* mManager = nullptr;  // set while shown
  layer::RectHitLayer* mHitLayer;
  Widget* mMouseOverWidget = nullptr;
  Widget* mFocusWidget;
};

}  // namespace widget
