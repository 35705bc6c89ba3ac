#pragma once
#include <cstdint>
#include <vector>

#include "Core/Base/DeferredDeleteManager.h"
#include "Core/Base/Task.h"
#include "Core/Math/Point.h"
#include "Core/Widget/MouseCapture.h"

namespace render {
class Graphics;
}

namespace widget {

class Frame;

struct FrameEntry {
  Frame* mFrame = nullptr;
  int32_t mMode = 0;  // FrameManager::Mode
};

struct FrameAddRequest {
  Frame* mFrame = nullptr;
  int32_t mMode = 0;
  bool mMakeActive = false;
};

struct FrameRemoveRequest {
  Frame* mFrame = nullptr;
  bool mDeleteAfter = false;
};

// Keeps the frames on screen in a stack ordered by mode, shows and removes them (at once or at the
// next update), tracks the active and the mouse-over frame and the mouse capture, and routes every
// mouse event to the capturing widget or down the stack, top-most frame first. A frame is shown at
// most once. Its child tasks are the dialog effects.
class FrameManager : public base::Task, public base::DeferredDeleteManager {
 public:
  enum Mode {
    kModeNormal = 0,
    kModeRaised = 1,  // above every normal frame
    kModeModal = 2,   // above every other frame; frames below get no mouse events
  };

  FrameManager();
  // Deletes the queued objects and the child tasks; shown frames are not deleted (only unlinked).
  ~FrameManager() override;

  // A frame already shown is restacked by its new mode without a second OnShow.
  VNResultEnum AddFrame(Frame* frame, bool raised, bool makeActive, bool deferred);
  VNResultEnum ShowModal(Frame* frame, bool deferred);
  // 1 for a frame that is not shown (after refreshing the mouse-over); a queued removal of such a
  // frame is nothing to do. Releases a capture held inside the frame.
  VNResultEnum RemoveFrame(Frame* frame, bool deleteAfter, bool deferred);
  // Used at shutdown. With deleteFrames the active and mouse-over frames and the capture are cleared.
  VNResultEnum RemoveAllFrames(bool deleteFrames, bool clearWidgets);
  // Frames' updates, then the queued shows, then the queued removals, then the deletion queue.
  VNResultEnum Update(float dt) override;
  VNResultEnum Draw(render::Graphics* graphics);

  // Points in design coordinates.
  VNResultEnum OnMouseDown(const math::Point2& point, int button);
  VNResultEnum OnMouseUp(const math::Point2& point, int button);
  // Searched as a press.
  VNResultEnum OnMouseDoubleClick(const math::Point2& point, int button);
  VNResultEnum OnMouseMove(const math::Point2& point);
  VNResultEnum OnMouseDrag(const math::Point2& point);
  VNResultEnum OnMouseWheel(const math::Point2& point, int delta);
  // The mouse-move handling again at the last cursor position.
  VNResultEnum RefreshMouseOver();

  // Makes frame the active frame (OnDeactivate to the old one, OnActivate to it).
  VNResultEnum ActivateFrame(Frame* frame);

  Frame* GetActiveFrame() const { return mActiveFrame; }
  void SetActiveFrame(Frame* frame) { mActiveFrame = frame; }
  Frame* GetMouseOverFrame() const { return mMouseOverFrame; }
  void SetMouseOverFrame(Frame* frame) { mMouseOverFrame = frame; }
  const MouseCapture& GetCapture() const { return mCapture; }
  // Copies the record and marks its widget as holding the capture.
  void SetCapture(const MouseCapture& capture);
  // Clears the widget's mark and the record; cannot fail.
  void ReleaseCapture();
  const std::vector<FrameEntry>& GetShown() const { return mShown; }
  const math::Point2& GetCursor() const { return mCursor; }

  // A frame deleted while shown: drop every link to it.
  void ForgetFrame(Frame* frame);
  // A widget deleted while it holds the capture.
  void ForgetCapturedWidget(Widget* widget);

 private:
  VNResultEnum ShowNow(Frame* frame, int32_t mode, bool makeActive);
  VNResultEnum RemoveNow(Frame* frame, bool deleteAfter, bool queued);
  FrameEntry* FindEntry(Frame* frame);
  // Takes the frame's entry out (the entries above move down).
  void EraseEntry(Frame* frame);
  // Drops a capture held by a widget of frame.
  void ReleaseCaptureIn(Frame* frame);
  // Queued requests naming frame will not run.
  void CancelRequests(Frame* frame);
  template <class Event>
  VNResultEnum SearchFrames(const Event& event, int32_t& result);
  // Nobody handled the event: a press deactivates a non-modal active frame, a move or drag clears
  // the mouse-over frame.
  VNResultEnum Unhandled(bool press, bool move);
  // One mouse event: to the capturing widget's listener (captured), otherwise down the stack.
  template <class Event, class Captured>
  VNResultEnum Route(const math::Point2& point, const Event& event, bool press, bool move, const Captured& captured);

  Frame* mActiveFrame = nullptr;
  Frame* mMouseOverFrame = nullptr;
  std::vector<FrameEntry> mShown;  // bottom first
  std::vector<FrameAddRequest> mAddQueues[2];
  int mAddCurrent = 0;
  std::vector<FrameRemoveRequest> mRemoveQueues[2];
  int mRemoveCurrent = 0;
  MouseCapture mCapture;
  math::Point2 mCursor;
};

}  // namespace widget
