#pragma once
#include <vector>

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"
#include "Core/Layer/Drawable.h"
#include "Core/Layer/HitTest.h"

namespace layer {

// Empty base of the classes that work on layers from outside (widget listeners).
class LayerAccess {};

// A node of the retained scene tree. Draws its content, then its children in list order (later
// children in front); mouse searches walk the children the other way. A layer does not own its
// children. Destroying a layer unlinks it from its parent and its children from it.
class Layer : public Drawable {
 public:
  using DrawCallback = base::Delegate2<render::Graphics*, Layer*, VNResultEnum>;
  using DrawCallbackPtr = base::DelegatePtr<DrawCallback>;
  using ChildIterator = std::vector<Layer*>::iterator;

  Layer() = default;
  ~Layer() override;

  // A plain layer is a group: nothing of its own.
  VNResultEnum DrawContent(render::Graphics* graphics) override;
  // Fine test after the box test; false for a plain layer.
  virtual bool HitTestPoint(const math::Point3& local);
  // The mouse walk iterates the children only through these.
  virtual ChildIterator ChildrenEnd() { return mChildren.end(); }
  virtual ChildIterator ChildrenBegin() { return mChildren.begin(); }

  // Nothing when hidden; else draw-before, transform, alpha, content, children, draw-after. The first
  // failure ends the walk and is returned.
  VNResultEnum Draw(render::Graphics* graphics);

  // Takes the layer from its old parent first; a child of this layer moves to the end.
  void AddChild(Layer* child);
  // Keeps the order of the others; nothing for a layer that is not a child.
  void RemoveChild(Layer* child);
  // Only when the position differs by more than the point tolerance.
  void SetPosition(const math::Point3& position);
  // Any different value.
  void SetY(float y);
  // Share the handle; the previous callback is released.
  void SetDrawBefore(const DrawCallbackPtr& callback) { mDrawBefore = callback; }
  void SetDrawAfter(const DrawCallbackPtr& callback) { mDrawAfter = callback; }

  // Recomposes the world transform when this layer or its parent moved.
  void UpdateTransform();
  // Refreshes the boxes of the subtree bottom-up; true when this layer's outer box was rebuilt.
  bool UpdateBoundsTree();
  // One level of the inverse transform (rotations about x and y are not undone).
  void ParentToLocal(const math::Point3& point, math::Point3& out) const;
  // From screen space into this layer's space, root first; tilted layers are passed over.
  void ScreenToLocal(const math::Point3& point, math::Point3& out) const;

  // One search step on this subtree (the state's result tells what happened).
  VNResultEnum DispatchMouseDown(HitContext* parent, HitTestState<OnMouseDown>& state);
  VNResultEnum DispatchMouseUp(HitContext* parent, HitTestState<OnMouseUp>& state);
  VNResultEnum DispatchMouseMove(HitContext* parent, HitTestState<OnMouseMove>& state);
  VNResultEnum DispatchMouseDrag(HitContext* parent, HitTestState<OnMouseDrag>& state);
  VNResultEnum DispatchMouseWheel(HitContext* parent, HitTestState<OnMouseWheel>& state);
  // One delivery to the layer of link, then the bubbling to its listening ancestors.
  VNResultEnum DeliverMouseDown(HitContext* link, bool bubbling, bool handledBelow, HitTestState<OnMouseDown>& state);
  VNResultEnum DeliverMouseUp(HitContext* link, bool bubbling, bool handledBelow, HitTestState<OnMouseUp>& state);
  VNResultEnum DeliverMouseMove(HitContext* link, bool bubbling, bool handledBelow, HitTestState<OnMouseMove>& state);
  VNResultEnum DeliverMouseDrag(HitContext* link, bool bubbling, bool handledBelow, HitTestState<OnMouseDrag>& state);
  VNResultEnum DeliverMouseWheel(HitContext* link, bool bubbling, bool handledBelow,
                                 HitTestState<OnMouseWheel>& state);
  // A whole search on this subtree as a root, point in this layer's parent space. handled becomes
  // true when a layer handled the event, false otherwise; untouched when the handler is empty.
  VNResultEnum RouteMouseMove(const math::Point3& point, const OnMouseMove& event, bool& handled);
  VNResultEnum RouteMouseDrag(const math::Point3& point, const OnMouseDrag& event, bool& handled);

  Layer* GetParent() const { return mParent; }
  const std::vector<Layer*>& GetChildren() const { return mChildren; }

  HitTestListener* mHitTestListener = nullptr;  // not owned
  bool mParentTransformChanged = false;
  bool mInheritAlpha = true;
  float mPassDownAlpha = 1.0f;  // handed to children that do not inherit
  float mWorldAlpha = 1.0f;     // own alpha times the inherited one; used by the content draw
  bool mChildrenTakeMouse = false;  // search the children although the layer is not mouse enabled

 private:
  template <class Event>
  friend struct LayerSearch;

  Layer* mParent = nullptr;
  std::vector<Layer*> mChildren;
  DrawCallbackPtr mDrawBefore;
  DrawCallbackPtr mDrawAfter;
};

}  // namespace layer
