#include "Core/Render/Render.h"

#include <algorithm>

#include "Core/Render/Buffer.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/BufferDoubleCacheCreator.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

namespace render {

namespace {

template <class T>
void Unregister(std::vector<T*>& list, T* object) {
  const auto found = std::find(list.begin(), list.end(), object);
  if (found != list.end()) list.erase(found);
}

}  // namespace

Render::Render() = default;

Render::~Render() {
  ReleaseResources();
  // Textures and buffers that outlive the renderer must not unregister with it.
  for (Buffer* buffer : mBuffers) buffer->mOwner = nullptr;
  for (Texture* texture : mTextures) texture->mOwner = nullptr;
}

VNResultEnum Render::InitRender(app::Window*, const RenderInitParam& param) {
  VNResultEnum result = CreateBuiltInShaders();
  if (result != VN_OK) return result;

  mVertexCaches.assign(size_t(VertexFormat::GetCount()), nullptr);
  for (int id = 0; id < VertexFormat::GetCount(); ++id) {
    const VertexFormat* format = VertexFormat::Get(id);
    if (!format || (format->GetMainCapacity() == 0 && format->GetOverflowCapacity() == 0)) {
      continue;
    }
    result = VertexFormat::GetCacheCreator(id)->Create(this, unsigned(format->GetMainCapacity()),
                                                       unsigned(format->GetOverflowCapacity()),
                                                       mVertexCaches[size_t(id)]);
    if (result != VN_OK) return result;
  }
  mIndexCache16 = new IndexCache16(this);
  result = mIndexCache16->Init(10240, 1024);
  if (result != VN_OK) return result;
  if (mIndices32) {
    mIndexCache32 = new IndexCache32(this);
    result = mIndexCache32->Init(61440, 10240);
    if (result != VN_OK) return result;
  }

  ApplyScreenParam(param);
  ResetStates();
  return VN_OK;
}

void Render::ApplyScreenParam(const RenderInitParam& param) {
  if (param.mBuildProjection) {
    BuildProjection(float(param.mWidth), float(param.mHeight), nullptr, mProjection);
  } else {
    mProjection = param.mProjection;
  }
  mScreenWidth = param.mWidth;
  mScreenHeight = param.mHeight;
  mViewportScaleX = param.mViewportScaleX;
  mViewportScaleY = param.mViewportScaleY;
  mViewportOffsetX = param.mViewportOffsetX;
  mViewportOffsetY = param.mViewportOffsetY;
}

VNResultEnum Render::BuildProjection(float width, float height, const void*, math::Matrix4& out) {
  out.SetIdentity();
  out.SetScale(math::Point3(2.0f / width, -2.0f / height, 1.0f));
  out.SetTranslation(math::Point3(-1.0f, 1.0f, 0.0f));
  return VN_OK;
}

VNResultEnum Render::ToDeviceRect(const math::Rect& rect, uint32_t out[4]) {
  const float targetWidth = float(mPending.mTarget ? mPending.mTarget->GetWidth() : int(mScreenWidth));
  const float targetHeight =
      float(mPending.mTarget ? mPending.mTarget->GetHeight() : int(mScreenHeight));
  const float left = rect.x * mPending.mViewportScaleX + mPending.mViewportOffsetX;
  const float top = rect.y * mPending.mViewportScaleY + mPending.mViewportOffsetY;
  const float right = left + rect.width * mPending.mViewportScaleX;
  const float bottom = top + rect.height * mPending.mViewportScaleY;
  // Negative or oversized coordinates would wrap around as unsigned values: cut to the target.
  const float x0 = std::clamp(left, 0.0f, targetWidth);
  const float y0 = std::clamp(top, 0.0f, targetHeight);
  const float x1 = std::clamp(right, x0, targetWidth);
  const float y1 = std::clamp(bottom, y0, targetHeight);
  out[0] = uint32_t(x0);
  out[1] = uint32_t(y0);
  out[2] = uint32_t(x1 - x0);
  out[3] = uint32_t(y1 - y0);
  return VN_OK;
}

void Render::ResetStates() {
  DrawState defaults;
  defaults.mViewportScaleX = mViewportScaleX;
  defaults.mViewportScaleY = mViewportScaleY;
  defaults.mViewportOffsetX = mViewportOffsetX;
  defaults.mViewportOffsetY = mViewportOffsetY;
  mApplied.Assign(defaults);
  mPending.Assign(defaults);
}

VNResultEnum Render::SetRenderTarget(const DrawState& state) {
  // A new viewport under the same target is not taken.
  if (state.mTarget != mPending.mTarget) {
    mPending.mTarget = state.mTarget;
    mPending.mViewportScaleX = state.mViewportScaleX;
    mPending.mViewportScaleY = state.mViewportScaleY;
    mPending.mViewportOffsetX = state.mViewportOffsetX;
    mPending.mViewportOffsetY = state.mViewportOffsetY;
    mDirty = true;
  }
  return VN_OK;
}

VNResultEnum Render::TakeState(const DrawState& state) {
  mLastState = &state;
  SetRenderTarget(state);
  auto take = [this](auto& pending, const auto& wanted) {
    if (pending != wanted) {
      pending = wanted;
      mDirty = true;
    }
  };
  take(mPending.mShader, state.mShader);
  take(mPending.mVertexBuffer, state.mVertexBuffer);
  take(mPending.mIndexBuffer, state.mIndexBuffer);
  take(mPending.mBlendMode, state.mBlendMode);
  take(mPending.mScissorEnable, state.mScissorEnable);
  if (mPending.mScissorEnable) {
    take(mPending.mScissorRect.x, state.mScissorRect.x);
    take(mPending.mScissorRect.y, state.mScissorRect.y);
    take(mPending.mScissorRect.width, state.mScissorRect.width);
    take(mPending.mScissorRect.height, state.mScissorRect.height);
  }
  take(mPending.mDepthTest, state.mDepthTest);
  if (mPending.mDepthTest) take(mPending.mDepthWrite, state.mDepthWrite);
  return VN_OK;
}

VNResultEnum Render::RecordTarget(Texture* target) {
  const bool written = target ? mCommands.Put(Command::kSetRenderTarget, target)
                              : mCommands.Put(Command::kSetBackBuffer);
  return written ? VN_OK : VN_FAIL;
}

VNResultEnum Render::FlushState() {
  if (mDirty) {
    if (mPending.mTarget != mDeviceTarget && RecordTarget(mPending.mTarget) != VN_OK) {
      return VN_FAIL;
    }
    const bool retarget = mApplied.mTarget != mPending.mTarget && mResendClipOnTarget;
    mApplied.mTarget = mPending.mTarget;
    mApplied.mViewportScaleX = mPending.mViewportScaleX;
    mApplied.mViewportScaleY = mPending.mViewportScaleY;
    mApplied.mViewportOffsetX = mPending.mViewportOffsetX;
    mApplied.mViewportOffsetY = mPending.mViewportOffsetY;
    mDeviceTarget = mPending.mTarget;

    if (mApplied.mShader != mPending.mShader) {
      if (!mCommands.Put(Command::kSetShader, mPending.mShader)) return VN_FAIL;
      NotifyProgramSwitch(mApplied.mShader, mPending.mShader);
      mApplied.mShader = mPending.mShader;
    }
    if (mApplied.mVertexBuffer != mPending.mVertexBuffer) {
      const VertexBufferImpl* pending = mPending.mVertexBuffer;
      if (pending && (!mApplied.mVertexBuffer ||
                      mApplied.mVertexBuffer->GetFormatId() != pending->GetFormatId())) {
        if (!mCommands.Put(Command::kVertexFormat, uint32_t(pending->GetFormatId()))) {
          return VN_FAIL;
        }
      }
      if (!mCommands.Put(Command::kVertexBuffer, mPending.mVertexBuffer)) return VN_FAIL;
      mApplied.mVertexBuffer = mPending.mVertexBuffer;
    }
    if (mApplied.mIndexBuffer != mPending.mIndexBuffer) {
      if (!mCommands.Put(Command::kIndexBuffer, mPending.mIndexBuffer)) return VN_FAIL;
      mApplied.mIndexBuffer = mPending.mIndexBuffer;
    }
    if (mApplied.mBlendMode != mPending.mBlendMode) {
      if (!mCommands.Put(Command::kBlendMode, uint32_t(mPending.mBlendMode))) return VN_FAIL;
      mApplied.mBlendMode = mPending.mBlendMode;
    }
    if (mApplied.mScissorEnable != mPending.mScissorEnable || retarget) {
      if (!mCommands.Put(Command::kScissorEnable, uint8_t(mPending.mScissorEnable))) {
        return VN_FAIL;
      }
      mApplied.mScissorEnable = mPending.mScissorEnable;
    }
    const math::Rect& rect = mPending.mScissorRect;
    const math::Rect& applied = mApplied.mScissorRect;
    const bool rectChanged = rect.x != applied.x || rect.y != applied.y ||
                             rect.width != applied.width || rect.height != applied.height;
    // A retarget re-sends the rectangle even while clipping is off.
    if ((mPending.mScissorEnable && rectChanged) || retarget) {
      uint32_t device[4];
      ToDeviceRect(rect, device);
      if (!mCommands.Put(Command::kScissorRect, device[0], device[1], device[2], device[3])) {
        return VN_FAIL;
      }
      mApplied.mScissorRect = rect;
    }
    if (mApplied.mDepthTest != mPending.mDepthTest ||
        (mPending.mDepthTest && mApplied.mDepthWrite != mPending.mDepthWrite)) {
      const bool written =
          mPending.mDepthTest
              ? mCommands.Put(Command::kDepthState, uint8_t(1), uint8_t(mPending.mDepthWrite))
              : mCommands.Put(Command::kDepthState, uint8_t(0));
      if (!written) return VN_FAIL;
      mApplied.mDepthTest = mPending.mDepthTest;
      mApplied.mDepthWrite = mPending.mDepthWrite;
    }
    mDirty = false;
  }
  if (HasChangedVariables(mPending.mShader)) return RecordChangedVariables(mPending.mShader);
  return VN_OK;
}

VNResultEnum Render::BeginDraw(const PendingDraw& draw, bool changed) {
  VNResultEnum result = FlushDraw();
  if (result == VN_OK && changed) result = FlushState();
  if (result != VN_OK) return result;
  mDraw = draw;
  return VN_OK;
}

VNResultEnum Render::Draw(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
  const bool changed = mDirty || HasChangedVariables(mPending.mShader);
  if (!CanMerge(false, type, startVertex, changed)) {
    return BeginDraw({false, type, startVertex, primitiveCount, 0, 0}, changed);
  }
  mDraw.mCount += primitiveCount;
  return VN_OK;
}


VNResultEnum Render::FlushDraw() {
  if (mDraw.mCount > 0) {
    bool written;
    if (mDraw.mIndexed) {
      const uint32_t indexSize =
          mApplied.mIndexBuffer ? mApplied.mIndexBuffer->GetElementSize() : 0;
      written = mCommands.Put(Command::kDrawIndexed, mDraw.mType, indexSize, mDraw.mStart,
                              mDraw.mCount, mDraw.mMinVertex, mDraw.mVertexCount);
    } else {
      written = mCommands.Put(Command::kDraw, mDraw.mType, mDraw.mStart, mDraw.mCount);
    }
    if (!written) return VN_FAIL;
  }
  mDraw = {mDraw.mIndexed, kNoPrimitive, 0, 0, 0, 0};
  return VN_OK;
}

VNResultEnum Render::Clear(uint32_t flags, const float color[4], float depth, uint32_t stencil) {
  if (FlushDraw() != VN_OK) return VN_FAIL;
  if (mPending.mTarget != mDeviceTarget) {
    if (RecordTarget(mPending.mTarget) != VN_OK) return VN_FAIL;
    mDeviceTarget = mPending.mTarget;
    mDirty = true;
  }
  const bool written = mCommands.Put(Command::kClear, flags, color[0], color[1], color[2],
                                     color[3], depth, stencil);
  return written ? VN_OK : VN_FAIL;
}

VNResultEnum Render::BeginFrame() {
  mInFrame = true;
  VNResultEnum result = mCommands.Put(Command::kBeginScene) ? VN_OK : VN_FAIL;
  auto begin = [&result](BufferDoubleCacheBase* cache) {
    if (cache) {
      const VNResultEnum begun = cache->Begin();
      if (result == VN_OK) result = begun;
    }
  };
  for (BufferDoubleCacheBase* cache : mVertexCaches) begin(cache);
  begin(mIndexCache16);
  begin(mIndexCache32);
  return result;
}

VNResultEnum Render::EndFrame() {
  mInFrame = false;
  // Every cache is ended even after a failure, so the next frame can begin them again.
  VNResultEnum result = VN_OK;
  auto end = [&result](BufferDoubleCacheBase* cache) {
    if (cache) {
      const VNResultEnum ended = cache->End();
      if (result == VN_OK) result = ended;
    }
  };
  for (BufferDoubleCacheBase* cache : mVertexCaches) end(cache);
  end(mIndexCache16);
  end(mIndexCache32);
  if (FlushDraw() != VN_OK || !mCommands.Put(Command::kEndScene)) return VN_FAIL;
  return result;
}

VNResultEnum Render::Present() { return mCommands.Put(Command::kPresent) ? VN_OK : VN_FAIL; }

VNResultEnum Render::PlayRecord(Command command) {
  switch (command) {
    case Command::kClear: {
      uint32_t flags, stencil;
      float color[4], depth;
      if (!mCommands.Get(flags, color[0], color[1], color[2], color[3], depth, stencil)) {
        return VN_FAIL;
      }
      return DoClear(flags, color, depth, stencil);
    }
    case Command::kBeginScene:
      return DoBeginScene();
    case Command::kEndScene:
      return DoEndScene();
    case Command::kPresent:
      return DoPresent();
    case Command::kSetRenderTarget: {
      Texture* target;
      return mCommands.Get(target) ? DoSetRenderTarget(target) : VN_FAIL;
    }
    case Command::kSetBackBuffer:
      return DoSetRenderTarget(nullptr);
    case Command::kSetShader: {
      ShaderImpl* program;
      return mCommands.Get(program) ? DoSetShader(program) : VN_FAIL;
    }
    case Command::kShaderVariables:
      return PlayShaderVariables();
    case Command::kVertexFormat: {
      uint32_t id;
      return mCommands.Get(id) ? DoSetVertexFormat(id) : VN_FAIL;
    }
    case Command::kVertexBuffer: {
      VertexBufferImpl* buffer;
      return mCommands.Get(buffer) ? DoSetVertexBuffer(buffer) : VN_FAIL;
    }
    case Command::kIndexBuffer: {
      IndexBufferImpl* buffer;
      return mCommands.Get(buffer) ? DoSetIndexBuffer(buffer) : VN_FAIL;
    }
    case Command::kBlendMode: {
      uint32_t mode;
      return mCommands.Get(mode) ? DoSetBlendMode(mode) : VN_FAIL;
    }
    case Command::kScissorEnable: {
      uint8_t enable;
      return mCommands.Get(enable) ? DoSetScissorEnable(enable != 0) : VN_FAIL;
    }
    case Command::kScissorRect: {
      uint32_t rect[4];
      return mCommands.Get(rect[0], rect[1], rect[2], rect[3]) ? DoSetScissorRect(rect) : VN_FAIL;
    }
    case Command::kDepthState: {
      uint8_t test, write = 0;
      if (!mCommands.Get(test) || (test && !mCommands.Get(write))) return VN_FAIL;
      return DoSetDepthState(test != 0, write != 0);
    }
    case Command::kDraw: {
      uint32_t type, start, count;
      return mCommands.Get(type, start, count) ? DoDrawPrimitive(type, start, count) : VN_FAIL;
    }
    case Command::kDrawIndexed: {
      uint32_t type, indexSize, start, count, minVertex, vertexCount;
      if (!mCommands.Get(type, indexSize, start, count, minVertex, vertexCount)) return VN_FAIL;
      return DoDrawIndexedPrimitive(type, indexSize, start, count, minVertex, vertexCount);
    }
    case Command::kEndOfStream:
      return VN_OK;
  }
  return VN_FAIL;
}

VNResultEnum Render::PlayCommands() {
  VNResultEnum result = mCommands.Put(Command::kEndOfStream) ? VN_OK : VN_FAIL;
  mCommands.Seek(0, base::Stream::kBegin);
  while (result == VN_OK) {
    uint32_t op;
    if (!mCommands.Get(op)) {
      result = VN_FAIL;
    } else if (op == uint32_t(Command::kEndOfStream)) {
      break;
    } else if (op < uint32_t(Command::kEndOfStream) && op != 15) {
      result = PlayRecord(Command(op));
    }
  }
  // Never leave the position inside this frame's records: the next frame would replay them, and
  // the objects they name may be gone. What the device did not receive must be sent again.
  mCommands.Seek(0, base::Stream::kBegin);
  if (result != VN_OK) {
    mDirty = true;
    mLastState = nullptr;
  }
  return result;
}

bool Render::CheckDevice() {
  if (IsDeviceReady()) return true;
  mCommands.Seek(0, base::Stream::kBegin);
  return false;
}

void Render::AddBuffer(Buffer* buffer) { mBuffers.push_back(buffer); }
void Render::RemoveBuffer(Buffer* buffer) { Unregister(mBuffers, buffer); }
void Render::AddTexture(Texture* texture) { mTextures.push_back(texture); }
void Render::RemoveTexture(Texture* texture) { Unregister(mTextures, texture); }
void Render::AddShaderImpl(ShaderImpl* program) { mShaderImpls.push_back(program); }
void Render::RemoveShaderImpl(ShaderImpl* program) { Unregister(mShaderImpls, program); }

void Render::ReleaseResources() {
  for (BufferDoubleCacheBase* cache : mVertexCaches) delete cache;
  mVertexCaches.clear();
  delete mIndexCache16;
  mIndexCache16 = nullptr;
  delete mIndexCache32;
  mIndexCache32 = nullptr;
  ReleaseBuiltInShaders();
}

}  // namespace render
