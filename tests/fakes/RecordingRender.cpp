#include "RecordingRender.h"

#include <cstdio>
#include <cstdlib>

#include "Core/Render/ImageData.h"
#include "Core/Render/VertexFormat.h"

namespace fakes {

namespace {

std::string Text(const char* format, double a = 0, double b = 0, double c = 0, double d = 0,
                 double e = 0, double f = 0, double g = 0) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b, c, d, e, f, g);
  return text;
}

// A buffer in plain memory.
template <class Base>
class MemoryBuffer : public Base {
 public:
  using Base::Base;
  VNResultEnum Lock() override {
    if (this->mLocked) return VN_FAIL;
    this->mLocked = true;
    this->mUsed = 0;
    this->mData = mMemory.data();
    return VN_OK;
  }
  VNResultEnum Unlock() override {
    if (!this->mLocked) return VN_FAIL;
    this->mLocked = false;
    this->mUsed = 0;
    this->mData = nullptr;
    return VN_OK;
  }
  VNResultEnum Restore() override { return VN_OK; }
  VNResultEnum Release() override { return VN_OK; }
  bool IsNotReady() override { return !this->mLocked; }

  const unsigned char* GetMemory() const { return mMemory.data(); }

 protected:
  void Allocate(unsigned count, unsigned size) {
    this->mCapacity = count;
    this->mElementSize = size;
    mMemory.assign(size_t(count) * size, 0);
  }

 private:
  std::vector<unsigned char> mMemory;
};

class MemoryVertexBuffer : public MemoryBuffer<render::VertexBufferImpl> {
 public:
  using MemoryBuffer::MemoryBuffer;
  VNResultEnum Create(const render::VertexFormat& format, unsigned count, bool) override {
    mFormatId = format.GetId();
    Allocate(count, unsigned(format.GetStride()));
    return VN_OK;
  }
};

class MemoryIndexBuffer : public MemoryBuffer<render::IndexBufferImpl> {
 public:
  using MemoryBuffer::MemoryBuffer;
  VNResultEnum Create(unsigned size, unsigned count, bool) override {
    Allocate(count, size);
    return VN_OK;
  }
};

class RecordingScalar : public render::ShaderScalarVariableImpl {
 public:
  RecordingScalar(RecordingRender* render, std::string name) : mRender(render), mName(std::move(name)) {}
  VNResultEnum SetMatrix(const math::Matrix4* matrix) override {
    return mRender->Played("SetMatrix", mName + (matrix ? "" : ", null"));
  }
  VNResultEnum SetVector4(const math::Point4& v) override {
    return mRender->Played("SetVector4", mName + Text(", %g, %g, %g, %g", v.x, v.y, v.z, v.w));
  }
  VNResultEnum SetVector3(const math::Point3& v) override {
    return mRender->Played("SetVector3", mName + Text(", %g, %g, %g", v.x, v.y, v.z));
  }
  VNResultEnum SetVector2(const math::Point2& v) override {
    return mRender->Played("SetVector2", mName + Text(", %g, %g", v.x, v.y));
  }
  VNResultEnum SetFloat(float value) override { return mRender->Played("SetFloat", mName + Text(", %g", value)); }

 private:
  RecordingRender* mRender;
  std::string mName;
};

class RecordingSampler : public render::ShaderTextureVariableImpl {
 public:
  RecordingSampler(RecordingRender* render, std::string name) : mRender(render), mName(std::move(name)) {}
  VNResultEnum SetTexture(render::Texture* texture) override {
    return mRender->PlayedTexture(mName + (texture ? ", texture" : ", null"), texture);
  }

 private:
  RecordingRender* mRender;
  std::string mName;
};

}  // namespace

render::ShaderScalarVariableImpl* RecordingProgram::CreateScalarVariableImpl(const char* name, int) {
  return new RecordingScalar(mRender, name);
}

render::ShaderTextureVariableImpl* RecordingProgram::CreateTextureVariableImpl(const char* name) {
  return new RecordingSampler(mRender, name);
}

RecordingRender::RecordingRender() = default;

RecordingRender::~RecordingRender() { ReleaseResources(); }

VNResultEnum RecordingRender::Init(unsigned width, unsigned height) {
  render::RenderInitParam param;
  param.mWidth = width;
  param.mHeight = height;
  param.mWindowed = true;
  return InitRender(nullptr, param);
}

VNResultEnum RecordingRender::Played(const char* name, const std::string& arguments) {
  ++mCallCount;
  if (mRecording) mCalls.push_back(std::string(name) + "(" + arguments + ")");
  if (mFailCall == name) {
    if (mFailAfter == 0) return mFailResult;
    --mFailAfter;
  }
  return VN_OK;
}

VNResultEnum RecordingRender::PlayedTexture(const std::string& arguments, render::Texture* texture) {
  mBoundTexture = texture;
  return Played("SetTexture", arguments);
}

VNResultEnum RecordingRender::CreateTexture(render::Texture*& out) {
  out = new FakeTexture(this);
  return VN_OK;
}

VNResultEnum RecordingRender::CreateShaderImpl(const char*, const char*, render::ShaderImpl*& out) {
  out = new RecordingProgram(this);
  return VN_OK;
}
VNResultEnum RecordingRender::CreateGeomShaderImpl(render::ShaderImpl*& out) { return CreateShaderImpl("", "", out); }
VNResultEnum RecordingRender::CreateTexturedShaderImpl(render::ShaderImpl*& out) {
  return CreateShaderImpl("", "", out);
}
VNResultEnum RecordingRender::CreateTintShaderImpl(render::ShaderImpl*& out) { return CreateShaderImpl("", "", out); }

VNResultEnum RecordingRender::CreateVertexBuffer(const render::VertexFormat& format,
                                                 unsigned count, bool dynamic,
                                                 render::VertexBufferImpl*& out) {
  if (mBuffersBeforeFailure == 0) return VN_FAIL;
  if (mBuffersBeforeFailure > 0) --mBuffersBeforeFailure;
  auto* buffer = new MemoryVertexBuffer(this);
  buffer->Create(format, count, dynamic);
  out = buffer;
  return VN_OK;
}

VNResultEnum RecordingRender::CreateIndexBuffer(unsigned indexSize, unsigned count, bool dynamic,
                                                render::IndexBufferImpl*& out) {
  if (mBuffersBeforeFailure == 0) return VN_FAIL;
  if (mBuffersBeforeFailure > 0) --mBuffersBeforeFailure;
  auto* buffer = new MemoryIndexBuffer(this);
  buffer->Create(indexSize, count, dynamic);
  out = buffer;
  return VN_OK;
}

VNResultEnum RecordingRender::DoClear(uint32_t flags, const float color[4], float depth,
                                      uint32_t stencil) {
  return Played("Clear", Text("%g, %g, %g, %g, %g, %g, %g", flags, color[0], color[1], color[2],
                              color[3], depth, stencil));
}
VNResultEnum RecordingRender::DoBeginScene() {
  mIndexedDraws.clear();
  mBoundTexture = nullptr;
  return Played("BeginScene", "");
}
VNResultEnum RecordingRender::DoEndScene() { return Played("EndScene", ""); }
VNResultEnum RecordingRender::DoPresent() { return Played("Present", ""); }
VNResultEnum RecordingRender::DoSetRenderTarget(render::Texture* target) {
  return Played("SetRenderTarget",
                target ? Text("%gx%g", target->GetWidth(), target->GetHeight()) : "null");
}
VNResultEnum RecordingRender::DoSetShader(render::ShaderImpl* program) {
  return Played("SetShader", program ? "program" : "null");
}
VNResultEnum RecordingRender::DoSetVertexFormat(uint32_t id) {
  return Played("SetVertexFormat", Text("%g", id));
}
VNResultEnum RecordingRender::DoSetVertexBuffer(render::VertexBufferImpl* buffer) {
  mBoundVertices = buffer;
  return Played("SetVertexBuffer", buffer ? Text("%g", buffer->GetCapacity()) : "null");
}
VNResultEnum RecordingRender::DoSetIndexBuffer(render::IndexBufferImpl* buffer) {
  mBoundIndices = buffer;
  return Played("SetIndexBuffer", buffer ? Text("%g", buffer->GetCapacity()) : "null");
}
VNResultEnum RecordingRender::DoSetBlendMode(uint32_t mode) {
  return Played("SetBlendMode", Text("%g", mode));
}
VNResultEnum RecordingRender::DoSetScissorEnable(bool enable) {
  return Played("SetScissorEnable", Text("%g", enable));
}
VNResultEnum RecordingRender::DoSetScissorRect(const uint32_t rect[4]) {
  return Played("SetScissorRect", Text("%g, %g, %g, %g", rect[0], rect[1], rect[2], rect[3]));
}
VNResultEnum RecordingRender::DoSetDepthState(bool test, bool write) {
  return Played("SetDepthState", Text("%g, %g", test, write));
}
VNResultEnum RecordingRender::DoDrawPrimitive(uint32_t type, uint32_t start, uint32_t count) {
  return Played("Draw", Text("%g, %g, %g", type, start, count));
}
VNResultEnum RecordingRender::DoDrawIndexedPrimitive(uint32_t type, uint32_t indexSize,
                                                     uint32_t start, uint32_t count,
                                                     uint32_t minVertex, uint32_t vertexCount) {
  const auto* buffer = static_cast<MemoryVertexBuffer*>(mBoundVertices);
  if (mRecording && buffer && size_t(minVertex) + vertexCount <= buffer->GetCapacity()) {
    const unsigned stride = buffer->GetElementSize();
    const unsigned char* first = buffer->GetMemory() + size_t(minVertex) * stride;
    mIndexedDraws.push_back(IndexedDraw{mBoundTexture, buffer->GetFormatId(), stride,
                                        std::vector<unsigned char>(first, first + size_t(vertexCount) * stride)});
  }
  return Played("DrawIndexed", Text("%g, %g, %g, %g, %g, %g", type, indexSize, start, count,
                                    minVertex, vertexCount));
}

std::vector<std::vector<long>> RecordingRender::Arguments(const std::string& name) const {
  std::vector<std::vector<long>> found;
  const std::string prefix = name + "(";
  for (const std::string& call : mCalls) {
    if (call.compare(0, prefix.size(), prefix) != 0) continue;
    std::vector<long> values;
    const char* p = call.c_str() + prefix.size();
    char* end = nullptr;
    for (long value = std::strtol(p, &end, 10); end != p; value = std::strtol(p, &end, 10)) {
      values.push_back(value);
      p = end;
      while (*p == ',' || *p == ' ') ++p;
    }
    found.push_back(values);
  }
  return found;
}

const void* RecordingRender::GetBoundVertices() const {
  return mBoundVertices ? static_cast<MemoryVertexBuffer*>(mBoundVertices)->GetMemory() : nullptr;
}

const uint16_t* RecordingRender::GetBoundIndices() const {
  return mBoundIndices ? reinterpret_cast<const uint16_t*>(static_cast<MemoryIndexBuffer*>(mBoundIndices)->GetMemory())
                       : nullptr;
}

VNResultEnum FakeTexture::CreateFromImage(render::ImageData* image) {
  mWidth = image->mWidth;
  mHeight = image->mHeight;
  const bool blocks = image->mFormat != render::ImageData::kFormatARGB;
  const int blockBytes = image->mFormat == render::ImageData::kFormatDXT1 ? 8 : 16;
  const int pitch = blocks ? (mWidth + 3) / 4 * blockBytes : mWidth * 4;
  const int rows = blocks ? (mHeight + 3) / 4 : mHeight;
  mImagePixels.assign(size_t(pitch) * size_t(rows), 0);
  mHitMask.Resize(unsigned(mWidth * mHeight), false);
  return image->CopyTo(pitch, 0, mImagePixels.data(), &mHitMask, 0);
}

VNResultEnum FakeTexture::CreateRenderTarget(int width, int height) {
  mWidth = width;
  mHeight = height;
  return VN_OK;
}

VNResultEnum FakeTexture::CreateDynamic(int width, int height) {
  mWidth = width;
  mHeight = height;
  mPixels.assign(size_t(width) * size_t(height), 0);
  return VN_OK;
}

VNResultEnum FakeTexture::Lock(unsigned& size, unsigned& pitch, void*& data) {
  if (mPixels.empty()) return VN_FAIL;
  pitch = unsigned(mWidth) * 4;
  size = unsigned(mPixels.size());
  data = mPixels.data();
  return VN_OK;
}

}  // namespace fakes
