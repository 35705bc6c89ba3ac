#include "Core/Widget/MouseCapture.h"

#include "Core/Layer/Layer.h"

namespace widget {

math::Point3 MouseCapture::ToLocal(float x, float y) const {
  const layer::Layer* space = mLayer;
  if (space && mInParentSpace) space = space->GetParent();
  const math::Point3 point(x, y, 0.0f);
  if (!space) return point;
  math::Point3 local;
  space->ScreenToLocal(point, local);
  return local;
}

}  // namespace widget
