#include "Framework/ScreenParams.h"

#include "Core/App/Win32/WindowWin32.h"
#include "Core/Base/LogMessage.h"
#include "Core/Render/Render.h"
#include "Framework/AspectRatio.h"

namespace framework {

bool ChooseFitMonitor(const app::MonitorList& monitors, app::MonitorInfo& out) {
  const app::MonitorInfo* chosen = nullptr;
  for (int i = 0; i < monitors.GetCount(); ++i) {
    if (monitors.GetMonitor(i)->primary) {
      chosen = monitors.GetMonitor(i);
      break;
    }
  }
  if (chosen == nullptr) chosen = monitors.GetMonitor(0);
  if (chosen != nullptr && chosen->monitor.width > 0 && chosen->monitor.height > 0) {
    out = *chosen;
    return true;
  }
  // Every ratio of the fit divides by the monitor's size.
  const app::MonitorRect rect{0, 0, kVirtualMonitorWidth, kVirtualMonitorHeight};
  out = app::MonitorInfo{rect, rect, true};
  base::LogBlock(u"No monitor with a size to fit the screen to: using a virtual %dx%d monitor\n") %
      kVirtualMonitorWidth % kVirtualMonitorHeight;
  return false;
}

bool IsWorkAreaTooSmallFor(const app::MonitorInfo& monitor, const DesignSize& design) {
  int outerWidth = 0;
  int outerHeight = 0;
  app::WindowWin32::ClientToWindowSize(static_cast<int>(design.mWideWidth), static_cast<int>(design.mHeight),
                                       outerWidth, outerHeight);
  return outerHeight > monitor.work.height || outerWidth > monitor.work.width;
}

VNResultEnum FitScreenToMonitor(const app::MonitorInfo& monitor, const DesignSize& design, bool windowed,
                                render::Render& render, ScreenParams& params, ScreenFitResults& results) {
  const std::uint32_t dWidth = design.mWidth;
  const std::uint32_t dHeight = design.mHeight;
  render::RenderInitParam& rp = params.mRenderParam;

  bool fullScreen = !windowed;
  if (windowed) {
    int outerWidth = 0;
    int outerHeight = 0;
    app::WindowWin32::ClientToWindowSize(static_cast<int>(design.mWideWidth), static_cast<int>(dHeight), outerWidth,
                                         outerHeight);
    rp.mWidth = design.mWideWidth;
    rp.mHeight = dHeight;
    params.mOuterWidth = static_cast<std::uint32_t>(outerWidth);
    params.mOuterHeight = static_cast<std::uint32_t>(outerHeight);
    if (!IsWorkAreaTooSmallFor(monitor, design)) {
      params.mX = (monitor.work.width - outerWidth) / 2 + monitor.work.x;
      params.mY = (monitor.work.height - outerHeight) / 2 + monitor.work.y;
      rp.mWindowed = true;
    } else {
      params.mWindowedRefused = true;
      fullScreen = true;
    }
  }
  if (fullScreen) {
    rp.mWidth = static_cast<std::uint32_t>(monitor.monitor.width);
    rp.mHeight = static_cast<std::uint32_t>(monitor.monitor.height);
    params.mOuterWidth = rp.mWidth;
    params.mOuterHeight = rp.mHeight;
    params.mX = monitor.monitor.x;
    params.mY = monitor.monitor.y;
    rp.mWindowed = false;
  }

  const std::uint32_t cw = rp.mWidth;
  const std::uint32_t ch = rp.mHeight;
  const float fcw = static_cast<float>(cw);
  const float fch = static_cast<float>(ch);
  const render::AspectRatio d(dWidth, dHeight);
  const render::AspectRatio w(design.mWideWidth, dHeight);
  const render::AspectRatio o(cw, ch);

  results.mBars = false;
  results.mBarsVertical = false;
  results.mBar1 = math::Rect();
  results.mBar2 = math::Rect();
  const bool narrower = d.height * o.width / o.height < d.width || o.width < d.width * o.height / d.height;
  const bool wider = !narrower && (w.width * o.height / w.height < o.width || w.width < w.height * o.width / o.height);
  std::uint32_t usedWidth = cw;
  std::uint32_t usedHeight = ch;
  render::AspectRatio shown = o;
  if (wider) {
    usedHeight = ch;
    usedWidth = ch * w.width / w.height;
    shown = w;
    results.mBars = true;
    results.mBarsVertical = true;
    const float barWidth = (fcw - static_cast<float>(usedWidth)) * 0.5f;
    results.mBar1 = math::Rect(0.0f, 0.0f, barWidth, fch);
    results.mBar2 = math::Rect(fcw - barWidth, 0.0f, barWidth, fch);
  } else if (narrower) {
    usedWidth = cw;
    usedHeight = cw * d.height / d.width;
    shown = d;
    results.mBars = true;
    const float barHeight = (fch - static_cast<float>(usedHeight)) * 0.5f;
    results.mBar1 = math::Rect(0.0f, 0.0f, fcw, barHeight);
    results.mBar2 = math::Rect(0.0f, fch - barHeight, fcw, barHeight);
  }

  const float vh = static_cast<float>(dHeight);
  const float vw = static_cast<float>(shown.width * dHeight / shown.height);
  const float vx = (static_cast<float>(dWidth) - vw) * 0.5f;
  const float vy = 0.0f;
  results.mViewport = math::Rect(vx, vy, vw, vh);

  const float g = static_cast<float>(usedWidth);
  const float h = static_cast<float>(usedHeight);
  results.mScaleX = vw / g;
  results.mScaleY = static_cast<float>(dHeight) / h;
  results.mOffsetX = (g - fcw) * 0.5f + vx / results.mScaleX;
  results.mOffsetY = (h - fch) * 0.5f;

  if (usedHeight > dHeight) {
    params.mOffScreen = true;
    rp.mBuildProjection = true;
    params.mTargetWidth = dHeight * shown.width / shown.height;
    params.mTargetHeight = dHeight;
    math::Matrix4 projection;
    const VNResultEnum result = render.BuildProjection(vw, vh, nullptr, projection);
    if (result != VN_OK) return result;
    math::Matrix4 target;
    target.Translate(math::Point3(-vx, -vy, 0.0f));
    params.mTargetProjection = target * projection;
    params.mTargetViewportOffsetX = -vx;
    params.mTargetViewportOffsetY = -vy;
    results.mDrawScaleX = g / vw;
    results.mDrawScaleY = h / vh;
    results.mDrawCentreX = fcw * 0.5f;
    results.mDrawCentreY = fch * 0.5f;
  } else {
    params.mOffScreen = false;
    rp.mBuildProjection = false;
    const float sx = g / vw;
    const float sy = h / vh;
    const float ox = (fcw - g) * 0.5f;
    const float oy = (fch - h) * 0.5f;
    math::Matrix4 projection;
    const VNResultEnum result = render.BuildProjection(fcw, fch, nullptr, projection);
    if (result != VN_OK) return result;
    math::Matrix4 screen;
    screen.Translate(math::Point3(-vx, -vy, 0.0f));
    screen.Scale(math::Point3(sx, sy, 1.0f));
    screen.Translate(math::Point3(ox, oy, 0.0f));
    rp.mProjection = screen * projection;
    rp.mViewportScaleX = sx;
    rp.mViewportScaleY = sy;
    rp.mViewportOffsetX = ox / sx - vx;
    rp.mViewportOffsetY = oy / sy - vy;
    if (results.mBars) {
      for (math::Rect* bar : {&results.mBar1, &results.mBar2}) {
        *bar = math::Rect((bar->x - ox) / sx + vx, (bar->y - oy) / sy + vy, bar->width / sx, bar->height / sy);
      }
    }
  }
  return VN_OK;
}

}  // namespace framework
