#pragma once
#include <cstdint>
#include <vector>

#include "Core/Base/DeferredDeleteManager.h"
#include "Core/Base/Result.h"

namespace layer {
class Layer;
}

namespace widget {

class Frame;
class FrameManager;
class Widget;
class WidgetListener;

// Kind code of a widget class: one function-local static per class, built from its parent kind on
// first use. Codes are handed out in the order the kinds are first asked for.
struct WidgetTypeId {
  // The root kind: id 0, level 0.
  WidgetTypeId() = default;
  // A kind one level below parent (takes the parent's next code).
  explicit WidgetTypeId(WidgetTypeId& parent);

  uint32_t mId = 0;
  int32_t mLevel = 0;
  uint8_t mDerivedCount = 0;
};

// An ordered list of child widgets; does not own them.
class WidgetContainer {
 public:
  WidgetContainer() = default;
  WidgetContainer(const WidgetContainer&) = delete;
  WidgetContainer& operator=(const WidgetContainer&) = delete;
  virtual ~WidgetContainer() = default;

  virtual VNResultEnum AddWidget(Widget* widget);
  // Erases the first entry equal to widget; 1 when it is not there.
  virtual VNResultEnum RemoveWidget(Widget* widget, bool flag);
  // With deleteChildren or recursive set, walks the children (recursive: their lists first; delete:
  // the child is deleted), then empties the list (also with both clear).
  virtual VNResultEnum ClearWidgets(bool deleteChildren, bool recursive, bool flag);

  const std::vector<Widget*>& GetWidgets() const { return mWidgets; }

 protected:
  std::vector<Widget*> mWidgets;
};

// A user-interface element above the layer tree: shows itself with one layer, holds child widgets
// whose layers hang under its own, and reports its events to one listener. A widget owns its
// children: deleting it deletes the subtree (their layers unlinked first).
class Widget : public WidgetContainer, public base::DeferredDeletable {
 public:
  Widget();
  ~Widget() override;

  // Takes the place of RemoveWidget.
  VNResultEnum RemoveWidget(Widget* widget, bool forgetInFrame) override;
  // Deleting children first forgets them in the frame and releases a capture they hold.
  VNResultEnum ClearWidgets(bool deleteChildren, bool recursive, bool flag) override;
  // Appends the child, gives it this widget's frame (and OnShow when shown), hangs its layer under
  // parentLayer (null: this widget's layer) and passes the disabled state on.
  virtual VNResultEnum AddChild(Widget* child, layer::Layer* parentLayer);
  // Undoes AddChild; 1 when child is not a child (after the notifications have run).
  virtual VNResultEnum RemoveChild(Widget* child, bool forgetInFrame);
  virtual WidgetTypeId& GetTypeId();

  // OnUpdate, then every child's UpdateTree.
  VNResultEnum UpdateTree(float seconds);
  // With a frame: store, OnAttach, children; with null: OnDetach, clear, children.
  VNResultEnum SetFrame(Frame* frame);
  // OnShow (manager given) or OnHide (null) to the listener, then the children.
  VNResultEnum SetFrameManager(FrameManager* manager);
  // Stores the own flag and passes the state to the children (this widget's listener is not told).
  VNResultEnum SetDisabled(bool disabled);
  VNResultEnum PropagateDisabled();
  // With installDrawCallbacks and a listener, the layer's draw callbacks call the listener's
  // OnDrawBefore and OnDrawAfter; otherwise they are cleared.
  void SetListener(WidgetListener* listener, bool installDrawCallbacks);
  // Deletes the previous layer when owned and different, then SetListener(current listener).
  void SetLayer(layer::Layer* layer, bool owns, bool installDrawCallbacks);
  // Drops the frame's mouse-over and focus links into this subtree.
  VNResultEnum ForgetInFrame();

  bool IsDisabled() const { return mDisabled || mInheritedDisabled; }
  Widget* GetParent() const { return mParent; }
  Frame* GetFrame() const { return mFrame; }
  WidgetListener* GetListener() const { return mListener; }
  layer::Layer* GetLayer() const { return mLayer; }
  bool OwnsLayer() const { return mOwnsLayer; }
  // The frame manager whose capture record names this widget (set while it holds the capture).
  FrameManager* GetCaptureManager() const { return mCaptureManager; }

  bool mAlternateDisabledNotice = false;  // report inherited changes through OnDisabledAlternate
  int32_t mTakesCapture = 0;              // a press makes the widget hold the mouse
  bool mCapturedMovesReachLayers = true;  // while captured, moves and drags search its own layer
  bool mDisabled = false;
  bool mInheritedDisabled = false;
  bool mMouseOver = false;    // the mouse is over this widget
  bool mMouseInside = false;  // the mouse is over a descendant
  bool mHoldsCapture = false;

 protected:
  // Frame construction: the frame is its own frame.
  void SetOwnFrame(Frame* frame) { mFrame = frame; }
  // Deletes every child (layers unlinked first); used by the destructors of widget and frame.
  void DeleteChildren();

 private:
  friend class FrameManager;

  // Sets the inherited flag of child to disabled, notifies it and passes it on.
  VNResultEnum SetInheritedDisabled(Widget* child, bool disabled);
  // Drops every pointer that others keep to this widget (frame links, capture).
  void ForgetPointers();

  Widget* mParent = nullptr;
  Frame* mFrame = nullptr;
  WidgetListener* mListener = nullptr;
  layer::Layer* mLayer = nullptr;
  bool mOwnsLayer = false;
  FrameManager* mCaptureManager = nullptr;
};

}  // namespace widget
