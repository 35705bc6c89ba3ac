#include "Core/Render/DX9/RenderDX9.h"

#include <algorithm>

#include "Core/App/Application.h"
#include "Core/Base/LogMessage.h"
#include "Core/Render/DX9/BufferDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/VertexFormat.h"
#include "Platform/Win32/Process.h"

namespace render {

using namespace d3d9;

namespace {

bool Ok(HRESULT result) { return result == D3D_OK; }

VNResultEnum ToResult(HRESULT result) { return Ok(result) ? VN_OK : VN_FAIL; }

// Each channel times 255, truncated and cut to 8 bits.
DWORD ToChannel(float value) {
  return DWORD(int(std::clamp(value * 255.0f, -1.0e9f, 1.0e9f))) & 0xFF;
}

// Logs the device-loss results by name; other results write nothing. The reset's line for
// video memory has always had a blank before the line break.
void LogD3DError(HRESULT result, bool blankBeforeBreakOnVideoMemory) {
  switch (result) {
    case D3DERR_DEVICELOST: base::LogPlain(u"\tD3DERR_DEVICELOST\n"); break;
    case D3DERR_DRIVERINTERNALERROR: base::LogPlain(u"\tD3DERR_DRIVERINTERNALERROR\n"); break;
    case D3DERR_OUTOFVIDEOMEMORY:
      base::LogPlain(blankBeforeBreakOnVideoMemory ? u"\tD3DERR_OUTOFVIDEOMEMORY \n"
                                                   : u"\tD3DERR_OUTOFVIDEOMEMORY\n");
      break;
    default: break;
  }
}

}  // namespace

RenderDX9::RenderDX9() { mResendClipOnTarget = true; }

RenderDX9::~RenderDX9() {
  ReleaseResources();
  if (mBackBuffer) mBackBuffer->Release();
  if (mDevice) mDevice->Release();
  if (mD3D) mD3D->Release();
}

D3DPRIMITIVETYPE RenderDX9::ToD3DPrimitiveType(uint32_t type) {
  switch (type) {
    case kPointList: return D3DPT_POINTLIST;
    case kLineList: return D3DPT_LINELIST;
    case kLineStrip: return D3DPT_LINESTRIP;
    case kTriangleStrip: return D3DPT_TRIANGLESTRIP;
    case kTriangleFan: return D3DPT_TRIANGLEFAN;
    default: return D3DPT_TRIANGLELIST;
  }
}

VNResultEnum RenderDX9::FillPresentParameters() {
  D3DDISPLAYMODE mode;
  if (!Ok(mD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return VN_FAIL;
  mPresentParams = {};
  mPresentParams.BackBufferWidth = mWidth;
  mPresentParams.BackBufferHeight = mHeight;
  mPresentParams.BackBufferFormat = mWindowed ? mode.Format : D3DFMT_X8R8G8B8;
  mPresentParams.BackBufferCount = 1;
  mPresentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
  mPresentParams.SwapEffect = mWindowed ? D3DSWAPEFFECT_DISCARD : D3DSWAPEFFECT_FLIP;
  mPresentParams.hDeviceWindow = mWindowHandle;
  mPresentParams.Windowed = mWindowed ? TRUE : FALSE;
  mPresentParams.EnableAutoDepthStencil = TRUE;
  mPresentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
  mPresentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  return VN_OK;
}

VNResultEnum RenderDX9::InitRender(app::Window* window, const RenderInitParam& param) {
  mWindow = window;
  mWindowHandle = GetWindowHandle();
  mWindowed = param.mWindowed;
  mWidth = param.mWidth;
  mHeight = param.mHeight;
  mMultithreaded = true;

  mD3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (!mD3D) return VN_FAIL;
  const VNResultEnum filled = FillPresentParameters();
  if (filled != VN_OK) return filled;
  if (!Ok(mD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mWindowHandle,
                             D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED,
                             &mPresentParams, &mDevice)) &&
      !Ok(mD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mWindowHandle,
                             D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED,
                             &mPresentParams, &mDevice))) {
    mDevice = nullptr;
    return VN_FAIL;
  }

  D3DCAPS9 caps;
  if (!Ok(mD3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps))) return VN_FAIL;
  base::LogPlain(u"Max texture Width: %d\n") % int(caps.MaxTextureWidth);
  base::LogPlain(u"Max texture Height: %d\n") % int(caps.MaxTextureHeight);
  mMaxTextureWidth = caps.MaxTextureWidth;
  mMaxTextureHeight = caps.MaxTextureHeight;
  if (caps.MaxVertexIndex < 0xFFFF) return VN_FAIL;
  if (caps.VertexShaderVersion < D3DVS_VERSION(1, 1) ||
      caps.PixelShaderVersion < D3DPS_VERSION(2, 0)) {
    // The application shows the refusal when it exits.
    if (app::Application* application = app::Application::Instance()) {
      application->SetUnsupportedVideo(true);
      application->StopTree();
    }
    return VN_FAIL;
  }
  mAnisotropicMin = (caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFANISOTROPIC) != 0;
  mAnisotropicMag = (caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFANISOTROPIC) != 0;
  mScissorSupported = (caps.RasterCaps & D3DPRASTERCAPS_SCISSORTEST) != 0;
  if (!mScissorSupported) return VN_FAIL;

  if (PrepareBackBuffer() != VN_OK) return VN_FAIL;
  const VNResultEnum states = SetDefaultStates();
  if (states != VN_OK) return states;
  return Render::InitRender(window, param);
}

VNResultEnum RenderDX9::PrepareBackBuffer() {
  if (mBackBuffer) {
    mBackBuffer->Release();
    mBackBuffer = nullptr;
  }
  mViewport = {0, 0, mWidth, mHeight, 0.0f, 1.0f};
  const bool ok = Ok(mDevice->GetRenderTarget(0, &mBackBuffer)) &&
                  Ok(mDevice->SetViewport(&mViewport)) &&
                  Ok(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u,
                                    1.0f, 0)) &&
                  Ok(mDevice->Present(nullptr, nullptr, nullptr, nullptr));
  return ok ? VN_OK : VN_FAIL;
}

VNResultEnum RenderDX9::SetDefaultStates() {
  const bool ok =
      Ok(mDevice->SetSamplerState(0, D3DSAMP_MINFILTER,
                                  mAnisotropicMin ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR)) &&
      Ok(mDevice->SetSamplerState(0, D3DSAMP_MAGFILTER,
                                  mAnisotropicMag ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR)) &&
      Ok(mDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR)) &&
      Ok(mDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)) &&
      Ok(mDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP)) &&
      Ok(mDevice->SetRenderState(D3DRS_COLORVERTEX, FALSE)) &&
      Ok(mDevice->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1)) &&
      Ok(mDevice->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2)) &&
      Ok(mDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)) &&
      Ok(mDevice->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE)) &&
      Ok(mDevice->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ONE)) &&
      Ok(mDevice->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_ONE)) &&
      Ok(mDevice->SetRenderState(D3DRS_ZENABLE, FALSE));
  return ok ? VN_OK : VN_FAIL;
}

VNResultEnum RenderDX9::InitDeviceState() {
  base::LogPlain(u"RenderDX9::InitDeviceState()\n");
  if (PrepareBackBuffer() != VN_OK) return VN_FAIL;
  const VNResultEnum states = SetDefaultStates();
  if (states != VN_OK) return states;
  ResetStates();
  ForgetLastState();
  return VN_OK;
}

VNResultEnum RenderDX9::LostDevice() {
  base::LogPlain(u"RenderDX9::LostDevice()\n");
  GetCommandBuffer().Seek(0, base::Stream::kBegin);
  for (Buffer* buffer : GetBuffers()) buffer->Release();
  for (Texture* texture : GetTextures()) texture->Release();
  NotifyProgramsLost();
  if (mBackBuffer) {
    mBackBuffer->Release();
    mBackBuffer = nullptr;
  }
  // The flag says that the objects are released, whoever released them: only a reset brings
  // them back.
  mDeviceLost = true;
  return VN_OK;
}

VNResultEnum RenderDX9::ResetDevice() {
  base::LogPlain(u"RenderDX9::ResetDevice()\n");
  FillPresentParameters();
  const HRESULT result = mDevice->Reset(&mPresentParams);
  if (!Ok(result)) {
    LogD3DError(result, true);
    return VN_FAIL;
  }
  base::LogPlain(u"\tD3D_OK\n");
  mDeviceLost = false;
  for (Buffer* buffer : GetBuffers()) buffer->Restore();
  for (Texture* texture : GetTextures()) texture->Restore();
  NotifyProgramsReset();
  InitDeviceState();
  return VN_OK;
}

void RenderDX9::EnterLost() {
  if (!mDeviceLost) LostDevice();
}

bool RenderDX9::IsDeviceReady() {
  if (!mDevice) return false;  // start-up failed
  if (IsWindowUsable()) {
    switch (mDevice->TestCooperativeLevel()) {
      case D3D_OK:
        if (!mDeviceLost) return true;
        // Released for an inactive full-screen window while the device itself was never lost
        // (the window was back before the device was asked): drawing now would draw nothing.
        ResetDevice();
        return false;
      case D3DERR_DEVICELOST:
        EnterLost();
        Sleep(100);
        return false;
      case D3DERR_DEVICENOTRESET:
        // A reset fails while default-pool objects live: release them first if that has not
        // happened yet (the device may report this without having reported the loss).
        EnterLost();
        ResetDevice();
        return false;
      default:
        return false;
    }
  }
  if (mWindowed) return false;  // minimised: skip frames, keep everything
  if (mDeviceLost) {
    Sleep(100);
  } else {
    EnterLost();
  }
  return false;
}

VNResultEnum RenderDX9::PrepareSwitchScreenMode() { return LostDevice(); }

VNResultEnum RenderDX9::SwitchScreenMode(const RenderInitParam& param) {
  mWindowed = param.mWindowed;
  mWidth = param.mWidth;
  mHeight = param.mHeight;
  ApplyScreenParam(param);
  const VNResultEnum filled = FillPresentParameters();
  if (filled != VN_OK) return filled;
  return ResetDevice();
}

VNResultEnum RenderDX9::CreateTexture(Texture*& out) {
  out = new TextureDX9(this);
  return VN_OK;
}

VNResultEnum RenderDX9::CreateVertexBuffer(const VertexFormat& format, unsigned count,
                                           bool dynamic, VertexBufferImpl*& out) {
  auto* buffer = new VertexBufferImplDX9(this);
  const VNResultEnum result = buffer->Create(format, count, dynamic);
  if (result != VN_OK) {
    delete buffer;
    return result;
  }
  out = buffer;
  return VN_OK;
}

VNResultEnum RenderDX9::CreateIndexBuffer(unsigned indexSize, unsigned count, bool dynamic,
                                          IndexBufferImpl*& out) {
  auto* buffer = new IndexBufferImplDX9(this);
  const VNResultEnum result = buffer->Create(indexSize, count, dynamic);
  if (result != VN_OK) {
    delete buffer;
    return result;
  }
  out = buffer;
  return VN_OK;
}

VNResultEnum RenderDX9::DoClear(uint32_t flags, const float color[4], float depth,
                                uint32_t stencil) {
  const DWORD clearFlags = (flags & kClearTarget ? D3DCLEAR_TARGET : 0) |
                           (flags & kClearDepth ? D3DCLEAR_ZBUFFER : 0) |
                           (flags & kClearStencil ? D3DCLEAR_STENCIL : 0);
  const D3DCOLOR packed = ToChannel(color[3]) << 24 | ToChannel(color[0]) << 16 |
                          ToChannel(color[1]) << 8 | ToChannel(color[2]);
  return ToResult(mDevice->Clear(0, nullptr, clearFlags, packed, depth, stencil));
}

VNResultEnum RenderDX9::DoBeginScene() { return ToResult(mDevice->BeginScene()); }

VNResultEnum RenderDX9::DoEndScene() { return ToResult(mDevice->EndScene()); }

VNResultEnum RenderDX9::DoPresent() {
  const HRESULT result = mDevice->Present(nullptr, nullptr, nullptr, nullptr);
  if (Ok(result)) return VN_OK;
  base::LogPlain(u"mDevice->Present failed\n");
  if (result == D3DERR_INVALIDCALL) {
    base::LogPlain(u"\tD3DERR_INVALIDCALL\n");
  } else if (result == E_OUTOFMEMORY) {
    base::LogPlain(u"\tE_OUTOFMEMORY\n");
  } else {
    LogD3DError(result, false);
  }
  return VN_FAIL;
}

VNResultEnum RenderDX9::DoSetRenderTarget(Texture* target) {
  IDirect3DSurface9* surface =
      target ? static_cast<TextureDX9*>(target)->GetSurface() : mBackBuffer;
  if (!surface) return VN_FAIL;
  return ToResult(mDevice->SetRenderTarget(0, surface));
}

VNResultEnum RenderDX9::DoSetVertexFormat(uint32_t id) {
  const VertexFormat* format = VertexFormat::Get(int(id));
  if (!format) return VN_FAIL;
  return ToResult(mDevice->SetFVF(format->GetFvf()));
}

VNResultEnum RenderDX9::DoSetVertexBuffer(VertexBufferImpl* buffer) {
  auto* dx9 = static_cast<VertexBufferImplDX9*>(buffer);
  return ToResult(mDevice->SetStreamSource(0, dx9 ? dx9->GetDeviceBuffer() : nullptr, 0,
                                           dx9 ? dx9->GetElementSize() : 0));
}

VNResultEnum RenderDX9::DoSetIndexBuffer(IndexBufferImpl* buffer) {
  auto* dx9 = static_cast<IndexBufferImplDX9*>(buffer);
  return ToResult(mDevice->SetIndices(dx9 ? dx9->GetDeviceBuffer() : nullptr));
}

VNResultEnum RenderDX9::DoSetBlendMode(uint32_t mode) {
  if (mode > DrawState::kBlendAdditive) return VN_OK;
  IDirect3DDevice9* device = mDevice;
  auto stage = [device](D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    return Ok(device->SetTextureStageState(0, type, value));
  };
  bool ok;
  if (mode == DrawState::kBlendNone) {
    ok = Ok(device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE)) &&
         stage(D3DTSS_COLOROP, D3DTOP_SELECTARG1) && stage(D3DTSS_COLORARG1, D3DTA_TEXTURE) &&
         stage(D3DTSS_ALPHAOP, D3DTOP_SELECTARG1) && stage(D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  } else {
    const DWORD dest = mode == DrawState::kBlendAlpha ? D3DBLEND_INVSRCALPHA : D3DBLEND_ONE;
    ok = Ok(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE)) &&
         Ok(device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA)) &&
         Ok(device->SetRenderState(D3DRS_DESTBLEND, dest)) &&
         stage(D3DTSS_COLOROP, D3DTOP_MODULATE) && stage(D3DTSS_COLORARG1, D3DTA_TEXTURE) &&
         stage(D3DTSS_COLORARG2, D3DTA_DIFFUSE) && stage(D3DTSS_ALPHAOP, D3DTOP_MODULATE) &&
         stage(D3DTSS_ALPHAARG1, D3DTA_TEXTURE) && stage(D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  }
  return ok ? VN_OK : VN_FAIL;
}

VNResultEnum RenderDX9::DoSetScissorEnable(bool enable) {
  if (!mScissorSupported) return VN_OK;
  return ToResult(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, enable ? TRUE : FALSE));
}

VNResultEnum RenderDX9::DoSetScissorRect(const uint32_t rect[4]) {
  if (!mScissorSupported) return VN_OK;
  const RECT scissor = {LONG(rect[0]), LONG(rect[1]), LONG(rect[0] + rect[2]),
                        LONG(rect[1] + rect[3])};
  return ToResult(mDevice->SetScissorRect(&scissor));
}

VNResultEnum RenderDX9::DoSetDepthState(bool test, bool write) {
  if (!test) return ToResult(mDevice->SetRenderState(D3DRS_ZENABLE, FALSE));
  const bool ok = Ok(mDevice->SetRenderState(D3DRS_ZENABLE, TRUE)) &&
                  Ok(mDevice->SetRenderState(D3DRS_ZWRITEENABLE, write ? TRUE : FALSE));
  return ok ? VN_OK : VN_FAIL;
}

VNResultEnum RenderDX9::DoDrawPrimitive(uint32_t type, uint32_t startVertex,
                                        uint32_t primitiveCount) {
  return ToResult(mDevice->DrawPrimitive(ToD3DPrimitiveType(type), startVertex, primitiveCount));
}

VNResultEnum RenderDX9::DoDrawIndexedPrimitive(uint32_t type, uint32_t, uint32_t startIndex,
                                               uint32_t primitiveCount, uint32_t minVertex,
                                               uint32_t vertexCount) {
  return ToResult(mDevice->DrawIndexedPrimitive(ToD3DPrimitiveType(type), 0, minVertex,
                                                vertexCount, startIndex, primitiveCount));
}

void RenderDX9::Sleep(unsigned milliseconds) { win32::Sleep(milliseconds); }

}  // namespace render
