#pragma once
// Mouse events as the layer tree sees them, the records of one search, the receivers' interface and
// the process-wide per-event handlers that every delivery goes through.
#include <cstdint>

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"
#include "Core/Base/Result.h"
#include "Core/Math/Point.h"

namespace layer {

class HitTestListener;
class Layer;

// The record handed to an event kind's handler for one delivery.
struct HitTestParam {
  Layer* mHitLayer = nullptr;  // the layer the point actually hit
  math::Point3 mHitPoint;      // in the hit layer's space
  Layer* mLayer = nullptr;     // the receiving layer (hit layer, listening or bubbling ancestor)
  math::Point3 mPoint;         // in the receiving layer's space
  HitTestListener* mListener = nullptr;
  int32_t mResult = 1;          // 0 handled, 1 pass on, 2 taken by the receiving layer
  bool mBubbling = false;       // a bubbled copy for an ancestor
  bool mHandledBelow = false;   // a lower receiver had handled the event when this copy was made
};

// Declares one event kind: its record type, handler handle and default handler. The handle is a
// process-wide function-local static holding the default until somebody replaces it; an empty
// handle makes searches of that kind deliver nothing.
#define QM_LAYER_MOUSE_EVENT_HANDLER(Event)                                                  \
  using HandlerDelegate = base::Delegate2<HitTestParam&, const Event&, VNResultEnum>;       \
  using HandlerPtr = base::DelegatePtr<HandlerDelegate>;                                     \
  static HandlerPtr& Handler();                                                              \
  static VNResultEnum DefaultHandler(HitTestParam& param, const Event& event);

struct OnMouseDown {
  int32_t mButton = 0;
  QM_LAYER_MOUSE_EVENT_HANDLER(OnMouseDown)
};
struct OnMouseUp {
  int32_t mButton = 0;
  QM_LAYER_MOUSE_EVENT_HANDLER(OnMouseUp)
};
struct OnMouseMove {
  QM_LAYER_MOUSE_EVENT_HANDLER(OnMouseMove)
};
// A move with a button held.
struct OnMouseDrag {
  QM_LAYER_MOUSE_EVENT_HANDLER(OnMouseDrag)
};
struct OnMouseWheel {
  int16_t mDelta = 0;  // negative: turned towards the user
  QM_LAYER_MOUSE_EVENT_HANDLER(OnMouseWheel)
};

#undef QM_LAYER_MOUSE_EVENT_HANDLER

// One link per layer on the way down a search.
struct HitContext {
  math::Point3* mPoint = nullptr;  // the point in this layer's space
  Layer* mLayer = nullptr;
  HitTestListener* mListener = nullptr;
  HitContext* mParent = nullptr;  // the link of the nearest ancestor with a listener
};

// One per search.
template <class Event>
struct HitTestState {
  const Event* mEvent = nullptr;
  typename Event::HandlerPtr mHandler;
  int32_t mResult = 1;
  math::Point3 mHitPoint;
  Layer* mHitLayer = nullptr;
  Layer* mTaker = nullptr;  // the layer that answered 2
};

// Receiver of the mouse events that reach a layer; not owned by the layer. During a call the copy
// fields hold the delivery; the receiver answers by writing mResult (it starts at the search's code,
// 0 for a direct hit, so doing nothing handles the event).
class HitTestListener {
 public:
  // Bits of mBubbleFlags: which events a descendant's delivery bubbles up to this listener.
  enum BubbleBits : uint32_t {
    kBubbleMouseDown = 1u << 0,
    kBubbleMouseUp = 1u << 1,
    kBubbleMouseMove = 1u << 3,
    kBubbleMouseDrag = 1u << 4,
    kBubbleMouseWheel = 1u << 5,
  };

  HitTestListener() = default;
  virtual ~HitTestListener() = default;

  virtual VNResultEnum OnMouseDown(math::Point3& point, int button);
  virtual VNResultEnum OnMouseUp(math::Point3& point, int button);
  // Never raised: a double click reaches layers as a second press.
  virtual VNResultEnum OnMouseDoubleClick(math::Point3& point, int button);
  virtual VNResultEnum OnMouseMove(math::Point3& point);
  virtual VNResultEnum OnMouseDrag(math::Point3& point);
  virtual VNResultEnum OnMouseWheel(math::Point3& point, int delta);
  // Bubbled from a descendant (only for the kinds whose bit is set).
  virtual VNResultEnum OnChildMouseDown(math::Point3& point, int button);
  virtual VNResultEnum OnChildMouseUp(math::Point3& point, int button);
  virtual VNResultEnum OnChildMouseDoubleClick(math::Point3& point, int button);
  virtual VNResultEnum OnChildMouseMove(math::Point3& point);
  virtual VNResultEnum OnChildMouseDrag(math::Point3& point);
  virtual VNResultEnum OnChildMouseWheel(math::Point3& point, int delta);

  // The current delivery.
  Layer* mHitLayer = nullptr;
  Layer* mLayer = nullptr;
  math::Point3 mPoint;
  int32_t mResult = 0;
  bool mHandledBelow = false;
  uint32_t mBubbleFlags = 0;
};

// A whole search of one event kind on root's subtree, with point in root's parent space. result
// receives the final code (stays 1 when the kind's handler is empty); a failed delivery is returned.
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseDown& event, int32_t& result);
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseUp& event, int32_t& result);
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseMove& event, int32_t& result);
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseDrag& event, int32_t& result);
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseWheel& event, int32_t& result);

}  // namespace layer
