#include <gtest/gtest.h>

#include "Core/App/Win32/WindowWin32.h"
#include "Core/Input/Win32/MonitorList.h"
#include "Framework/AspectRatio.h"
#include "Framework/ScreenParams.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/RecordingRender.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

const framework::DesignSize kScreenFitDesign{1024, 768, 1366};

app::MonitorInfo ScreenFitMonitor(int width, int height) {
  return app::MonitorInfo{{0, 0, width, height}, {0, 0, width, height}, true};
}

struct ScreenFitCase {
  const char* name;
  int monitorWidth, monitorHeight;
  bool windowed;
  // Expected record.
  unsigned clientWidth, clientHeight;
  bool windowedResult, refused, offScreen;
  unsigned targetWidth, targetHeight;
  // Expected application results.
  math::Rect viewport;
  float scaleX, scaleY, offsetX, offsetY;
  bool bars, barsVertical;
  math::Rect bar1, bar2;  // in the units the fit leaves them in
  float drawScaleX, drawScaleY, drawCentreX, drawCentreY;
  float viewportScaleX, viewportScaleY, viewportOffsetX, viewportOffsetY;  // direct drawing only
};

void ExpectScreenFitRect(const math::Rect& expected, const math::Rect& actual, const char* what) {
  EXPECT_FLOAT_EQ(expected.x, actual.x) << what;
  EXPECT_FLOAT_EQ(expected.y, actual.y) << what;
  EXPECT_FLOAT_EQ(expected.width, actual.width) << what;
  EXPECT_FLOAT_EQ(expected.height, actual.height) << what;
}

const ScreenFitCase kScreenFitCases[] = {
    {"windowed on 1920x1080", 1920, 1080, true, 1366, 768, true, false, false, 0, 0, {-171, 0, 1366, 768}, 1, 1,
     -171, 0, false, false, {}, {}, 1, 1, 0, 0, 1, 1, 171, 0},
    {"full 1920x1080", 1920, 1080, false, 1920, 1080, false, false, true, 1365, 768, {-170.5f, 0, 1365, 768},
     1365.0f / 1920, 768.0f / 1080, -170.5f / (1365.0f / 1920), 0, false, false, {}, {}, 1920.0f / 1365,
     1080.0f / 768, 960, 540, 1, 1, 0, 0},
    {"full 1280x1024", 1280, 1024, false, 1280, 1024, false, false, true, 1024, 768, {0, 0, 1024, 768}, 0.8f, 0.8f,
     0, -32, true, false, {0, 0, 1280, 32}, {0, 992, 1280, 32}, 1.25f, 1.25f, 640, 512, 1, 1, 0, 0},
    {"full 2560x1080", 2560, 1080, false, 2560, 1080, false, false, true, 1366, 768, {-171, 0, 1366, 768},
     1366.0f / 1920, 768.0f / 1080, -320 + -171 / (1366.0f / 1920), 0, true, true, {0, 0, 320, 1080},
     {2240, 0, 320, 1080}, 1920.0f / 1366, 1080.0f / 768, 1280, 540, 1, 1, 0, 0},
    {"full 1024x768", 1024, 768, false, 1024, 768, false, false, false, 0, 0, {0, 0, 1024, 768}, 1, 1, 0, 0, false,
     false, {}, {}, 1, 1, 0, 0, 1, 1, 0, 0},
    {"full 1366x768", 1366, 768, false, 1366, 768, false, false, false, 0, 0, {-171, 0, 1366, 768}, 1, 1, -171, 0,
     false, false, {}, {}, 1, 1, 0, 0, 1, 1, 171, 0},
    {"full 1280x720", 1280, 720, false, 1280, 720, false, false, false, 0, 0, {-170.5f, 0, 1365, 768},
     1365.0f / 1280, 768.0f / 720, -170.5f / (1365.0f / 1280), 0, false, false, {}, {}, 1, 1, 0, 0,
     1280.0f / 1365, 0.9375f, 170.5f, 0},
    // A window does not fit 1280x720: refused, fitted as full screen.
    {"windowed refused on 1280x720", 1280, 720, true, 1280, 720, false, true, false, 0, 0,
     {-170.5f, 0, 1365, 768}, 1365.0f / 1280, 768.0f / 720, -170.5f / (1365.0f / 1280), 0, false, false, {}, {}, 1,
     1, 0, 0, 1280.0f / 1365, 0.9375f, 170.5f, 0},
};

TEST(ScreenFitTest, EveryCaseOfTheTable) {
  fakes::RecordingRender render;
  for (const ScreenFitCase& c : kScreenFitCases) {
    SCOPED_TRACE(c.name);
    framework::ScreenParams params;
    framework::ScreenFitResults results;
    ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(ScreenFitMonitor(c.monitorWidth, c.monitorHeight),
                                                   kScreenFitDesign, c.windowed, render, params, results));
    EXPECT_EQ(c.clientWidth, params.mRenderParam.mWidth);
    EXPECT_EQ(c.clientHeight, params.mRenderParam.mHeight);
    EXPECT_EQ(c.windowedResult, params.mRenderParam.mWindowed);
    EXPECT_EQ(c.refused, params.mWindowedRefused);
    EXPECT_EQ(c.offScreen, params.mOffScreen);
    EXPECT_EQ(c.offScreen, params.mRenderParam.mBuildProjection);
    EXPECT_EQ(c.targetWidth, params.mTargetWidth);
    EXPECT_EQ(c.targetHeight, params.mTargetHeight);
    ExpectScreenFitRect(c.viewport, results.mViewport, "viewport");
    EXPECT_FLOAT_EQ(c.scaleX, results.mScaleX);
    EXPECT_FLOAT_EQ(c.scaleY, results.mScaleY);
    EXPECT_NEAR(c.offsetX, results.mOffsetX, 1e-3);
    EXPECT_FLOAT_EQ(c.offsetY, results.mOffsetY);
    EXPECT_EQ(c.bars, results.mBars);
    EXPECT_EQ(c.barsVertical, results.mBarsVertical);
    ExpectScreenFitRect(c.bar1, results.mBar1, "bar 1");
    ExpectScreenFitRect(c.bar2, results.mBar2, "bar 2");
    EXPECT_FLOAT_EQ(c.drawScaleX, results.mDrawScaleX);
    EXPECT_FLOAT_EQ(c.drawScaleY, results.mDrawScaleY);
    EXPECT_FLOAT_EQ(c.drawCentreX, results.mDrawCentreX);
    EXPECT_FLOAT_EQ(c.drawCentreY, results.mDrawCentreY);
    EXPECT_FLOAT_EQ(c.viewportScaleX, params.mRenderParam.mViewportScaleX);
    EXPECT_FLOAT_EQ(c.viewportScaleY, params.mRenderParam.mViewportScaleY);
    EXPECT_NEAR(c.viewportOffsetX, params.mRenderParam.mViewportOffsetX, 1e-3);
    EXPECT_FLOAT_EQ(c.viewportOffsetY, params.mRenderParam.mViewportOffsetY);
  }
}

TEST(ScreenFitTest, WindowIsCentredInTheWorkArea) {
  fakes::RecordingRender render;
  app::MonitorInfo monitor{{0, 0, 1920, 1080}, {100, 40, 1820, 1000}, true};
  framework::ScreenParams params;
  framework::ScreenFitResults results;
  ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(monitor, kScreenFitDesign, true, render, params, results));
  EXPECT_EQ((1820 - 1366) / 2 + 100, params.mX);
  EXPECT_EQ((1000 - 768) / 2 + 40, params.mY);
  EXPECT_EQ(1366u, params.mOuterWidth);
  EXPECT_EQ(768u, params.mOuterHeight);
}

TEST(ScreenFitTest, FullScreenTakesTheMonitorOrigin) {
  fakes::RecordingRender render;
  app::MonitorInfo monitor{{1920, 0, 1280, 1024}, {1920, 0, 1280, 1000}, false};
  framework::ScreenParams params;
  framework::ScreenFitResults results;
  ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(monitor, kScreenFitDesign, false, render, params, results));
  EXPECT_EQ(1920, params.mX);
  EXPECT_EQ(0, params.mY);
  EXPECT_EQ(1280u, params.mOuterWidth);
  EXPECT_EQ(1024u, params.mOuterHeight);
}

// A client pixel goes to the design point the drawing puts there, and back.
TEST(ScreenFitTest, CoordinatesRoundTripThroughTheDrawing) {
  fakes::RecordingRender render;
  for (const ScreenFitCase& c : kScreenFitCases) {
    SCOPED_TRACE(c.name);
    framework::ScreenParams params;
    framework::ScreenFitResults results;
    ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(ScreenFitMonitor(c.monitorWidth, c.monitorHeight),
                                                   kScreenFitDesign, c.windowed, render, params, results));
    const float cw = static_cast<float>(params.mRenderParam.mWidth);
    const float ch = static_cast<float>(params.mRenderParam.mHeight);
    const math::Rect& view = results.mViewport;
    for (const math::Point3& pixel : {math::Point3(0, 0, 0), math::Point3(cw * 0.5f, ch * 0.5f, 0),
                                      math::Point3(cw - 1, ch - 1, 0), math::Point3(37, 401, 0)}) {
      float dx = 0;
      float dy = 0;
      results.ToLogical(pixel.x, pixel.y, dx, dy);
      // Design point back to client pixels, the way each drawing path places it.
      float px = 0;
      float py = 0;
      if (params.mOffScreen) {
        // Target pixel (design - viewport origin), drawn centred and scaled.
        px = (dx - view.x - view.width * 0.5f) * results.mDrawScaleX + results.mDrawCentreX;
        py = (dy - view.y - view.height * 0.5f) * results.mDrawScaleY + results.mDrawCentreY;
      } else {
        math::Point3 clip(dx, dy, 0);
        params.mRenderParam.mProjection.TransformPoint(clip);
        px = (clip.x + 1.0f) * 0.5f * cw;
        py = (1.0f - clip.y) * 0.5f * ch;
      }
      EXPECT_NEAR(pixel.x, px, 1e-2) << pixel.x << "," << pixel.y;
      EXPECT_NEAR(pixel.y, py, 1e-2) << pixel.x << "," << pixel.y;
    }
  }
}

TEST(ScreenFitTest, ClickAtTheWindowOriginIsTheWideBandsCorner) {
  fakes::RecordingRender render;
  framework::ScreenParams params;
  framework::ScreenFitResults results;
  ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(ScreenFitMonitor(1920, 1080), kScreenFitDesign, true, render,
                                                 params, results));
  float x = 0;
  float y = 0;
  results.ToLogical(0, 0, x, y);
  EXPECT_FLOAT_EQ(-171.0f, x);
  EXPECT_FLOAT_EQ(0.0f, y);
}

TEST(ScreenFitTest, WorkAreaTooSmallExactlyWhenAWindowIsRefused) {
  fakes::RecordingRender render;
  const int sizes[][2] = {{1366, 768}, {1365, 768}, {1366, 767}, {1920, 1080}, {1280, 720}};
  for (const auto& size : sizes) {
    const app::MonitorInfo monitor = ScreenFitMonitor(size[0], size[1]);
    framework::ScreenParams params;
    framework::ScreenFitResults results;
    ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(monitor, kScreenFitDesign, true, render, params, results));
    EXPECT_EQ(params.mWindowedRefused, framework::IsWorkAreaTooSmallFor(monitor, kScreenFitDesign))
        << size[0] << "x" << size[1];
  }
}

TEST(ScreenFitTest, AspectRatiosAreReduced) {
  EXPECT_EQ(683u, render::AspectRatio(1366, 768).width);
  EXPECT_EQ(384u, render::AspectRatio(1366, 768).height);
  EXPECT_EQ(4u, render::AspectRatio(1024, 768).width);
  EXPECT_EQ(3u, render::AspectRatio(1024, 768).height);
  EXPECT_EQ(16u, render::AspectRatio(1920, 1080).width);
  EXPECT_EQ(9u, render::AspectRatio(1920, 1080).height);
}

TEST(ScreenFitTest, MonitorChoiceFallsBackToAVirtualMonitor) {
  struct Case {
    const char* name;
    std::vector<win32::MONITORINFO> monitors;
    bool real;
    int width, height, x;
  };
  const win32::MONITORINFO second{sizeof(win32::MONITORINFO), {0, 0, 800, 600}, {0, 0, 800, 600}, 0};
  const win32::MONITORINFO primary{sizeof(win32::MONITORINFO), {800, 0, 2720, 1080}, {800, 0, 2720, 1040},
                                   win32::MONITORINFOF_PRIMARY};
  const win32::MONITORINFO empty{sizeof(win32::MONITORINFO), {0, 0, 0, 0}, {0, 0, 0, 0}, win32::MONITORINFOF_PRIMARY};
  const Case cases[] = {
      {"primary second in the list", {second, primary}, true, 1920, 1080, 800},
      {"no primary: the first", {second}, true, 800, 600, 0},
      {"no monitor", {}, false, 1366, 768, 0},
      {"display of size 0", {empty}, false, 1366, 768, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::ScriptedWindowSystem windows;
    windows.monitors = c.monitors;
    app::MonitorList list;
    list.Refresh();
    fakes::MainLogRecorder log;
    app::MonitorInfo chosen{};
    EXPECT_EQ(c.real, framework::ChooseFitMonitor(list, chosen));
    EXPECT_EQ(c.width, chosen.monitor.width);
    EXPECT_EQ(c.height, chosen.monitor.height);
    EXPECT_EQ(c.x, chosen.monitor.x);
    EXPECT_EQ(c.width, chosen.work.width);
    const bool logged = log.Text().find(u"virtual 1366x768 monitor") != std::u16string::npos;
    EXPECT_EQ(!c.real, logged);
  }
}

TEST(ScreenFitTest, VirtualMonitorFitsWithoutBars) {
  app::MonitorList none;
  fakes::MainLogRecorder log;
  app::MonitorInfo monitor{};
  framework::ChooseFitMonitor(none, monitor);
  fakes::RecordingRender render;
  framework::ScreenParams params;
  framework::ScreenFitResults results;
  ASSERT_EQ(VN_OK, framework::FitScreenToMonitor(monitor, kScreenFitDesign, false, render, params, results));
  EXPECT_EQ(1366u, params.mRenderParam.mWidth);
  EXPECT_FALSE(results.mBars);
  EXPECT_FLOAT_EQ(1.0f, results.mScaleX);
}

}  // namespace
