#include "Core/Widget/BaseBoard.h"

#include "Core/Layer/RectHitLayer.h"

namespace widget {

BaseBoard::BaseBoard() : WidgetHitTestListener(this) {
  SetListener(static_cast<WidgetListener*>(this), true);
  GetHitLayer()->mHitTestListener = static_cast<WidgetHitTestListener*>(this);
}

VNResultEnum BaseBoard::Create() { return VN_OK; }

}  // namespace widget
