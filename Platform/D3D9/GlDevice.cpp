#include "Platform/D3D9/GlDevice.h"

#include "Platform/D3D9/GlDrawable.h"
#include "Platform/D3D9/GlShader.h"

#include <SDL.h>

#include <algorithm>

#include "Platform/Win32/WindowHandle.h"

namespace d3d9 {

namespace {

GLenum ToGlBlend(DWORD blend) {
  switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
  }
}

GLenum ToGlAddress(DWORD address) {
  switch (address) {
    case D3DTADDRESS_WRAP: return GL_REPEAT;
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    default: return GL_CLAMP_TO_EDGE;
  }
}

// Mode and vertex (or index) count of a D3D primitive run.
bool ToGlPrimitive(D3DPRIMITIVETYPE type, UINT primitives, GLenum& mode, GLsizei& count) {
  switch (type) {
    case D3DPT_POINTLIST: mode = GL_POINTS; count = GLsizei(primitives); return true;
    case D3DPT_LINELIST: mode = GL_LINES; count = GLsizei(primitives * 2); return true;
    case D3DPT_LINESTRIP: mode = GL_LINE_STRIP; count = GLsizei(primitives + 1); return true;
    case D3DPT_TRIANGLELIST: mode = GL_TRIANGLES; count = GLsizei(primitives * 3); return true;
    case D3DPT_TRIANGLESTRIP: mode = GL_TRIANGLE_STRIP; count = GLsizei(primitives + 2); return true;
    case D3DPT_TRIANGLEFAN: mode = GL_TRIANGLE_FAN; count = GLsizei(primitives + 2); return true;
  }
  return false;
}

// What the window's framebuffer (bound as framebuffer 0) stores, against the back buffer's
// 8-bit colour, 24-bit depth and 8-bit stencil; the clip origin must move for it to be drawn in.
WindowFramebuffer DescribeWindowFramebuffer() {
  if (epoxy_gl_version() < 45 && !epoxy_has_gl_extension("GL_ARB_clip_control")) return {};
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  GLint drawBuffer = GL_BACK, samples = 0;
  glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
  glGetIntegerv(GL_SAMPLES, &samples);
  const GLenum colour = drawBuffer == GL_FRONT ? GL_FRONT_LEFT : GL_BACK_LEFT;
  auto bits = [](GLenum buffer, GLenum parameter) {
    GLint value = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, buffer, parameter, &value);
    return value;
  };
  // An sRGB-capable window stores linear values as long as GL_FRAMEBUFFER_SRGB stays off.
  WindowFramebuffer window;
  window.fits = samples == 0 && bits(colour, GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE) == 8 &&
                bits(colour, GL_FRAMEBUFFER_ATTACHMENT_GREEN_SIZE) == 8 &&
                bits(colour, GL_FRAMEBUFFER_ATTACHMENT_BLUE_SIZE) == 8 &&
                bits(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE) == 24 &&
                bits(GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE) == 8;
  window.alpha = bits(colour, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE) == 8;
  return window;
}

template <class T>
void Rebind(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

}  // namespace

GlDevice::GlDevice(HWND handle, SDL_Window* window, const D3DPRESENT_PARAMETERS& params)
    : mWindow(window),
      mParams(params),
      mBackBuffer(this, nullptr),
      mTarget(&mBackBuffer),
      mPrograms(std::make_unique<GlProgramCache>(mLife)) {
  glGenVertexArrays(1, &mVertexArray);
  glBindVertexArray(mVertexArray);
  glGenSamplers(kMaxStages, mSamplers);
  for (DWORD stage = 0; stage < kMaxStages; ++stage) {
    mSamplerStates[stage][D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
    mSamplerStates[stage][D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
    mSamplerStates[stage][D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
    mSamplerStates[stage][D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    mSamplerStates[stage][D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    glBindSampler(stage, mSamplers[stage]);
    ApplySampler(stage);
  }
  mRenderStates[D3DRS_ZENABLE] = TRUE;
  mRenderStates[D3DRS_ZWRITEENABLE] = TRUE;
  mRenderStates[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  mRenderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  mRenderStates[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  mRenderStates[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  mRenderStates[D3DRS_CULLMODE] = D3DCULL_CCW;
  if (mParams.BackBufferWidth == 0 || mParams.BackBufferHeight == 0) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(mWindow, &w, &h);
    mParams.BackBufferWidth = UINT(w);
    mParams.BackBufferHeight = UINT(h);
  }
  SDL_GL_SetSwapInterval(0);
  // The watcher holds the flag, not the device: objects may outlive the device too.
  win32::WatchGlContext(handle, [life = mLife] { life->alive = false; });
  CreateBackBuffer();
  mWindowFramebuffer = DescribeWindowFramebuffer();
  PlaceBackBuffer();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_BLEND);
  SetRenderTarget(0, &mBackBuffer);
}

GlDevice::~GlDevice() {
  Unbind();
  for (GlResource* resource : mResources) resource->Detach();
  mPrograms.reset();
  if (!HasContext()) return;
  DeleteBackBuffer();
  glDeleteSamplers(kMaxStages, mSamplers);
  glDeleteVertexArrays(1, &mVertexArray);
}

void GlDevice::CreateBackBuffer() {
  const GLsizei width = GLsizei(mParams.BackBufferWidth), height = GLsizei(mParams.BackBufferHeight);
  glGenTextures(1, &mBackColor);
  glBindTexture(GL_TEXTURE_2D, mBackColor);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenRenderbuffers(1, &mBackDepth);
  glBindRenderbuffer(GL_RENDERBUFFER, mBackDepth);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glGenFramebuffers(1, &mBackFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, mBackFramebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mBackColor, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                            mBackDepth);
}

void GlDevice::DeleteBackBuffer() {
  glDeleteFramebuffers(1, &mBackFramebuffer);
  glDeleteRenderbuffers(1, &mBackDepth);
  glDeleteTextures(1, &mBackColor);
  mBackFramebuffer = mBackDepth = mBackColor = 0;
}

GLuint GlDevice::TargetFramebuffer() const {
  GlTexture* texture = mTarget->GetTexture();
  if (texture) return texture->GetFramebuffer();
  return mBackOnWindow ? 0 : mBackFramebuffer;
}

void GlDevice::PlaceBackBuffer() {
  int width = 0, height = 0;
  GetWindowFramebufferSize(mWindow, width, height);
  // Without alpha in the window only a back buffer without alpha fits, as Direct3D's X8R8G8B8.
  const bool onWindow = mWindowFramebuffer.fits &&
                        (mWindowFramebuffer.alpha || mParams.BackBufferFormat != D3DFMT_A8R8G8B8) &&
                        UINT(width) == mParams.BackBufferWidth && UINT(height) == mParams.BackBufferHeight;
  if (onWindow == mBackOnWindow) return;
  mBackOnWindow = onWindow;
  if (!mTarget->GetTexture()) BindTarget();
}

void GlDevice::BindTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, TargetFramebuffer());
  // The same clip positions land on the same pixels: upside down in a texture read top row first,
  // upright in the window, whose rows GL counts from the bottom.
  if (mWindowFramebuffer.fits) {
    glClipControl(TargetIsWindow() ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
  }
  ApplyViewport();
  ApplyScissor();
  ApplyCull();
}

GLint GlDevice::TargetRow(LONG top, LONG height) const {
  return TargetIsWindow() ? GLint(mTarget->GetHeight()) - GLint(top) - GLint(height) : GLint(top);
}

void GlDevice::Detach(GlResource* resource) {
  mResources.erase(std::find(mResources.begin(), mResources.end(), resource));
}

void GlDevice::Unbind() {
  if (mTarget != &mBackBuffer) {
    mTarget->Release();
    mTarget = &mBackBuffer;
    if (HasContext()) BindTarget();
  }
  Rebind(mStream, static_cast<GlVertexBuffer*>(nullptr));
  Rebind(mIndices, static_cast<GlIndexBuffer*>(nullptr));
  mLayoutApplied = false;
  mIndicesApplied = false;
  for (GlTexture*& texture : mTextures) Rebind(texture, static_cast<GlTexture*>(nullptr));
  Rebind(mVertexShader, static_cast<GlVertexShader*>(nullptr));
  Rebind(mPixelShader, static_cast<GlPixelShader*>(nullptr));
}

HRESULT GlDevice::TestCooperativeLevel() {
  if (!HasContext()) return D3DERR_DEVICELOST;
  const Uint32 flags = SDL_GetWindowFlags(mWindow);
  const bool fullScreen = (flags & SDL_WINDOW_FULLSCREEN) != 0;
  const bool active = (flags & SDL_WINDOW_INPUT_FOCUS) && !(flags & SDL_WINDOW_MINIMIZED);
  if (fullScreen && !active) mLost = true;
  if (!mLost) return D3D_OK;
  return fullScreen && !active ? D3DERR_DEVICELOST : D3DERR_DEVICENOTRESET;
}

HRESULT GlDevice::Reset(D3DPRESENT_PARAMETERS* params) {
  if (!params) return D3DERR_INVALIDCALL;
  if (!HasContext()) return D3DERR_DEVICELOST;
  const Uint32 flags = SDL_GetWindowFlags(mWindow);
  if ((flags & SDL_WINDOW_FULLSCREEN) && !(flags & SDL_WINDOW_INPUT_FOCUS)) {
    return D3DERR_DEVICELOST;
  }
  // Every default-pool object must have been released first.
  Unbind();
  for (const GlResource* resource : mResources) {
    if (resource->GetPool() == D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  }
  mParams = *params;
  if (mParams.BackBufferWidth == 0 || mParams.BackBufferHeight == 0) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(mWindow, &w, &h);
    mParams.BackBufferWidth = UINT(w);
    mParams.BackBufferHeight = UINT(h);
  }
  mLost = false;
  mInScene = false;
  DeleteBackBuffer();
  CreateBackBuffer();
  PlaceBackBuffer();
  return SetRenderTarget(0, &mBackBuffer);
}

HRESULT GlDevice::Present(const RECT* source, const RECT* dest, HWND window, const void* dirty) {
  if (source || dest || window || dirty) return D3DERR_INVALIDCALL;
  if (mLost || !HasContext()) return D3DERR_DEVICELOST;
  if (!mBackOnWindow) {
    // The back buffer fills the window's drawable, as Direct3D stretches it over the client area.
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(mWindow, &width, &height);
    const GLint backWidth = GLint(mParams.BackBufferWidth), backHeight = GLint(mParams.BackBufferHeight);
    const bool sameSize = width == backWidth && height == backHeight;
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mBackFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, backWidth, backHeight, 0, height, width, 0, GL_COLOR_BUFFER_BIT,
                      sameSize ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, TargetFramebuffer());
    if (mRenderStates[D3DRS_SCISSORTESTENABLE]) glEnable(GL_SCISSOR_TEST);
  }
  SDL_GL_SwapWindow(mWindow);
  mPrimitivesSinceFlush = 0;
  // From the next frame on, a window of another size gets the copy, stretched.
  PlaceBackBuffer();
  return D3D_OK;
}

HRESULT GlDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
  if (index != 0 || !surface) return D3DERR_INVALIDCALL;
  mTarget->AddRef();
  *surface = mTarget;
  return D3D_OK;
}

HRESULT GlDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
  if (index != 0 || !surface) return D3DERR_INVALIDCALL;
  if (!HasContext()) return D3DERR_DEVICELOST;
  auto* target = static_cast<GlSurface*>(surface);
  GlTexture* texture = target->GetTexture();
  if (texture && !texture->IsRenderTarget()) return D3DERR_INVALIDCALL;
  if (texture && !texture->GetFramebuffer()) return D3DERR_INVALIDCALL;
  // The back buffer is not counted: it belongs to the device.
  if (texture) target->AddRef();
  if (mTarget != &mBackBuffer) mTarget->Release();
  mTarget = target;
  mViewport = {0, 0, target->GetWidth(), target->GetHeight(), 0.0f, 1.0f};
  BindTarget();
  return D3D_OK;
}

void GlDevice::ApplyViewport() {
  glViewport(GLint(mViewport.X), TargetRow(LONG(mViewport.Y), LONG(mViewport.Height)),
             GLsizei(mViewport.Width), GLsizei(mViewport.Height));
  glDepthRange(mViewport.MinZ, mViewport.MaxZ);
}

void GlDevice::ApplyScissor() {
  const LONG width = std::max<LONG>(0, mScissor.right - mScissor.left);
  const LONG height = std::max<LONG>(0, mScissor.bottom - mScissor.top);
  glScissor(mScissor.left, TargetRow(mScissor.top, height), width, height);
}

void GlDevice::ApplyCull() {
  const DWORD mode = mRenderStates[D3DRS_CULLMODE];
  if (mode != D3DCULL_CW && mode != D3DCULL_CCW) {
    glDisable(GL_CULL_FACE);
    return;
  }
  // Winding as seen on the screen; targets are drawn upside down, which mirrors it: GL's
  // counter-clockwise is Direct3D's clockwise.
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(mode == D3DCULL_CCW ? GL_CCW : GL_CW);
}

void GlDevice::ApplyBlend() {
  if (mRenderStates[D3DRS_ALPHABLENDENABLE]) {
    glEnable(GL_BLEND);
  } else {
    glDisable(GL_BLEND);
  }
  const GLenum source = ToGlBlend(mRenderStates[D3DRS_SRCBLEND]);
  const GLenum dest = ToGlBlend(mRenderStates[D3DRS_DESTBLEND]);
  if (mRenderStates[D3DRS_SEPARATEALPHABLENDENABLE]) {
    glBlendFuncSeparate(source, dest, ToGlBlend(mRenderStates[D3DRS_SRCBLENDALPHA]),
                        ToGlBlend(mRenderStates[D3DRS_DESTBLENDALPHA]));
  } else {
    glBlendFunc(source, dest);
  }
}

void GlDevice::ApplySampler(DWORD stage) {
  const DWORD* states = mSamplerStates[stage];
  const GLuint sampler = mSamplers[stage];
  const bool linearMin = states[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
  GLenum minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
  // A texture of one level samples the same without a mip filter, and llvmpipe then skips the
  // per-pixel level of detail (a third of the fill cost of a sprite).
  const bool mips = mTextures[stage] && mTextures[stage]->GetLevelCount() > 1;
  if (mips && states[D3DSAMP_MIPFILTER] == D3DTEXF_POINT) {
    minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  } else if (mips && states[D3DSAMP_MIPFILTER] >= D3DTEXF_LINEAR) {
    minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  }
  glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                      states[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GLint(ToGlAddress(states[D3DSAMP_ADDRESSU])));
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GLint(ToGlAddress(states[D3DSAMP_ADDRESSV])));
}

HRESULT GlDevice::SetViewport(const D3DVIEWPORT9* viewport) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (!viewport || viewport->X + viewport->Width > mTarget->GetWidth() ||
      viewport->Y + viewport->Height > mTarget->GetHeight()) {
    return D3DERR_INVALIDCALL;
  }
  mViewport = *viewport;
  ApplyViewport();
  return D3D_OK;
}

HRESULT GlDevice::Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD stencil) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (count != 0 || rects) return D3DERR_INVALIDCALL;
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
  if (flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
  if (flags & D3DCLEAR_STENCIL) mask |= GL_STENCIL_BUFFER_BIT;
  if (!mask) return D3DERR_INVALIDCALL;
  // Direct3D clears the viewport, cut by the scissor rectangle while scissor testing is on.
  LONG left = LONG(mViewport.X), top = LONG(mViewport.Y);
  LONG right = left + LONG(mViewport.Width), bottom = top + LONG(mViewport.Height);
  if (mRenderStates[D3DRS_SCISSORTESTENABLE]) {
    left = std::max(left, mScissor.left);
    top = std::max(top, mScissor.top);
    right = std::min(right, mScissor.right);
    bottom = std::min(bottom, mScissor.bottom);
  }
  if (right <= left || bottom <= top) return D3D_OK;
  // Only the state this clear needs is touched: a changed scissor test or depth mask makes the
  // driver check its state again at the next draw.
  const bool scissorOn = mRenderStates[D3DRS_SCISSORTESTENABLE] != 0;
  const bool wholeTarget = left <= 0 && top <= 0 && right >= LONG(mTarget->GetWidth()) &&
                           bottom >= LONG(mTarget->GetHeight());
  if (!wholeTarget) {
    if (!scissorOn) glEnable(GL_SCISSOR_TEST);
    glScissor(left, TargetRow(top, bottom - top), right - left, bottom - top);
  } else if (scissorOn) {
    glDisable(GL_SCISSOR_TEST);
  }
  glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
               float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
  const bool depth = (mask & GL_DEPTH_BUFFER_BIT) != 0;
  if (depth) {
    glClearDepth(z);
    glDepthMask(GL_TRUE);
  }
  if (mask & GL_STENCIL_BUFFER_BIT) glClearStencil(GLint(stencil));
  glClear(mask);
  if (depth) glDepthMask(mRenderStates[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  if (!wholeTarget) {
    ApplyScissor();
    if (!scissorOn) glDisable(GL_SCISSOR_TEST);
  } else if (scissorOn) {
    glEnable(GL_SCISSOR_TEST);
  }
  return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
  if (mInScene) return D3DERR_INVALIDCALL;
  mInScene = true;
  return D3D_OK;
}

HRESULT GlDevice::EndScene() {
  if (!mInScene) return D3DERR_INVALIDCALL;
  mInScene = false;
  return D3D_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (state >= 256) return D3DERR_INVALIDCALL;
  mRenderStates[state] = value;
  switch (state) {
    case D3DRS_ZENABLE:
      if (value) glEnable(GL_DEPTH_TEST); else glDisable(GL_DEPTH_TEST);
      break;
    case D3DRS_ZWRITEENABLE:
      glDepthMask(value ? GL_TRUE : GL_FALSE);
      break;
    case D3DRS_SCISSORTESTENABLE:
      if (value) glEnable(GL_SCISSOR_TEST); else glDisable(GL_SCISSOR_TEST);
      break;
    case D3DRS_CULLMODE:
      ApplyCull();
      break;
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_SEPARATEALPHABLENDENABLE:
    case D3DRS_SRCBLENDALPHA:
    case D3DRS_DESTBLENDALPHA:
      ApplyBlend();
      break;
    default:
      break;  // fixed-function states: the programs do that work
  }
  return D3D_OK;
}

HRESULT GlDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (sampler >= kMaxStages || type >= 8) return D3DERR_INVALIDCALL;
  mSamplerStates[sampler][type] = value;
  ApplySampler(sampler);
  return D3D_OK;
}

HRESULT GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE, DWORD) {
  // Texture stages are fixed-function: the programs compute the colour.
  return stage < kMaxStages ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GlDevice::SetScissorRect(const RECT* rect) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (!rect) return D3DERR_INVALIDCALL;
  mScissor = *rect;
  ApplyScissor();
  return D3D_OK;
}

HRESULT GlDevice::SetFVF(DWORD fvf) {
  if (fvf != mFvf) mLayoutApplied = false;
  mFvf = fvf;
  return D3D_OK;
}

HRESULT GlDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                  UINT stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  auto* glBuffer = static_cast<GlVertexBuffer*>(buffer);
  // The bound stream is referenced, so an unchanged pointer is still the same buffer object.
  if (glBuffer != mStream || offset != mStreamOffset || stride != mStride) mLayoutApplied = false;
  Rebind(mStream, glBuffer);
  mStreamOffset = offset;
  mStride = stride;
  return D3D_OK;
}

HRESULT GlDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
  auto* glBuffer = static_cast<GlIndexBuffer*>(buffer);
  if (glBuffer != mIndices) mIndicesApplied = false;
  Rebind(mIndices, glBuffer);
  return D3D_OK;
}

HRESULT GlDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (stage >= kMaxStages) return D3DERR_INVALIDCALL;
  auto* glTexture = static_cast<GlTexture*>(texture);
  Rebind(mTextures[stage], glTexture);
  glActiveTexture(GL_TEXTURE0 + stage);
  glBindTexture(GL_TEXTURE_2D, glTexture ? glTexture->GetName() : 0);
  glActiveTexture(GL_TEXTURE0);
  ApplySampler(stage);  // the mip filter depends on the texture's levels
  return D3D_OK;
}

HRESULT GlDevice::SetVertexShader(IDirect3DVertexShader9* shader) {
  Rebind(mVertexShader, static_cast<GlVertexShader*>(shader));
  return D3D_OK;
}

HRESULT GlDevice::SetPixelShader(IDirect3DPixelShader9* shader) {
  Rebind(mPixelShader, static_cast<GlPixelShader*>(shader));
  return D3D_OK;
}

bool GlDevice::ApplyVertexLayout() {
  if (!mStream || mStride == 0) return false;
  if (mLayoutApplied) return true;
  mLayoutApplied = true;
  glBindVertexArray(mVertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, mStream->GetName());
  for (GLuint location = 0; location < kAttribTexCoord0 + 8; ++location) {
    glDisableVertexAttribArray(location);
  }
  uintptr_t offset = mStreamOffset;
  auto attribute = [&](GLuint location, GLint size, GLenum type, GLboolean normalized,
                       uintptr_t bytes) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, size, type, normalized, GLsizei(mStride),
                          reinterpret_cast<const void*>(offset));
    offset += bytes;
  };
  const DWORD position = mFvf & D3DFVF_POSITION_MASK;
  if (position == D3DFVF_XYZ) attribute(kAttribPosition, 3, GL_FLOAT, GL_FALSE, 12);
  if (position == D3DFVF_XYZW) attribute(kAttribPosition, 4, GL_FLOAT, GL_FALSE, 16);
  if (mFvf & D3DFVF_NORMAL) attribute(kAttribNormal, 3, GL_FLOAT, GL_FALSE, 12);
  // Colours are stored B, G, R, A in memory (0xAARRGGBB little-endian).
  if (mFvf & D3DFVF_DIFFUSE) attribute(kAttribDiffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
  if (mFvf & D3DFVF_SPECULAR) attribute(kAttribSpecular, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
  const DWORD sets = (mFvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  for (DWORD set = 0; set < sets && set < 8; ++set) {
    static const GLint kSizes[4] = {2, 3, 4, 1};
    const GLint size = kSizes[(mFvf >> (16 + 2 * set)) & 3];
    attribute(kAttribTexCoord0 + set, size, GL_FLOAT, GL_FALSE, uintptr_t(size) * 4);
  }
  return true;
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  GLenum mode;
  GLsizei count;
  if (!ToGlPrimitive(type, primitiveCount, mode, count) || !ApplyVertexLayout() || !ApplyProgram()) {
    return D3DERR_INVALIDCALL;
  }
  glDrawArrays(mode, GLint(startVertex), count);
  HandOver(primitiveCount);
  return D3D_OK;
}

HRESULT GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int baseVertex, UINT minVertex,
                                       UINT vertexCount, UINT startIndex, UINT primitiveCount) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  GLenum mode;
  GLsizei count;
  if (!mIndices || !ToGlPrimitive(type, primitiveCount, mode, count) || !ApplyVertexLayout() ||
      !ApplyProgram()) {
    return D3DERR_INVALIDCALL;
  }
  const GLenum indexType = mIndices->GetIndexType();
  const uintptr_t indexSize = indexType == GL_UNSIGNED_INT ? 4 : 2;
  if (!mIndicesApplied) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mIndices->GetName());
    mIndicesApplied = true;
  }
  // The range's end is inclusive.
  const UINT maxVertex = vertexCount ? minVertex + vertexCount - 1 : minVertex;
  glDrawRangeElementsBaseVertex(mode, minVertex, maxVertex, count, indexType,
                                reinterpret_cast<const void*>(startIndex * indexSize), baseVertex);
  HandOver(primitiveCount);
  return D3D_OK;
}

// A software rasteriser starts on submitted triangles only at a flush, and the frame's draws come
// in one burst at playback: handing them over every few thousand triangles lets it draw while the
// rest are still being submitted. Larger batches leave it idle longer; much smaller ones cost it
// a pass over the framebuffer's tiles each.
void GlDevice::HandOver(UINT primitives) {
  static constexpr UINT kFlushPrimitives = 4096;
  mPrimitivesSinceFlush += primitives;
  if (mPrimitivesSinceFlush < kFlushPrimitives) return;
  glFlush();
  mPrimitivesSinceFlush = 0;
}

HRESULT GlDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                HANDLE* shared) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  const bool supported = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 ||
                         format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5;
  const bool defaultOnly = (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DYNAMIC)) != 0;
  if (!texture || shared || width == 0 || height == 0 || width > UINT(maxSize) ||
      height > UINT(maxSize) || !supported || (defaultOnly && pool != D3DPOOL_DEFAULT)) {
    return D3DERR_INVALIDCALL;
  }
  if (levels == 0) {
    for (UINT size = std::max(width, height); size > 0; size >>= 1) ++levels;
  }
  if ((usage & D3DUSAGE_RENDERTARGET) && levels != 1) return D3DERR_INVALIDCALL;
  *texture = new GlTexture(this, width, height, levels, usage, format, pool);
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer, HANDLE* shared) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (!buffer || shared || length == 0) return D3DERR_INVALIDCALL;
  *buffer = new GlVertexBuffer(this, length, pool, 0);
  return D3D_OK;
}

HRESULT GlDevice::CreateIndexBuffer(UINT length, DWORD, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer, HANDLE* shared) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  if (!buffer || shared || length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) {
    return D3DERR_INVALIDCALL;
  }
  const GLenum type = format == D3DFMT_INDEX32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
  *buffer = new GlIndexBuffer(this, length, pool, type);
  return D3D_OK;
}

void GlDevice::GetPositionFixup(float fixup[4]) const {
  fixup[0] = 1.0f / float(std::max<DWORD>(1, mViewport.Width));
  fixup[1] = -1.0f / float(std::max<DWORD>(1, mViewport.Height));
  fixup[2] = -1.0f;
  fixup[3] = 0.0f;
}

}  // namespace d3d9
