#pragma once
// Private to Platform/D3D9: the OpenGL 3.3 core device and its objects.
#include <epoxy/gl.h>

#include <memory>
#include <vector>

#include "Platform/D3D9/RefCounted.h"
#include "Platform/D3D9/ShaderCode.h"

struct SDL_Window;

namespace d3d9 {

class GlDevice;
class GlProgramCache;
class GlTexture;
template <class Interface>
class GlShader;
using GlVertexShader = GlShader<IDirect3DVertexShader9>;
using GlPixelShader = GlShader<IDirect3DPixelShader9>;

// The window a device draws into: the SDL window behind a window handle.
SDL_Window* WindowFromHandle(HWND window);

// Whether the GL context of a device still exists. The window may be destroyed before the device
// and its objects are released; from then on none of them calls GL (the context took every GL
// object with it).
struct GlContextLife {
  bool alive = true;
};

// Vertex attribute locations by element, shared with the program linker.
enum GlAttribute : GLuint {
  kAttribPosition = 0,
  kAttribDiffuse = 1,
  kAttribSpecular = 2,
  kAttribNormal = 3,
  kAttribTexCoord0 = 4,
};
constexpr int kMaxStages = 8;

// Level 0 of a texture (its reference count is the texture's), or the device's back buffer.
class GlSurface : public IDirect3DSurface9 {
 public:
  GlSurface(GlDevice* device, GlTexture* texture) : mDevice(device), mTexture(texture) {}
  ULONG AddRef() override;
  ULONG Release() override;
  GlTexture* GetTexture() const { return mTexture; }
  GlDevice* GetDevice() const { return mDevice; }
  UINT GetWidth() const;
  UINT GetHeight() const;

 private:
  GlDevice* mDevice;
  GlTexture* mTexture;  // null for the back buffer
};

// An object made by the device. It may outlive the device, which detaches it when it goes, and the
// context: its GL calls are made only while HasContext.
class GlResource {
 public:
  GlResource(GlDevice* device, D3DPOOL pool);
  virtual ~GlResource();
  GlDevice* GetDevice() const { return mDevice; }
  D3DPOOL GetPool() const { return mPool; }
  void Detach() { mDevice = nullptr; }
  bool HasContext() const { return mLife->alive; }

 private:
  GlDevice* mDevice;
  D3DPOOL mPool;
  std::shared_ptr<const GlContextLife> mLife;
};

class GlTexture : public RefCounted<IDirect3DTexture9>, public GlResource {
 public:
  GlTexture(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool);
  ~GlTexture() override;

  DWORD GetLevelCount() override { return mLevels; }
  HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  GLuint GetName() const { return mName; }
  UINT GetWidth() const { return mWidth; }
  UINT GetHeight() const { return mHeight; }
  bool IsRenderTarget() const { return (mUsage & D3DUSAGE_RENDERTARGET) != 0; }
  // The framebuffer that draws into level 0; made on first use.
  GLuint GetFramebuffer();

 private:
  UINT LevelWidth(UINT level) const;
  UINT LevelHeight(UINT level) const;
  UINT LevelPitch(UINT level) const;
  UINT LevelRows(UINT level) const;
  UINT BlockBytes() const { return mFormat == D3DFMT_DXT1 ? 8 : 16; }
  bool IsCompressed() const { return mFormat != D3DFMT_A8R8G8B8 && mFormat != D3DFMT_X8R8G8B8; }

  UINT mWidth;
  UINT mHeight;
  UINT mLevels;
  DWORD mUsage;
  D3DFORMAT mFormat;
  GLuint mName = 0;
  GLuint mFramebuffer = 0;
  GlSurface mSurface;
  std::vector<std::vector<unsigned char>> mStaging;  // per level, while locked
  std::vector<bool> mLocked;
};

// Vertex and index buffers: a lock maps the GL buffer (see GlBuffer.cpp).
template <class Interface>
class GlBuffer : public RefCounted<Interface>, public GlResource {
 public:
  // indexType: GL_UNSIGNED_SHORT or GL_UNSIGNED_INT for index buffers, 0 for vertex buffers.
  GlBuffer(GlDevice* device, UINT length, D3DPOOL pool, GLenum indexType);
  ~GlBuffer() override;
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
  HRESULT Unlock() override;
  GLuint GetName() const { return mName; }
  GLenum GetIndexType() const { return mIndexType; }
  UINT GetLength() const { return mLength; }

 private:
  GLuint mName = 0;
  GLenum mIndexType;
  UINT mLength;
  bool mLocked = false;
};
using GlVertexBuffer = GlBuffer<IDirect3DVertexBuffer9>;
using GlIndexBuffer = GlBuffer<IDirect3DIndexBuffer9>;

// Whether the window's framebuffer can hold the back buffer (colour, depth and stencil as deep,
// single-sampled, clip origin movable), and whether it stores alpha too.
struct WindowFramebuffer {
  bool fits = false;
  bool alpha = false;
};

// Every render target is a texture on a framebuffer object stored top row first, so all of them
// rasterise alike (Direct3D 9's top-left rule on pixel centres). The back buffer is drawn straight
// into the window's framebuffer while the window is its size and that framebuffer stores what a
// back buffer does (8-bit colour, alpha unless the back buffer has none, 24-bit depth, 8-bit
// stencil): the clip origin at the upper left turns the same clip positions into the same pixels,
// upright on the screen, and Present only swaps, saving a full-screen copy per frame. Otherwise the
// back buffer is one more texture on a framebuffer object, which Present copies to the window,
// stretched to the drawable and upside down for GL's bottom-left origin. The choice is made at
// creation, reset and after each Present, so a frame begun before the window changed size still
// shows at the old size.
class GlDevice : public RefCounted<IDirect3DDevice9> {
 public:
  // Draws with the window's context, which must be current.
  GlDevice(HWND handle, SDL_Window* window, const D3DPRESENT_PARAMETERS& params);
  ~GlDevice() override;

  HRESULT TestCooperativeLevel() override;
  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
  HRESULT Present(const RECT* source, const RECT* dest, HWND window, const void* dirty) override;
  HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
  HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
  HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR color, float z,
                DWORD stencil) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT SetScissorRect(const RECT* rect) override;
  HRESULT SetFVF(DWORD fvf) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                          UINT stride) override;
  HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) override;
  HRESULT CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) override;
  HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
  HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override;
  HRESULT SetVertexShaderConstantF(UINT start, const float* data, UINT count) override;
  HRESULT SetPixelShaderConstantF(UINT start, const float* data, UINT count) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int baseVertex, UINT minVertex,
                               UINT vertexCount, UINT startIndex, UINT primitiveCount) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer, HANDLE* shared) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer, HANDLE* shared) override;

  void Attach(GlResource* resource) { mResources.push_back(resource); }
  void Detach(GlResource* resource);
  // The D3D convention for the vertex stage, as (x, y) clip offsets of half a pixel and the y sign
  // of the current target (-1: every target is stored top row first).
  void GetPositionFixup(float fixup[4]) const;
  UINT GetBackBufferWidth() const { return mParams.BackBufferWidth; }
  UINT GetBackBufferHeight() const { return mParams.BackBufferHeight; }
  // The texture that holds the back buffer; 0 while the back buffer is the window's framebuffer.
  GLuint GetBackBufferName() const { return mBackOnWindow ? 0 : mBackColor; }
  GlSurface* GetCurrentTarget() const { return mTarget; }
  const std::shared_ptr<GlContextLife>& GetContextLife() const { return mLife; }
  bool HasContext() const { return mLife->alive; }
  // Drops the linked programs that use a shader which goes away.
  void ForgetShader(const void* shader);

 private:
  // The back buffer's texture, depth-stencil buffer and framebuffer at the parameters' size.
  void CreateBackBuffer();
  void DeleteBackBuffer();
  GLuint TargetFramebuffer() const;
  bool TargetIsWindow() const { return mBackOnWindow && !mTarget->GetTexture(); }
  // Draws the back buffer into the window while the drawable is the back buffer's size.
  void PlaceBackBuffer();
  // Binds the current target's framebuffer with its clip origin, viewport, scissor and culling.
  void BindTarget();
  // GL's bottom-up window row of the Direct3D rows [top, top + height) of the current target.
  GLint TargetRow(LONG top, LONG height) const;
  void ApplyViewport();
  void ApplyScissor();
  void ApplyCull();
  void ApplyBlend();
  void ApplySampler(DWORD stage);
  // Points the attributes at the stream when the stream or the layout changed since the last draw.
  bool ApplyVertexLayout();
  // Uses the program of the current pair with the registers and the position fix-up (uploaded only
  // when they or the program changed since the last draw); false when a program is missing or the
  // pair does not link.
  bool ApplyProgram();
  // Drops every binding, as a reset does; the objects may go away with it.
  void Unbind();
  // Counts the triangles a draw submitted and flushes every few thousand of them.
  void HandOver(UINT primitives);

  SDL_Window* mWindow;
  std::shared_ptr<GlContextLife> mLife = std::make_shared<GlContextLife>();
  D3DPRESENT_PARAMETERS mParams;
  GLuint mBackColor = 0;
  GLuint mBackDepth = 0;
  GLuint mBackFramebuffer = 0;
  WindowFramebuffer mWindowFramebuffer;  // asked once, of the framebuffer the context came with
  bool mBackOnWindow = false;
  bool mLost = false;
  bool mInScene = false;
  std::vector<GlResource*> mResources;
  GLuint mVertexArray = 0;
  GLuint mSamplers[kMaxStages] = {};
  DWORD mRenderStates[256] = {};
  DWORD mSamplerStates[kMaxStages][8] = {};
  GlSurface mBackBuffer;
  GlSurface* mTarget;
  D3DVIEWPORT9 mViewport = {};
  RECT mScissor = {};
  DWORD mFvf = 0;
  GlVertexBuffer* mStream = nullptr;
  UINT mStreamOffset = 0;
  UINT mStride = 0;
  bool mLayoutApplied = false;  // the attributes point at mStream with mFvf, mStreamOffset, mStride
  GlIndexBuffer* mIndices = nullptr;
  bool mIndicesApplied = false;  // mIndices is the element buffer of the vertex array
  GlTexture* mTextures[kMaxStages] = {};
  GlVertexShader* mVertexShader = nullptr;
  GlPixelShader* mPixelShader = nullptr;
  float mVertexConstants[kVertexRegisters * 4] = {};
  float mPixelConstants[kPixelRegisters * 4] = {};
  // What the program in use last received; a new program or a register write sends them again.
  GLuint mUsedProgram = 0;
  bool mConstantsSent = false;
  float mSentFixup[4] = {};
  std::unique_ptr<GlProgramCache> mPrograms;
  UINT mPrimitivesSinceFlush = 0;  // since the last flush or present
};

}  // namespace d3d9
