#pragma once
#include "Core/Render/Render.h"
#include "Platform/D3D9/D3D9.h"

namespace render {

// The Direct3D 9 back end: creates the device for the application window, refuses cards that
// cannot run the engine, keeps the engine's default device state, plays the command buffer on the
// device and survives a lost device and a switch between windowed and full-screen mode.
class RenderDX9 : public Render {
 public:
  RenderDX9();
  // Releases the caches and shaders, then the back buffer, the device and Direct3D.
  ~RenderDX9() override;

  VNResultEnum InitRender(app::Window* window, const RenderInitParam& param) override;
  // Releases the default-pool objects before the window changes its style.
  VNResultEnum PrepareSwitchScreenMode() override;
  // Takes the new size and mode and resets the device.
  VNResultEnum SwitchScreenMode(const RenderInitParam& param) override;
  VNResultEnum CreateTexture(Texture*& out) override;
  VNResultEnum CreateShaderImpl(const char* vertexText, const char* pixelText,
                                ShaderImpl*& out) override;
  VNResultEnum CreateGeomShaderImpl(ShaderImpl*& out) override;
  VNResultEnum CreateTexturedShaderImpl(ShaderImpl*& out) override;
  VNResultEnum CreateTintShaderImpl(ShaderImpl*& out) override;
  VNResultEnum CreateVertexBuffer(const VertexFormat& format, unsigned count, bool dynamic,
                                  VertexBufferImpl*& out) override;
  VNResultEnum CreateIndexBuffer(unsigned indexSize, unsigned count, bool dynamic,
                                 IndexBufferImpl*& out) override;
  // Tests the device once per frame; releases, waits for and resets a lost device.
  bool IsDeviceReady() override;

  VNResultEnum DoClear(uint32_t flags, const float color[4], float depth,
                       uint32_t stencil) override;
  VNResultEnum DoBeginScene() override;
  VNResultEnum DoEndScene() override;
  VNResultEnum DoPresent() override;
  VNResultEnum DoSetRenderTarget(Texture* target) override;
  VNResultEnum DoSetShader(ShaderImpl* program) override;
  VNResultEnum DoSetVertexFormat(uint32_t id) override;
  VNResultEnum DoSetVertexBuffer(VertexBufferImpl* buffer) override;
  VNResultEnum DoSetIndexBuffer(IndexBufferImpl* buffer) override;
  VNResultEnum DoSetBlendMode(uint32_t mode) override;
  // Nothing happens on a device without scissor testing.
  VNResultEnum DoSetScissorEnable(bool enable) override;
  VNResultEnum DoSetScissorRect(const uint32_t rect[4]) override;
  VNResultEnum DoSetDepthState(bool test, bool write) override;
  VNResultEnum DoDrawPrimitive(uint32_t type, uint32_t startVertex,
                               uint32_t primitiveCount) override;
  VNResultEnum DoDrawIndexedPrimitive(uint32_t type, uint32_t indexSize, uint32_t startIndex,
                                      uint32_t primitiveCount, uint32_t minVertex,
                                      uint32_t vertexCount) override;

  static d3d9::D3DPRIMITIVETYPE ToD3DPrimitiveType(uint32_t type);

  d3d9::IDirect3DDevice9* GetDevice() const { return mDevice; }
  bool IsDeviceLost() const { return mDeviceLost; }
  const d3d9::D3DPRESENT_PARAMETERS& GetPresentParameters() const { return mPresentParams; }

 protected:
  // The window's native handle and whether it can be drawn to: windowed and not minimised, or
  // full screen and active.
  virtual win32::HWND GetWindowHandle() const;
  virtual bool IsWindowUsable() const;
  // Waits while a lost device cannot be reset.
  virtual void Sleep(unsigned milliseconds);

  VNResultEnum FillPresentParameters();
  VNResultEnum SetDefaultStates();
  // After a successful reset: the back buffer, viewport and default state again.
  VNResultEnum InitDeviceState();
  // Releases the default-pool objects and drops the frame being recorded; sets the lost flag.
  VNResultEnum LostDevice();
  // Clears the lost flag when the reset succeeds.
  VNResultEnum ResetDevice();

 private:
  // Takes the back buffer, sets the viewport, clears to opaque black and presents.
  VNResultEnum PrepareBackBuffer();
  // Releases what a reset needs released, unless that already happened.
  void EnterLost();

  app::Window* mWindow = nullptr;
  win32::HWND mWindowHandle = nullptr;
  uint32_t mWidth = 0;
  uint32_t mHeight = 0;
  bool mWindowed = false;
  bool mMultithreaded = true;
  d3d9::IDirect3D9* mD3D = nullptr;
  d3d9::IDirect3DDevice9* mDevice = nullptr;
  d3d9::IDirect3DSurface9* mBackBuffer = nullptr;
  d3d9::D3DPRESENT_PARAMETERS mPresentParams = {};
  d3d9::D3DVIEWPORT9 mViewport = {};
  bool mDeviceLost = false;
};

}  // namespace render
