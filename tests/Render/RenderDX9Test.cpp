// The Direct3D 9 back end on the recording device: start-up, card refusals, device loss and reset,
// default-pool objects, device operations.
#include <gtest/gtest.h>

#include <memory>

#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Core/Base/Log.h"
#include "Core/Render/DX9/BufferDX9.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Vertices.h"
#include "fakes/FreshApplication.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/RecordingDevice.h"
#include "fakes/RecordingInputListener.h"
#include "fakes/ScriptedWindowSystem.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Window.h"

namespace {

using namespace d3d9;
using Calls = std::vector<std::string>;

// The back end with a scripted clock, and a scripted window unless one is handed to InitRender.
class ScriptedRenderDX9 : public render::RenderDX9 {
 public:
  bool mUsable = true;
  bool mScriptedWindow = true;
  std::vector<unsigned> mSleeps;

  using RenderDX9::LostDevice;
  using RenderDX9::ResetDevice;

 protected:
  win32::HWND GetWindowHandle() const override {
    return mScriptedWindow ? nullptr : RenderDX9::GetWindowHandle();
  }
  bool IsWindowUsable() const override {
    return mScriptedWindow ? mUsable : RenderDX9::IsWindowUsable();
  }
  void Sleep(unsigned milliseconds) override { mSleeps.push_back(milliseconds); }
};

class RenderDX9Test : public ::testing::Test {
 protected:
  void SetUp() override {
    RestartLog();
    mRender = std::make_unique<ScriptedRenderDX9>();
  }

  void TearDown() override {
    mRender.reset();
    // Everything the back end made on the device is released with it.
    EXPECT_EQ(mD3D.mLiveObjects, 0);
    EXPECT_EQ(mD3D.mBackBufferReferences, 0);
    fakes::ResetApplication();  // a card refusal stops the application
  }

  VNResultEnum Init(bool windowed = true) {
    render::RenderInitParam param;
    param.mWidth = 800;
    param.mHeight = 600;
    param.mWindowed = windowed;
    return mRender->InitRender(nullptr, param);
  }

  // Records the main log from here on.
  void RestartLog() { mLog = std::make_unique<fakes::MainLogRecorder>(); }
  std::u16string LogText() const { return mLog->Text(); }
  size_t Logged(const std::u16string& line) const {
    const std::u16string text = LogText();
    size_t count = 0;
    for (size_t at = text.find(line); at != std::u16string::npos; at = text.find(line, at + 1)) {
      ++count;
    }
    return count;
  }

  std::unique_ptr<fakes::MainLogRecorder> mLog;
  fakes::RecordingD3D mD3D;
  std::unique_ptr<ScriptedRenderDX9> mRender;
};

TEST_F(RenderDX9Test, StartUpCreatesTheDeviceAndSetsTheDefaultState) {
  ASSERT_EQ(Init(), VN_OK);
  const Calls& calls = mD3D.Calls();
  const Calls start(calls.begin(), calls.begin() + 9);
  EXPECT_EQ(start, (Calls{"GetAdapterDisplayMode(0)", "CreateDevice(0, 1, 0x44, 800, 600, 1)",
                          "GetDeviceCaps(0, 1)", "GetRenderTarget(0)", "SetViewport(0, 0, 800, 600)",
                          "Clear(0, 3, 0xFF000000, 1.000000, 0)", "Present()",
                          "SetSamplerState(0, 6, 2)", "SetSamplerState(0, 5, 2)"}));
  EXPECT_EQ(mD3D.CallsStartingWith("SetRenderState"),
            (Calls{"SetRenderState(141, 0)", "SetRenderState(147, 1)", "SetRenderState(146, 2)",
                   "SetRenderState(22, 3)", "SetRenderState(206, 1)", "SetRenderState(207, 2)",
                   "SetRenderState(208, 2)", "SetRenderState(7, 0)"}));
  // The caches' dynamic buffers: two of each of the 2-D, geometry and both index caches.
  EXPECT_EQ(mD3D.CallsStartingWith("CreateVertexBuffer(1310720, 0x208, 0x41C2, 0)").size(), 2u);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateVertexBuffer(81920, 0x208, 0x42, 0)").size(), 2u);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateIndexBuffer(20480, 0x208, 101, 0)").size(), 2u);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateIndexBuffer(245760, 0x208, 102, 0)").size(), 2u);
  EXPECT_EQ(mRender->GetMaxTextureWidth(), 4096u);
  EXPECT_EQ(mRender->GetMaxTextureHeight(), 2048u);
  EXPECT_TRUE(mRender->IsScissorSupported());
  EXPECT_EQ(Logged(u"Max texture Width: 4096\n"), 1u);
  EXPECT_EQ(Logged(u"Max texture Height: 2048\n"), 1u);
}

TEST_F(RenderDX9Test, PresentParametersFollowTheMode) {
  mD3D.mDisplayMode.Format = D3DFMT_A8R8G8B8;
  for (bool windowed : {true, false}) {
    SCOPED_TRACE(windowed);
    mRender = std::make_unique<ScriptedRenderDX9>();
    ASSERT_EQ(Init(windowed), VN_OK);
    const D3DPRESENT_PARAMETERS& p = mRender->GetPresentParameters();
    EXPECT_EQ(p.BackBufferWidth, 800u);
    EXPECT_EQ(p.BackBufferHeight, 600u);
    EXPECT_EQ(p.BackBufferFormat, windowed ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.SwapEffect, windowed ? D3DSWAPEFFECT_DISCARD : D3DSWAPEFFECT_FLIP);
    EXPECT_EQ(p.Windowed, windowed ? TRUE : FALSE);
    EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(p.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
  }
}

TEST_F(RenderDX9Test, RefusedHardwareVertexProcessingFallsBackToSoftware) {
  mD3D.Script("CreateDevice", {D3DERR_NOTAVAILABLE});
  ASSERT_EQ(Init(), VN_OK);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateDevice"),
            (Calls{"CreateDevice(0, 1, 0x44, 800, 600, 1) failed",
                   "CreateDevice(0, 1, 0x24, 800, 600, 1)"}));
}

TEST_F(RenderDX9Test, NoDeviceAtAllFailsTheStartUp) {
  mD3D.ScriptAlways("CreateDevice", D3DERR_NOTAVAILABLE);
  EXPECT_EQ(Init(), VN_FAIL);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateDevice").size(), 2u);
  EXPECT_FALSE(mRender->CheckDevice());
  mD3D.Script("GetAdapterDisplayMode", {D3DERR_NOTAVAILABLE});
  mRender = std::make_unique<ScriptedRenderDX9>();
  EXPECT_EQ(Init(), VN_FAIL);
}

struct CardCase {
  const char* name;
  DWORD maxVertexIndex;
  DWORD vertexShader;
  DWORD pixelShader;
  DWORD rasterCaps;
  bool refusalMessage;
};

TEST_F(RenderDX9Test, CardRefusals) {
  // The silent refusals first: the application is stopped only by the shader refusals.
  const CardCase cases[] = {
      {"16-bit vertex index", 0xFFFE, D3DVS_VERSION(1, 1), D3DPS_VERSION(2, 0),
       D3DPRASTERCAPS_SCISSORTEST, false},
      {"no scissor test", 0xFFFF, D3DVS_VERSION(1, 1), D3DPS_VERSION(2, 0), 0, false},
      {"vertex shader 1.0", 0xFFFF, D3DVS_VERSION(1, 0), D3DPS_VERSION(2, 0),
       D3DPRASTERCAPS_SCISSORTEST, true},
      {"pixel shader 1.4", 0xFFFF, D3DVS_VERSION(3, 0), D3DPS_VERSION(1, 4),
       D3DPRASTERCAPS_SCISSORTEST, true},
  };
  app::Application* application = app::Application::Instance();
  ASSERT_NE(application, nullptr);
  for (const CardCase& c : cases) {
    SCOPED_TRACE(c.name);
    application->SetUnsupportedVideo(false);
    mD3D.mCaps.MaxVertexIndex = c.maxVertexIndex;
    mD3D.mCaps.VertexShaderVersion = c.vertexShader;
    mD3D.mCaps.PixelShaderVersion = c.pixelShader;
    mD3D.mCaps.RasterCaps = c.rasterCaps;
    mRender = std::make_unique<ScriptedRenderDX9>();
    EXPECT_EQ(Init(), VN_FAIL);
    EXPECT_EQ(application->IsUnsupportedVideo(), c.refusalMessage);
    EXPECT_EQ(application->IsStopped() || application->IsStopRequested(), c.refusalMessage);
  }
}

// One check of the device per frame: window usable or not, windowed or full screen, what the
// device answers, and whether the loss was handled already.
struct ReadyCase {
  const char* name;
  bool usable;
  bool windowed;
  HRESULT cooperative;
  bool lostBefore;
  bool ready;
  size_t sleeps;
  size_t lostCalls;
  size_t resetCalls;
  bool lostAfter;
};

TEST_F(RenderDX9Test, DeviceReadiness) {
  const ReadyCase cases[] = {
      {"drawing", true, true, D3D_OK, false, true, 0, 0, 0, false},
      {"device lost", true, false, D3DERR_DEVICELOST, false, false, 1, 1, 0, true},
      {"device still lost", true, false, D3DERR_DEVICELOST, true, false, 1, 0, 0, true},
      {"device can be reset", true, false, D3DERR_DEVICENOTRESET, true, false, 0, 0, 1, false},
      {"reset without a reported loss", true, true, D3DERR_DEVICENOTRESET, false, false, 0, 1, 1,
       false},
      {"other answer", true, true, D3DERR_DRIVERINTERNALERROR, false, false, 0, 0, 0, false},
      {"windowed and minimised", false, true, D3D_OK, false, false, 0, 0, 0, false},
      {"full screen, inactive", false, false, D3D_OK, false, false, 0, 1, 0, true},
      {"full screen, still inactive", false, false, D3D_OK, true, false, 1, 0, 0, true},
      // Released while inactive, but the device was never lost: the objects come back by a reset.
      {"full screen, active again, device not lost", true, false, D3D_OK, true, false, 0, 0, 1,
       false},
  };
  for (const ReadyCase& c : cases) {
    SCOPED_TRACE(c.name);
    mRender = std::make_unique<ScriptedRenderDX9>();
    ASSERT_EQ(Init(c.windowed), VN_OK);
    if (c.lostBefore) {
      mRender->mUsable = false;
      mD3D.Script("TestCooperativeLevel", {D3DERR_DEVICELOST});
      ASSERT_FALSE(mRender->IsDeviceReady());
      ASSERT_TRUE(mRender->IsDeviceLost() || c.windowed);
      mRender->mSleeps.clear();
    }
    RestartLog();
    mD3D.ClearCalls();
    mRender->mUsable = c.usable;
    mD3D.Script("TestCooperativeLevel", {c.cooperative});
    EXPECT_EQ(mRender->IsDeviceReady(), c.ready);
    EXPECT_EQ(mRender->mSleeps, std::vector<unsigned>(c.sleeps, 100));
    EXPECT_EQ(Logged(u"RenderDX9::LostDevice()\n"), c.lostCalls);
    EXPECT_EQ(mD3D.CallsStartingWith("Reset(").size(), c.resetCalls);
    EXPECT_EQ(mRender->IsDeviceLost(), c.lostAfter);
    EXPECT_EQ(mD3D.CallsStartingWith("TestCooperativeLevel").size(), c.usable ? 1u : 0u);
  }
}

// The window's own flags decide: minimised, active, windowed.
TEST_F(RenderDX9Test, ReadsTheApplicationWindow) {
  struct Case {
    const char* name;
    bool windowed;
    win32::UINT message;
    win32::WPARAM wParam;
    bool ready;
    size_t cooperativeTests;
    bool lost;
  };
  const Case cases[] = {
      {"windowed", true, 0, 0, true, 1, false},
      {"windowed, minimised", true, win32::WM_SIZE, win32::SIZE_MINIMIZED, false, 0, false},
      {"windowed, inactive", true, win32::WM_ACTIVATEAPP, 0, true, 1, false},
      {"full screen", false, 0, 0, true, 1, false},
      {"full screen, inactive", false, win32::WM_ACTIVATEAPP, 0, false, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::DrainMessages();
    fakes::ScriptedWindowSystem system;
    fakes::RecordingInputListener listener;
    fakes::ScaleConverter converter;
    input::InputWin32 input{&listener, &converter};
    app::Window window(&input, false, false, true);
    ASSERT_EQ(window.Create(0, 0, 800, 600, 800, 600, c.windowed, u"Render test"), VN_OK);
    mRender = std::make_unique<ScriptedRenderDX9>();
    mRender->mScriptedWindow = false;
    render::RenderInitParam param;
    param.mWidth = 800;
    param.mHeight = 600;
    param.mWindowed = c.windowed;
    ASSERT_EQ(mRender->InitRender(&window, param), VN_OK);
    EXPECT_EQ(mRender->GetPresentParameters().hDeviceWindow, window.GetHandle());
    if (c.message) fakes::Deliver(window.GetHandle(), c.message, c.wParam, 0);
    mD3D.ClearCalls();
    EXPECT_EQ(mRender->IsDeviceReady(), c.ready);
    EXPECT_EQ(mD3D.CallsStartingWith("TestCooperativeLevel").size(), c.cooperativeTests);
    EXPECT_EQ(mRender->IsDeviceLost(), c.lost);
    mRender.reset();
    fakes::DrainMessages();
  }
}

struct ResetCase {
  HRESULT result;
  std::u16string log;
};

TEST_F(RenderDX9Test, ResetLogLines) {
  const ResetCase cases[] = {
      {D3DERR_DEVICELOST, u"RenderDX9::ResetDevice()\n\tD3DERR_DEVICELOST\n"},
      {D3DERR_DRIVERINTERNALERROR, u"RenderDX9::ResetDevice()\n\tD3DERR_DRIVERINTERNALERROR\n"},
      // With the blank before the line break.
      {D3DERR_OUTOFVIDEOMEMORY, u"RenderDX9::ResetDevice()\n\tD3DERR_OUTOFVIDEOMEMORY \n"},
      {D3DERR_INVALIDCALL, u"RenderDX9::ResetDevice()\n"},
      {D3D_OK, u"RenderDX9::ResetDevice()\n\tD3D_OK\nRenderDX9::InitDeviceState()\n"},
  };
  ASSERT_EQ(Init(), VN_OK);
  for (const ResetCase& c : cases) {
    ASSERT_EQ(mRender->LostDevice(), VN_OK);
    RestartLog();
    mD3D.Script("Reset", {c.result});
    EXPECT_EQ(mRender->ResetDevice(), c.result == D3D_OK ? VN_OK : VN_FAIL);
    EXPECT_EQ(LogText(), c.log);
  }
}

TEST_F(RenderDX9Test, FailedResetIsRetriedOnTheNextFrame) {
  ASSERT_EQ(Init(false), VN_OK);
  mRender->mUsable = false;
  ASSERT_FALSE(mRender->IsDeviceReady());
  mRender->mUsable = true;
  mD3D.Script("TestCooperativeLevel", {D3DERR_DEVICENOTRESET, D3DERR_DEVICENOTRESET, D3D_OK});
  mD3D.Script("Reset", {D3DERR_OUTOFVIDEOMEMORY});
  EXPECT_FALSE(mRender->IsDeviceReady());
  EXPECT_TRUE(mRender->IsDeviceLost());
  EXPECT_FALSE(mRender->IsDeviceReady());
  EXPECT_FALSE(mRender->IsDeviceLost());
  EXPECT_TRUE(mRender->IsDeviceReady());
  EXPECT_EQ(mD3D.CallsStartingWith("Reset(").size(), 2u);
}

TEST_F(RenderDX9Test, DeviceLossReleasesAndResetRestoresTheDefaultPool) {
  ASSERT_EQ(Init(false), VN_OK);
  render::Texture* target = nullptr;
  render::Texture* dynamic = nullptr;
  render::Texture* empty = nullptr;
  ASSERT_EQ(mRender->CreateTexture(target), VN_OK);
  ASSERT_EQ(mRender->CreateTexture(dynamic), VN_OK);
  ASSERT_EQ(mRender->CreateTexture(empty), VN_OK);
  ASSERT_EQ(target->CreateRenderTarget(64, 32), VN_OK);
  ASSERT_EQ(dynamic->CreateDynamic(16, 16), VN_OK);
  render::VertexBufferImpl* managed = nullptr;
  ASSERT_EQ(mRender->CreateVertexBuffer(render::SVertexGeom::GetFormat(), 10, false, managed),
            VN_OK);
  auto* targetDX9 = static_cast<render::TextureDX9*>(target);
  ASSERT_NE(targetDX9->GetSurface(), nullptr);
  EXPECT_GT(mD3D.mDefaultPoolObjects, 0);
  const int managedObjects = mD3D.mLiveObjects - mD3D.mDefaultPoolObjects;

  // Alt+Tab away: released once, then every check sleeps.
  mRender->mUsable = false;
  EXPECT_FALSE(mRender->IsDeviceReady());
  EXPECT_EQ(mD3D.mDefaultPoolObjects, 0);
  EXPECT_EQ(mD3D.mBackBufferReferences, 0);
  EXPECT_EQ(mD3D.mLiveObjects, managedObjects);
  EXPECT_EQ(targetDX9->GetDeviceTexture(), nullptr);
  EXPECT_FALSE(mRender->IsDeviceReady());
  EXPECT_EQ(mRender->mSleeps, std::vector<unsigned>{100});

  // Back: the device is reset (the recording device refuses while objects are alive).
  mD3D.ClearCalls();
  mRender->mUsable = true;
  mD3D.Script("TestCooperativeLevel", {D3DERR_DEVICENOTRESET});
  EXPECT_FALSE(mRender->IsDeviceReady());
  EXPECT_EQ(mD3D.CallsStartingWith("Reset("), (Calls{"Reset(800, 600, 0)"}));
  EXPECT_FALSE(mRender->IsDeviceLost());
  EXPECT_NE(targetDX9->GetDeviceTexture(), nullptr);
  EXPECT_EQ(target->GetWidth(), 64);
  EXPECT_EQ(target->GetHeight(), 32);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateTexture"),
            (Calls{"CreateTexture(64, 32, 1, 0x1, 0x15, 0)", "CreateTexture(16, 16, 1, 0x200, 0x15, 0)"}));
  EXPECT_TRUE(mRender->IsDeviceReady());

  delete target;
  delete dynamic;
  delete empty;
  delete managed;
}

TEST_F(RenderDX9Test, ScreenModeSwitchReleasesAndResets) {
  ASSERT_EQ(Init(true), VN_OK);
  ASSERT_EQ(mRender->PrepareSwitchScreenMode(), VN_OK);
  render::RenderInitParam param;
  param.mWidth = 1024;
  param.mHeight = 768;
  param.mWindowed = false;
  param.mViewportScaleX = 2.0f;
  ASSERT_EQ(mRender->SwitchScreenMode(param), VN_OK);
  EXPECT_EQ(mD3D.CallsStartingWith("Reset("), (Calls{"Reset(1024, 768, 0)"}));
  EXPECT_EQ(mRender->GetViewportScaleX(), 2.0f);
  EXPECT_EQ(mD3D.CallsStartingWith("SetViewport").back(), "SetViewport(0, 0, 1024, 768)");
  EXPECT_FALSE(mRender->IsDeviceLost());
}

TEST_F(RenderDX9Test, PresentFailureLogs) {
  const std::pair<HRESULT, std::u16string> cases[] = {
      {D3DERR_DEVICELOST, u"mDevice->Present failed\n\tD3DERR_DEVICELOST\n"},
      {D3DERR_DRIVERINTERNALERROR, u"mDevice->Present failed\n\tD3DERR_DRIVERINTERNALERROR\n"},
      {D3DERR_INVALIDCALL, u"mDevice->Present failed\n\tD3DERR_INVALIDCALL\n"},
      {D3DERR_OUTOFVIDEOMEMORY, u"mDevice->Present failed\n\tD3DERR_OUTOFVIDEOMEMORY\n"},
      {E_OUTOFMEMORY, u"mDevice->Present failed\n\tE_OUTOFMEMORY\n"},
      {D3DERR_NOTAVAILABLE, u"mDevice->Present failed\n"},
  };
  ASSERT_EQ(Init(), VN_OK);
  for (const auto& [result, log] : cases) {
    RestartLog();
    mD3D.Script("Present", {result});
    EXPECT_EQ(mRender->DoPresent(), VN_FAIL);
    EXPECT_EQ(LogText(), log);
  }
  EXPECT_EQ(mRender->DoPresent(), VN_OK);
}

TEST_F(RenderDX9Test, DeviceOperations) {
  ASSERT_EQ(Init(), VN_OK);
  mD3D.ClearCalls();
  const float color[4] = {1.0f, 0.5f, 0.0f, 0.25f};
  EXPECT_EQ(mRender->DoClear(render::Render::kClearTarget | render::Render::kClearStencil | 8,
                             color, 0.5f, 3),
            VN_OK);
  const uint32_t rect[4] = {10, 20, 30, 40};
  EXPECT_EQ(mRender->DoSetScissorEnable(true), VN_OK);
  EXPECT_EQ(mRender->DoSetScissorRect(rect), VN_OK);
  EXPECT_EQ(mRender->DoSetDepthState(true, false), VN_OK);
  EXPECT_EQ(mRender->DoSetDepthState(false, true), VN_OK);
  EXPECT_EQ(mRender->DoSetVertexFormat(0), VN_OK);
  EXPECT_EQ(mRender->DoSetVertexFormat(99), VN_FAIL);
  EXPECT_EQ(mRender->DoSetBlendMode(7), VN_OK);
  EXPECT_EQ(mRender->DoDrawPrimitive(render::Render::kTriangleStrip, 4, 2), VN_OK);
  EXPECT_EQ(mRender->DoDrawIndexedPrimitive(render::Render::kTriangleList, 2, 6, 2, 4, 8), VN_OK);
  EXPECT_EQ(mRender->DoSetRenderTarget(nullptr), VN_OK);
  EXPECT_EQ(mD3D.Calls(),
            (Calls{"Clear(0, 5, 0x3FFF7F00, 0.500000, 3)", "SetRenderState(174, 1)",
                   "SetScissorRect(10, 20, 40, 60)", "SetRenderState(7, 1)",
                   "SetRenderState(14, 0)", "SetRenderState(7, 0)", "SetFVF(0x41C2)",
                   "DrawPrimitive(5, 4, 2)", "DrawIndexedPrimitive(4, 0, 4, 8, 6, 2)",
                   "SetRenderTarget(0, backbuffer)"}));
  mD3D.ScriptAlways("SetRenderState", D3DERR_INVALIDCALL);
  EXPECT_EQ(mRender->DoSetBlendMode(1), VN_FAIL);
}

TEST_F(RenderDX9Test, BlendModes) {
  ASSERT_EQ(Init(), VN_OK);
  const std::pair<uint32_t, Calls> cases[] = {
      {0, {"SetRenderState(27, 0)", "SetTextureStageState(0, 1, 2)", "SetTextureStageState(0, 2, 2)",
           "SetTextureStageState(0, 4, 2)", "SetTextureStageState(0, 5, 2)"}},
      {1, {"SetRenderState(27, 1)", "SetRenderState(19, 5)", "SetRenderState(20, 6)",
           "SetTextureStageState(0, 1, 4)", "SetTextureStageState(0, 2, 2)",
           "SetTextureStageState(0, 3, 0)", "SetTextureStageState(0, 4, 4)",
           "SetTextureStageState(0, 5, 2)", "SetTextureStageState(0, 6, 0)"}},
      {2, {"SetRenderState(27, 1)", "SetRenderState(19, 5)", "SetRenderState(20, 2)",
           "SetTextureStageState(0, 1, 4)", "SetTextureStageState(0, 2, 2)",
           "SetTextureStageState(0, 3, 0)", "SetTextureStageState(0, 4, 4)",
           "SetTextureStageState(0, 5, 2)", "SetTextureStageState(0, 6, 0)"}},
  };
  for (const auto& [mode, calls] : cases) {
    mD3D.ClearCalls();
    EXPECT_EQ(mRender->DoSetBlendMode(mode), VN_OK);
    EXPECT_EQ(mD3D.Calls(), calls);
  }
}

TEST_F(RenderDX9Test, TexturesAndBuffers) {
  ASSERT_EQ(Init(), VN_OK);
  mD3D.mLockPitch = 1024;
  render::Texture* dynamic = nullptr;
  render::Texture* target = nullptr;
  ASSERT_EQ(mRender->CreateTexture(dynamic), VN_OK);
  ASSERT_EQ(mRender->CreateTexture(target), VN_OK);
  ASSERT_EQ(dynamic->CreateDynamic(256, 256), VN_OK);
  ASSERT_EQ(target->CreateRenderTarget(256, 256), VN_OK);
  unsigned size = 0, pitch = 0;
  void* data = nullptr;
  ASSERT_EQ(dynamic->Lock(size, pitch, data), VN_OK);
  EXPECT_EQ(size, 65536u);
  EXPECT_EQ(pitch, 1024u);
  EXPECT_NE(data, nullptr);
  EXPECT_EQ(dynamic->Unlock(), VN_OK);
  EXPECT_EQ(target->Lock(size, pitch, data), VN_FAIL);
  EXPECT_EQ(target->Unlock(), VN_FAIL);
  // Releasing leaves an image-less texture alone and frees the default-pool ones.
  EXPECT_EQ(dynamic->Release(), VN_OK);
  EXPECT_EQ(dynamic->Lock(size, pitch, data), VN_FAIL);
  EXPECT_EQ(dynamic->Restore(), VN_OK);
  EXPECT_EQ(dynamic->Lock(size, pitch, data), VN_OK);
  EXPECT_EQ(dynamic->Unlock(), VN_OK);

  render::VertexBufferImpl* vertices = nullptr;
  ASSERT_EQ(mRender->CreateVertexBuffer(render::SVertex2D::GetFormat(), 8, true, vertices), VN_OK);
  EXPECT_EQ(vertices->Create(render::SVertex2D::GetFormat(), 8, true), VN_FAIL);
  EXPECT_EQ(vertices->Unlock(), VN_FAIL);
  EXPECT_TRUE(vertices->IsNotReady());
  ASSERT_EQ(vertices->Lock(), VN_OK);
  EXPECT_EQ(vertices->Lock(), VN_FAIL);
  EXPECT_FALSE(vertices->IsNotReady());
  // A loss while locked leaves no dangling memory behind.
  EXPECT_EQ(vertices->Release(), VN_OK);
  EXPECT_TRUE(vertices->IsNotReady());
  EXPECT_FALSE(vertices->IsLocked());
  render::IndexBufferImpl* indices = nullptr;
  mD3D.Script("CreateIndexBuffer", {D3DERR_OUTOFVIDEOMEMORY});
  EXPECT_EQ(mRender->CreateIndexBuffer(2, 6, true, indices), VN_FAIL);
  EXPECT_EQ(indices, nullptr);
  const size_t registered = mRender->GetBuffers().size();
  ASSERT_EQ(mRender->CreateIndexBuffer(4, 6, false, indices), VN_OK);
  EXPECT_EQ(mD3D.CallsStartingWith("CreateIndexBuffer").back(), "CreateIndexBuffer(24, 0x8, 102, 1)");
  EXPECT_EQ(mRender->GetBuffers().size(), registered + 1);
  delete indices;
  EXPECT_EQ(mRender->GetBuffers().size(), registered);
  delete vertices;
  delete dynamic;
  delete target;
}

}  // namespace
