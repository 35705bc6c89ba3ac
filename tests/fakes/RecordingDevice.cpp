#include "RecordingDevice.h"

#include <cstdio>

#include "Platform/D3D9/RefCounted.h"

namespace fakes {

using namespace d3d9;

namespace {

RecordingD3D* sCurrent = nullptr;

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", unsigned(value));
  return text;
}

std::string Args() { return std::string(); }

template <class First, class... Rest>
std::string Args(const First& first, const Rest&... rest) {
  std::string text;
  if constexpr (std::is_convertible_v<First, std::string>) {
    text = first;
  } else {
    text = std::to_string(first);
  }
  if constexpr (sizeof...(rest) > 0) text += ", " + Args(rest...);
  return text;
}

// Counts itself among the live objects of the script.
class Counted {
 public:
  explicit Counted(RecordingD3D* script, D3DPOOL pool = D3DPOOL_MANAGED)
      : mScript(script), mPool(pool) {
    ++mScript->mLiveObjects;
    if (mPool == D3DPOOL_DEFAULT) ++mScript->mDefaultPoolObjects;
  }
  virtual ~Counted() {
    --mScript->mLiveObjects;
    if (mPool == D3DPOOL_DEFAULT) --mScript->mDefaultPoolObjects;
  }

 protected:
  RecordingD3D* mScript;
  D3DPOOL mPool;
};

class RecordingTexture;

// Level 0 of a texture: shares the texture's reference count.
class TextureSurface : public IDirect3DSurface9 {
 public:
  explicit TextureSurface(RecordingTexture* texture) : mTexture(texture) {}
  ULONG AddRef() override;
  ULONG Release() override;
  RecordingTexture* GetTexture() const { return mTexture; }

 private:
  RecordingTexture* mTexture;
};

class BackBufferSurface : public IDirect3DSurface9 {
 public:
  explicit BackBufferSurface(RecordingD3D* script) : mScript(script) {}
  ULONG AddRef() override { return ULONG(++mScript->mBackBufferReferences); }
  ULONG Release() override { return ULONG(--mScript->mBackBufferReferences); }

 private:
  RecordingD3D* mScript;
};

class RecordingTexture : public RefCounted<IDirect3DTexture9>, public Counted {
 public:
  RecordingTexture(RecordingD3D* script, UINT width, UINT height, UINT levels, D3DPOOL pool)
      : Counted(script, pool), mWidth(width), mHeight(height), mLevels(levels), mSurface(this) {}

  DWORD GetLevelCount() override { return mLevels; }
  HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override {
    const HRESULT result = mScript->Call("GetSurfaceLevel", Args(level));
    if (result != D3D_OK) return result;
    AddRef();
    *surface = &mSurface;
    return D3D_OK;
  }
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT*, DWORD flags) override {
    const HRESULT result = mScript->Call("LockRect", Args(level, Hex(flags)));
    if (result != D3D_OK) return result;
    const int pitch = mScript->mLockPitch ? mScript->mLockPitch : int(mWidth * 4);
    mMemory.assign(size_t(pitch) * mHeight, 0);
    locked->Pitch = pitch;
    locked->pBits = mMemory.data();
    return D3D_OK;
  }
  HRESULT UnlockRect(UINT level) override { return mScript->Call("UnlockRect", Args(level)); }

  std::string Name() const { return "texture " + std::to_string(mWidth) + "x" + std::to_string(mHeight); }

 private:
  UINT mWidth;
  UINT mHeight;
  UINT mLevels;
  TextureSurface mSurface;
  std::vector<unsigned char> mMemory;
};

ULONG TextureSurface::AddRef() { return mTexture->AddRef(); }
ULONG TextureSurface::Release() { return mTexture->Release(); }

template <class Interface>
class RecordingBuffer : public RefCounted<Interface>, public Counted {
 public:
  RecordingBuffer(RecordingD3D* script, UINT length, D3DPOOL pool, const char* kind)
      : Counted(script, pool), mMemory(length), mKind(kind) {}
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
    const HRESULT result = mScript->Call(mKind + "Lock", Args(offset, size, Hex(flags)));
    if (result != D3D_OK) return result;
    *data = mMemory.data() + offset;
    return D3D_OK;
  }
  HRESULT Unlock() override { return mScript->Call(mKind + "Unlock", Args()); }

 private:
  std::vector<unsigned char> mMemory;
  std::string mKind;
};

template <class Interface>
class RecordingShader : public RefCounted<Interface>, public Counted {
 public:
  explicit RecordingShader(RecordingD3D* script) : Counted(script) {}
};

// "Name(start, count, x, y, z, w)" with the first register's values.
std::string ConstantArgs(UINT start, const float* data, UINT count) {
  if (!data || count == 0) return Args(start, count);
  return Args(start, count, data[0], data[1], data[2], data[3]);
}

class RecordingDevice : public RefCounted<IDirect3DDevice9>, public Counted {
 public:
  explicit RecordingDevice(RecordingD3D* script) : Counted(script), mBackBuffer(script) {}

  HRESULT TestCooperativeLevel() override { return mScript->Call("TestCooperativeLevel", Args()); }
  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override {
    const std::string arguments =
        Args(params->BackBufferWidth, params->BackBufferHeight, params->Windowed);
    // As on Windows: every default-pool object and back-buffer reference must be gone.
    if (mScript->mDefaultPoolObjects > 0 || mScript->mBackBufferReferences > 0) {
      mScript->Record("Reset(" + arguments + ") refused: objects alive");
      return D3DERR_INVALIDCALL;
    }
    return mScript->Call("Reset", arguments);
  }
  HRESULT Present(const RECT*, const RECT*, HWND, const void*) override {
    return mScript->Call("Present", Args());
  }
  HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override {
    const HRESULT result = mScript->Call("GetRenderTarget", Args(index));
    if (result != D3D_OK) return result;
    mBackBuffer.AddRef();
    *surface = &mBackBuffer;
    return D3D_OK;
  }
  HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override {
    std::string name = "null";
    if (surface == &mBackBuffer) {
      name = "backbuffer";
    } else if (surface) {
      name = static_cast<TextureSurface*>(surface)->GetTexture()->Name();
    }
    return mScript->Call("SetRenderTarget", Args(index, name));
  }
  HRESULT SetViewport(const D3DVIEWPORT9* v) override {
    return mScript->Call("SetViewport", Args(v->X, v->Y, v->Width, v->Height));
  }
  HRESULT Clear(DWORD count, const void*, DWORD flags, D3DCOLOR color, float z,
                DWORD stencil) override {
    return mScript->Call("Clear", Args(count, flags, Hex(color), z, stencil));
  }
  HRESULT BeginScene() override { return mScript->Call("BeginScene", Args()); }
  HRESULT EndScene() override { return mScript->Call("EndScene", Args()); }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    return mScript->Call("SetRenderState", Args(DWORD(state), value));
  }
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override {
    return mScript->Call("SetSamplerState", Args(sampler, DWORD(type), value));
  }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    return mScript->Call("SetTextureStageState", Args(stage, DWORD(type), value));
  }
  HRESULT SetScissorRect(const RECT* r) override {
    return mScript->Call("SetScissorRect", Args(r->left, r->top, r->right, r->bottom));
  }
  HRESULT SetFVF(DWORD fvf) override { return mScript->Call("SetFVF", Args(Hex(fvf))); }
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                          UINT stride) override {
    return mScript->Call("SetStreamSource",
                         Args(stream, buffer ? "buffer" : "null", offset, stride));
  }
  HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override {
    return mScript->Call("SetIndices", Args(buffer ? "buffer" : "null"));
  }
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
    return mScript->Call("SetTexture", Args(stage, texture ? "texture" : "null"));
  }
  HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) override {
    const HRESULT result = mScript->Call("CreateVertexShader", Args(function ? "code" : "null"));
    if (result != D3D_OK) return result;
    *shader = new RecordingShader<IDirect3DVertexShader9>(mScript);
    return D3D_OK;
  }
  HRESULT CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) override {
    const HRESULT result = mScript->Call("CreatePixelShader", Args(function ? "code" : "null"));
    if (result != D3D_OK) return result;
    *shader = new RecordingShader<IDirect3DPixelShader9>(mScript);
    return D3D_OK;
  }
  HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override {
    return mScript->Call("SetVertexShader", Args(shader ? "shader" : "null"));
  }
  HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override {
    return mScript->Call("SetPixelShader", Args(shader ? "shader" : "null"));
  }
  HRESULT SetVertexShaderConstantF(UINT start, const float* data, UINT count) override {
    return mScript->Call("SetVertexShaderConstantF", ConstantArgs(start, data, count));
  }
  HRESULT SetPixelShaderConstantF(UINT start, const float* data, UINT count) override {
    return mScript->Call("SetPixelShaderConstantF", ConstantArgs(start, data, count));
  }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) override {
    return mScript->Call("DrawPrimitive", Args(DWORD(type), start, count));
  }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int base, UINT minVertex, UINT vertices,
                               UINT start, UINT count) override {
    return mScript->Call("DrawIndexedPrimitive",
                         Args(DWORD(type), base, minVertex, vertices, start, count));
  }
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture9** texture, HANDLE*) override {
    const HRESULT result = mScript->Call(
        "CreateTexture", Args(width, height, levels, Hex(usage), Hex(format), DWORD(pool)));
    if (result != D3D_OK) return result;
    *texture = new RecordingTexture(mScript, width, height, levels, pool);
    return D3D_OK;
  }
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer, HANDLE*) override {
    const HRESULT result =
        mScript->Call("CreateVertexBuffer", Args(length, Hex(usage), Hex(fvf), DWORD(pool)));
    if (result != D3D_OK) return result;
    *buffer = new RecordingBuffer<IDirect3DVertexBuffer9>(mScript, length, pool, "VertexBuffer.");
    return D3D_OK;
  }
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer, HANDLE*) override {
    const HRESULT result = mScript->Call(
        "CreateIndexBuffer", Args(length, Hex(usage), DWORD(format), DWORD(pool)));
    if (result != D3D_OK) return result;
    *buffer = new RecordingBuffer<IDirect3DIndexBuffer9>(mScript, length, pool, "IndexBuffer.");
    return D3D_OK;
  }

 private:
  BackBufferSurface mBackBuffer;
};

class RecordingDirect3D : public RefCounted<IDirect3D9>, public Counted {
 public:
  explicit RecordingDirect3D(RecordingD3D* script) : Counted(script) {}

  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
    const HRESULT result = mScript->Call("GetAdapterDisplayMode", Args(adapter));
    if (result == D3D_OK) *mode = mScript->mDisplayMode;
    return result;
  }
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD flags,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override {
    const HRESULT result = mScript->Call(
        "CreateDevice", Args(adapter, DWORD(type), Hex(flags), params->BackBufferWidth,
                             params->BackBufferHeight, params->Windowed));
    if (result != D3D_OK) return result;
    *device = new RecordingDevice(mScript);
    return D3D_OK;
  }
  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override {
    const HRESULT result = mScript->Call("GetDeviceCaps", Args(adapter, DWORD(type)));
    if (result == D3D_OK) *caps = mScript->mCaps;
    return result;
  }
};

}  // namespace

RecordingD3D::RecordingD3D() {
  mCaps.RasterCaps = D3DPRASTERCAPS_SCISSORTEST;
  mCaps.TextureFilterCaps = 0;
  mCaps.MaxTextureWidth = 4096;
  mCaps.MaxTextureHeight = 2048;
  mCaps.MaxVertexIndex = 0xFFFFFF;
  mCaps.VertexShaderVersion = D3DVS_VERSION(1, 1);
  mCaps.PixelShaderVersion = D3DPS_VERSION(2, 0);
  sCurrent = this;
  SetDirect3DFactory(&RecordingD3D::Create);
}

RecordingD3D::~RecordingD3D() {
  SetDirect3DFactory(nullptr);
  sCurrent = nullptr;
}

IDirect3D9* RecordingD3D::Create(UINT) { return new RecordingDirect3D(sCurrent); }

void RecordingD3D::Script(const std::string& call, std::vector<HRESULT> results) {
  mScripted[call].assign(results.begin(), results.end());
}

void RecordingD3D::ScriptAlways(const std::string& call, HRESULT result) {
  mAlways[call] = result;
}

HRESULT RecordingD3D::Call(const std::string& name, const std::string& arguments) {
  HRESULT result = D3D_OK;
  auto scripted = mScripted.find(name);
  if (scripted != mScripted.end() && !scripted->second.empty()) {
    result = scripted->second.front();
    scripted->second.pop_front();
  } else if (auto always = mAlways.find(name); always != mAlways.end()) {
    result = always->second;
  }
  if (mRecording) Record(name + "(" + arguments + ")" + (result == D3D_OK ? "" : " failed"));
  return result;
}

void RecordingD3D::Record(const std::string& text) { mCalls.push_back(text); }

std::vector<std::string> RecordingD3D::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : mCalls) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

}  // namespace fakes
