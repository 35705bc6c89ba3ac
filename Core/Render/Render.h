#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Core/Base/Result.h"
#include "Core/Math/Matrix4.h"
#include "Core/Math/Rect.h"
#include "Core/Render/CommandBuffer.h"
#include "Core/Render/DrawState.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Resource/ResourcePtr.h"

namespace app {
class Window;
}

namespace base {
class ImageInfo;
}

namespace file {
class ImageContainer;
}

namespace render {

class Buffer;
class BufferDoubleCacheBase;
class Image;
class IndexBufferImpl;
class RenderTarget;
class Shader;
class ShaderImpl;
class ShaderTextured;
class Texture;
class VertexBufferImpl;
class VertexFormat;
template <class Owner>
class BufferDoubleCache;
template <class Index>
class IndexBuffer;

using IndexCache16 = BufferDoubleCache<IndexBuffer<unsigned short>>;
using IndexCache32 = BufferDoubleCache<IndexBuffer<unsigned int>>;

// The platform-neutral renderer. While a frame is drawn it never touches the device: state
// changes and draws are filtered against what was already sent and recorded into the command
// buffer, contiguous list draws with unchanged state merged into one. PlayCommands replays the
// frame through the Do... operations of the back end.
class Render {
 public:
  enum PrimitiveType : uint32_t {
    kPointList = 0,
    kLineList = 1,
    kLineStrip = 2,
    kTriangleList = 3,
    kTriangleStrip = 4,
    kTriangleFan = 5,
    kNoPrimitive = 6,
  };
  enum ClearFlags : uint32_t { kClearTarget = 1, kClearDepth = 2, kClearStencil = 4 };

  Render();
  virtual ~Render();
  Render(const Render&) = delete;
  Render& operator=(const Render&) = delete;

  // The back end creates its device first and then calls this base part: built-in shaders,
  // buffer caches, projection, viewport, default state.
  virtual VNResultEnum InitRender(app::Window* window, const RenderInitParam& param);
  virtual VNResultEnum PrepareSwitchScreenMode() = 0;
  virtual VNResultEnum SwitchScreenMode(const RenderInitParam& param) = 0;
  // Maps design (0, 0) to clip (-1, 1) and (width, height) to (1, -1) for row vectors.
  virtual VNResultEnum BuildProjection(float width, float height, const void* ignored,
                                       math::Matrix4& out);
  // Factories; on failure nothing is handed out.
  virtual VNResultEnum CreateTexture(Texture*& out) = 0;
  virtual VNResultEnum CreateShaderImpl(const char* vertexText, const char* pixelText,
                                        ShaderImpl*& out) = 0;
  virtual VNResultEnum CreateGeomShaderImpl(ShaderImpl*& out) = 0;
  virtual VNResultEnum CreateTexturedShaderImpl(ShaderImpl*& out) = 0;
  virtual VNResultEnum CreateTintShaderImpl(ShaderImpl*& out) = 0;
  virtual VNResultEnum CreateVertexBuffer(const VertexFormat& format, unsigned count, bool dynamic,
                                          VertexBufferImpl*& out) = 0;
  virtual VNResultEnum CreateIndexBuffer(unsigned indexSize, unsigned count, bool dynamic,
                                         IndexBufferImpl*& out) = 0;
  // False while the device cannot draw; the frame is then dropped.
  virtual bool IsDeviceReady() = 0;

  // Device operations, called only by PlayCommands.
  virtual VNResultEnum DoClear(uint32_t flags, const float color[4], float depth,
                               uint32_t stencil) = 0;
  virtual VNResultEnum DoBeginScene() = 0;
  virtual VNResultEnum DoEndScene() = 0;
  virtual VNResultEnum DoPresent() = 0;
  // Null = the back buffer.
  virtual VNResultEnum DoSetRenderTarget(Texture* target) = 0;
  virtual VNResultEnum DoSetShader(ShaderImpl* program) = 0;
  virtual VNResultEnum DoSetVertexFormat(uint32_t id) = 0;
  virtual VNResultEnum DoSetVertexBuffer(VertexBufferImpl* buffer) = 0;
  virtual VNResultEnum DoSetIndexBuffer(IndexBufferImpl* buffer) = 0;
  virtual VNResultEnum DoSetBlendMode(uint32_t mode) = 0;
  virtual VNResultEnum DoSetScissorEnable(bool enable) = 0;
  // x, y, width, height in device pixels.
  virtual VNResultEnum DoSetScissorRect(const uint32_t rect[4]) = 0;
  virtual VNResultEnum DoSetDepthState(bool test, bool write) = 0;
  virtual VNResultEnum DoDrawPrimitive(uint32_t type, uint32_t startVertex,
                                       uint32_t primitiveCount) = 0;
  virtual VNResultEnum DoDrawIndexedPrimitive(uint32_t type, uint32_t indexSize,
                                              uint32_t startIndex, uint32_t primitiveCount,
                                              uint32_t minVertex, uint32_t vertexCount) = 0;

  // A design rectangle in device pixels of the pending target, through the pending viewport,
  // clamped to the target.
  virtual VNResultEnum ToDeviceRect(const math::Rect& rect, uint32_t out[4]);

  // Takes the state for the next draw. The same object again is ignored unless force is set
  // (inline: so are most draws' states).
  VNResultEnum SetState(const DrawState& state, bool force) {
    return &state == mLastState && !force ? VN_OK : TakeState(state);
  }
  // Takes only the target and viewport of the state.
  VNResultEnum SetRenderTarget(const DrawState& state);
  // Records a clear of the pending target.
  VNResultEnum Clear(uint32_t flags, const float color[4], float depth, uint32_t stencil);
  VNResultEnum Draw(uint32_t type, uint32_t startVertex, uint32_t primitiveCount);
  // Inline: most draws only widen the pending one.
  VNResultEnum DrawIndexed(uint32_t type, uint32_t startIndex, uint32_t primitiveCount, uint32_t minVertex,
                           uint32_t vertexCount) {
    const bool changed = mDirty || HasChangedVariables(mPending.mShader);
    if (!CanMerge(true, type, startIndex, changed)) {
      return BeginDraw({true, type, startIndex, primitiveCount, minVertex, vertexCount}, changed);
    }
    mDraw.mCount += primitiveCount;
    const uint32_t newMin = std::min(mDraw.mMinVertex, minVertex);
    const uint32_t newEnd = std::max(mDraw.mMinVertex + mDraw.mVertexCount, minVertex + vertexCount);
    mDraw.mVertexCount = newEnd - newMin;
    mDraw.mMinVertex = newMin;
    return VN_OK;
  }

  // The frame: CheckDevice, BeginFrame, draws, EndFrame, Present, PlayCommands.
  VNResultEnum BeginFrame();
  VNResultEnum EndFrame();
  VNResultEnum Present();
  // Replays the recorded frame and rewinds the buffer, also when playback stops early.
  VNResultEnum PlayCommands();
  // False drops the frame: the recorded commands are discarded.
  bool CheckDevice();

  // A new image (the caller's) of the texture resource named name, or of the layer name of the
  // container; the resource is loaded on first use. info (when given) receives its description.
  VNResultEnum LoadImage(const std::u16string& name, file::ImageContainer* container, Image** out,
                         base::ImageInfo* info);
  // A new width x height render target (the caller's), with its own projection when asked.
  VNResultEnum CreateRenderTarget(unsigned width, unsigned height, RenderTarget** out, bool ownProjection);

  // Registries of the back-end objects; each object enters itself once on construction and
  // leaves on destruction.
  void AddBuffer(Buffer* buffer);
  void RemoveBuffer(Buffer* buffer);
  void AddTexture(Texture* texture);
  void RemoveTexture(Texture* texture);
  void AddShaderImpl(ShaderImpl* program);
  void RemoveShaderImpl(ShaderImpl* program);

  // The built-in shaders (null before start-up): the handle lets go of what it held and then holds
  // the shader without a count; the renderer keeps it.
  VNResultEnum GetGeomShader(resource::ResourcePtr<Shader>& out);
  VNResultEnum GetTexturedShader(resource::ResourcePtr<ShaderTextured>& out);
  VNResultEnum GetTintShader(resource::ResourcePtr<ShaderTextured>& out);
  // Gets the shader `name` from the resource manager (a new T on first use), binds it to this
  // renderer and loads it (the texts <name>VS.hlsl and <name>PS.hlsl); only a success makes
  // `handle` hold it, a failure is returned and leaves `handle` as it was. Defined in
  // Core/Render/LoadShader.h.
  template <class T>
  VNResultEnum LoadShader(const std::u16string& name, resource::ResourcePtr<T>& handle);

  // Applied and pending state become defaults with the renderer's own viewport.
  void ResetStates();
  // Deletes the caches and the built-in shaders; the back end's destructor calls it first.
  void ReleaseResources();

  // Null for a format without caches.
  BufferDoubleCacheBase* GetVertexCache(int formatId) const {
    return formatId >= 0 && size_t(formatId) < mVertexCaches.size() ? mVertexCaches[size_t(formatId)] : nullptr;
  }
  IndexCache16* GetIndexCache16() const { return mIndexCache16; }
  // Null unless 32-bit indices are on.
  IndexCache32* GetIndexCache32() const { return mIndexCache32; }

  bool IsInFrame() const { return mInFrame; }
  const math::Matrix4& GetProjection() const { return mProjection; }
  float GetViewportScaleX() const { return mViewportScaleX; }
  float GetViewportScaleY() const { return mViewportScaleY; }
  float GetViewportOffsetX() const { return mViewportOffsetX; }
  float GetViewportOffsetY() const { return mViewportOffsetY; }
  uint32_t GetMaxTextureWidth() const { return mMaxTextureWidth; }
  uint32_t GetMaxTextureHeight() const { return mMaxTextureHeight; }
  bool IsScissorSupported() const { return mScissorSupported; }
  CommandBuffer& GetCommandBuffer() { return mCommands; }
  const std::vector<Buffer*>& GetBuffers() const { return mBuffers; }
  const std::vector<Texture*>& GetTextures() const { return mTextures; }
  const std::vector<ShaderImpl*>& GetShaderImpls() const { return mShaderImpls; }

 protected:
  // Records the pending state that differs from the applied one, then changed shader variables.
  VNResultEnum FlushState();
  // Records the pending draw, if any.
  VNResultEnum FlushDraw();
  VNResultEnum RecordTarget(Texture* target);
  // Forgets the state object last handed in, so the next SetState takes it whole.
  void ForgetLastState() { mLastState = nullptr; }
  // Screen size, projection and viewport from start-up or screen-mode parameters.
  void ApplyScreenParam(const RenderInitParam& param);

  // The renderer's side of the shader programs (program switches, changed variables, the
  // built-in shaders), kept in RenderShaders.cpp; the test of every draw inline.
  bool HasChangedVariables(const ShaderImpl* program) const { return program != nullptr && program->IsChanged(); }
  VNResultEnum NotifyProgramSwitch(ShaderImpl* from, ShaderImpl* to);
  VNResultEnum RecordChangedVariables(ShaderImpl* program);
  VNResultEnum PlayShaderVariables();
  VNResultEnum CreateBuiltInShaders();
  void ReleaseBuiltInShaders();
  // Tells every registered program that the device was lost, or reset (its variables re-sent).
  void NotifyProgramsLost();
  void NotifyProgramsReset();

  uint32_t mMaxTextureWidth = 0;
  uint32_t mMaxTextureHeight = 0;
  bool mScissorSupported = false;
  bool mAnisotropicMin = false;
  bool mAnisotropicMag = false;
  bool mIndices32 = true;
  bool mResendClipOnTarget = false;
  // Back-buffer size in device pixels, for clamping scissor rectangles.
  uint32_t mScreenWidth = 0;
  uint32_t mScreenHeight = 0;

 private:
  struct PendingDraw {
    bool mIndexed = false;
    uint32_t mType = kNoPrimitive;
    uint32_t mStart = 0;
    uint32_t mCount = 0;
    uint32_t mMinVertex = 0;
    uint32_t mVertexCount = 0;
  };

  // SetState's work for a new or forced state.
  VNResultEnum TakeState(const DrawState& state);
  // Dispatches one record to its device operation.
  VNResultEnum PlayRecord(Command command);
  // Vertices (or indices) per primitive of the list types; 0 for strips and fans, which never merge.
  static uint32_t ListStride(uint32_t type) {
    switch (type) {
      case kTriangleList: return 3;
      case kLineList: return 2;
      case kPointList: return 1;
      default: return 0;
    }
  }
  // Whether a draw of this type continuing at start can join the pending one.
  bool CanMerge(bool indexed, uint32_t type, uint32_t start, bool changed) const {
    const uint32_t stride = ListStride(type);
    return !changed && mDraw.mIndexed == indexed && mDraw.mType == type && mDraw.mCount > 0 && stride > 0 &&
           start == mDraw.mStart + stride * mDraw.mCount;
  }
  // Records the pending draw and, when changed, the state; then draw is the pending one. Out of the
  // draws' own path, which mostly merges.
  VNResultEnum BeginDraw(const PendingDraw& draw, bool changed);

  DrawState mApplied;
  DrawState mPending;
  bool mDirty = true;
  const DrawState* mLastState = nullptr;
  Texture* mDeviceTarget = nullptr;
  CommandBuffer mCommands;
  bool mInFrame = false;
  PendingDraw mDraw;
  math::Matrix4 mProjection;
  float mViewportScaleX = 1.0f;
  float mViewportScaleY = 1.0f;
  float mViewportOffsetX = 0.0f;
  float mViewportOffsetY = 0.0f;
  Shader* mGeomShader = nullptr;
  ShaderTextured* mTexturedShader = nullptr;
  ShaderTextured* mTintShader = nullptr;
  std::vector<BufferDoubleCacheBase*> mVertexCaches;
  IndexCache16* mIndexCache16 = nullptr;
  IndexCache32* mIndexCache32 = nullptr;
  std::vector<Buffer*> mBuffers;
  std::vector<Texture*> mTextures;
  std::vector<ShaderImpl*> mShaderImpls;
};

}  // namespace render
