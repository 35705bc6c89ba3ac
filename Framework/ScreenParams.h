#pragma once
#include <cstdint>

#include "Core/Base/Result.h"
#include "Core/Input/Win32/MonitorList.h"
#include "Core/Math/Matrix4.h"
#include "Core/Math/Rect.h"
#include "Core/Render/RenderInitParam.h"

namespace render {
class Render;
}

namespace framework {

// The result record of one screen fit: window geometry, the screen's render parameters and the
// off-screen target's set-up.
struct ScreenParams {
  std::int32_t mX = 0;
  std::int32_t mY = 0;
  std::uint32_t mOuterWidth = 0;
  std::uint32_t mOuterHeight = 0;
  render::RenderInitParam mRenderParam = MakeDefaultRenderParam();
  // A window was asked for but does not fit the work area: the record is for full screen.
  bool mWindowedRefused = false;
  // Draw through an off-screen target of mTargetWidth x mTargetHeight.
  bool mOffScreen = false;
  std::uint32_t mTargetWidth = 0;
  std::uint32_t mTargetHeight = 0;
  math::Matrix4 mTargetProjection;
  float mTargetViewportScaleX = 1.0f;
  float mTargetViewportScaleY = 1.0f;
  float mTargetViewportOffsetX = 0.0f;
  float mTargetViewportOffsetY = 0.0f;

 private:
  static render::RenderInitParam MakeDefaultRenderParam() {
    render::RenderInitParam param;
    param.mWindowed = true;
    param.mBuildProjection = true;
    return param;
  }
};

// What a fit leaves in the application: the window-pixel to design mapping, the shown part of the
// design space, the bars (design units when drawing directly, client pixels with a target) and how
// the target is drawn onto the screen.
struct ScreenFitResults {
  float mScaleX = 1.0f;
  float mScaleY = 1.0f;
  float mOffsetX = 0.0f;
  float mOffsetY = 0.0f;
  math::Rect mViewport;
  bool mBars = false;
  bool mBarsVertical = false;
  math::Rect mBar1;
  math::Rect mBar2;
  float mDrawScaleX = 1.0f;
  float mDrawScaleY = 1.0f;
  float mDrawCentreX = 0.0f;
  float mDrawCentreY = 0.0f;

  // ((x + offset x) * scale x, (y + offset y) * scale y).
  void ToLogical(float x, float y, float& outX, float& outY) const {
    outX = (x + mOffsetX) * mScaleX;
    outY = (y + mOffsetY) * mScaleY;
  }
};

// The design space: design width x height inside a band wide width x height, centred on it.
struct DesignSize {
  std::uint32_t mWidth = 0;
  std::uint32_t mHeight = 0;
  std::uint32_t mWideWidth = 0;
};

// Size of the monitor a fit falls back to when there is none, or it reports a size of 0.
constexpr std::int32_t kVirtualMonitorWidth = 1366;
constexpr std::int32_t kVirtualMonitorHeight = 768;

// The first primary monitor of the list, else the first one. A list without monitors, or a
// monitor of size 0 (headless drivers), gives a virtual 1366x768 monitor at (0, 0), work area the
// same, and a log line; false then.
bool ChooseFitMonitor(const app::MonitorList& monitors, app::MonitorInfo& out);

// Fits the design space to the monitor for the requested mode. The design sizes must be non-zero
// and the wide width at least the design width. Fails only when the renderer's projection fails;
// the record is then incomplete.
VNResultEnum FitScreenToMonitor(const app::MonitorInfo& monitor, const DesignSize& design, bool windowed,
                                render::Render& render, ScreenParams& params, ScreenFitResults& results);

// True when a window with a wide width x design height client area does not fit the work area.
bool IsWorkAreaTooSmallFor(const app::MonitorInfo& monitor, const DesignSize& design);

}  // namespace framework
