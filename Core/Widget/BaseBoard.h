#pragma once
#include "Core/Widget/Frame.h"
#include "Core/Widget/WidgetHitTestListener.h"
#include "Core/Widget/WidgetListener.h"

namespace widget {

// A frame that is its own widget listener (draw callbacks on its hit layer) and its own hit-test
// listener. Root screens derive from it and build their content in Create.
class BaseBoard : public Frame, public WidgetListener, public WidgetHitTestListener {
 public:
  BaseBoard();
  // Builds the content; called after the hit rectangle is set, before the board is shown.
  virtual VNResultEnum Create();
};

}  // namespace widget
