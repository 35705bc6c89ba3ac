#pragma once
#include <string>

#include "Core/Widget/Frame.h"
#include "Core/Widget/WidgetHitTestListener.h"
#include "Core/Widget/WidgetListener.h"

namespace widget {

class DialogEffects;

// A modal frame that comes into view and leaves through the animated effects that the
// configuration assigns to its name. Without effects it is shown and closed at once.
class Dialog : public Frame, public WidgetListener, public WidgetHitTestListener {
 public:
  Dialog();
  // Detaches the running effects.
  ~Dialog() override;

  // Builds the content; the game calls it before showing the dialog.
  virtual VNResultEnum Create() { return VN_OK; }
  // The show effect finished (at once without effects).
  virtual VNResultEnum OnShown() { return VN_OK; }
  // Queues the dialog's removal at the frame manager (deleted when asked by Hide).
  virtual VNResultEnum Close();
  // Plays the hide effect, then closes; without effects closes at once.
  virtual VNResultEnum Hide(bool deleteAfterClose);
  // Detaches the previous effects; with new ones runs them under the frame manager and starts the
  // show, otherwise calls OnShown.
  virtual VNResultEnum SetEffects(DialogEffects* effects);

  // The effects of the dialog's name. An effect that cannot be made or started is logged and the
  // dialog is shown without effects, so it never stays modal without OnShown.
  VNResultEnum OnShow() override;
  VNResultEnum OnDetach() override;

  // The effects object clears its link when it goes.
  void ForgetEffects() { mEffects = nullptr; }
  DialogEffects* GetEffects() const { return mEffects; }

  std::string mName;
  bool mDeleteAfterClose = false;

 private:
  void DetachEffects();

  DialogEffects* mEffects = nullptr;
};

}  // namespace widget
