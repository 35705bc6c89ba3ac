#pragma once
// A renderer whose device operations only record what playback asked of them, with buffers and
// textures in plain memory. For tests of recording, merging and everything drawn through it.
#include <string>
#include <vector>

#include "Core/Render/Buffer.h"
#include "Core/Render/Render.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Render/Texture.h"

namespace fakes {

class RecordingRender : public render::Render {
 public:
  RecordingRender();
  ~RecordingRender() override;

  // InitRender with a screen of this size (projection built from it, identity viewport).
  VNResultEnum Init(unsigned width = 1024, unsigned height = 768);
  void SetResendClipOnTarget(bool resend) { mResendClipOnTarget = resend; }

  // Device operations played back, as "Name(arg, ...)".
  std::vector<std::string> mCalls;
  // The played-back calls named name, each with its integer arguments.
  std::vector<std::vector<long>> Arguments(const std::string& name) const;
  // Memory of the vertex and index buffers last set by playback; kept after the frame's unlock.
  const void* GetBoundVertices() const;
  const uint16_t* GetBoundIndices() const;
  // The device operation of this name fails (returns mFailResult) from its mFailAfter + 1-th call.
  std::string mFailCall;
  int mFailAfter = 0;
  VNResultEnum mFailResult = VN_FAIL;
  bool mDeviceReady = true;
  // Buffer creations fail after this many (negative: never).
  int mBuffersBeforeFailure = -1;
  // False: the device calls are counted but not written (benchmarks).
  bool mRecording = true;
  size_t mCallCount = 0;

  VNResultEnum PrepareSwitchScreenMode() override { return VN_OK; }
  VNResultEnum SwitchScreenMode(const render::RenderInitParam&) override { return VN_OK; }
  VNResultEnum CreateTexture(render::Texture*& out) override;
  VNResultEnum CreateShaderImpl(const char*, const char*, render::ShaderImpl*&) override;
  VNResultEnum CreateGeomShaderImpl(render::ShaderImpl*&) override;
  VNResultEnum CreateTexturedShaderImpl(render::ShaderImpl*&) override;
  VNResultEnum CreateTintShaderImpl(render::ShaderImpl*&) override;
  VNResultEnum CreateVertexBuffer(const render::VertexFormat& format, unsigned count, bool dynamic,
                                  render::VertexBufferImpl*& out) override;
  VNResultEnum CreateIndexBuffer(unsigned indexSize, unsigned count, bool dynamic,
                                 render::IndexBufferImpl*& out) override;
  bool IsDeviceReady() override { return mDeviceReady; }

  VNResultEnum DoClear(uint32_t flags, const float color[4], float depth,
                       uint32_t stencil) override;
  VNResultEnum DoBeginScene() override;
  VNResultEnum DoEndScene() override;
  VNResultEnum DoPresent() override;
  VNResultEnum DoSetRenderTarget(render::Texture* target) override;
  VNResultEnum DoSetShader(render::ShaderImpl* program) override;
  VNResultEnum DoSetVertexFormat(uint32_t id) override;
  VNResultEnum DoSetVertexBuffer(render::VertexBufferImpl* buffer) override;
  VNResultEnum DoSetIndexBuffer(render::IndexBufferImpl* buffer) override;
  VNResultEnum DoSetBlendMode(uint32_t mode) override;
  VNResultEnum DoSetScissorEnable(bool enable) override;
  VNResultEnum DoSetScissorRect(const uint32_t rect[4]) override;
  VNResultEnum DoSetDepthState(bool test, bool write) override;
  VNResultEnum DoDrawPrimitive(uint32_t type, uint32_t start, uint32_t count) override;
  VNResultEnum DoDrawIndexedPrimitive(uint32_t type, uint32_t indexSize, uint32_t start,
                                      uint32_t count, uint32_t minVertex,
                                      uint32_t vertexCount) override;

  // Records one played device operation; used by the programs' variable setters too.
  VNResultEnum Played(const char* name, const std::string& arguments);
  // Records a sampler's "SetTexture" and keeps the texture for the draws that follow.
  VNResultEnum PlayedTexture(const std::string& arguments, render::Texture* texture);

  // Each indexed draw played since the last BeginScene: the texture last given to a sampler, the
  // vertex format and the bytes of the vertex range it drew.
  struct IndexedDraw {
    const render::Texture* texture = nullptr;
    int vertexFormat = -1;
    unsigned stride = 0;
    std::vector<unsigned char> vertices;
  };
  std::vector<IndexedDraw> mIndexedDraws;

 private:
  render::VertexBufferImpl* mBoundVertices = nullptr;
  render::IndexBufferImpl* mBoundIndices = nullptr;
  const render::Texture* mBoundTexture = nullptr;
};

// A program that has every constant and sampler it is asked for; its setters record what playback
// applies, as "SetMatrix(Proj)", "SetVector4(color2, 1, 0.5, 0, 1)", "SetTexture(TextureSampler, texture)".
class RecordingProgram : public render::ShaderImpl {
 public:
  explicit RecordingProgram(RecordingRender* render) : render::ShaderImpl(render), mRender(render) {}
  render::ShaderScalarVariableImpl* CreateScalarVariableImpl(const char* name, int kind) override;
  render::ShaderTextureVariableImpl* CreateTextureVariableImpl(const char* name) override;

 private:
  RecordingRender* mRender;
};

// A texture of a given size that can be named as a target; it never touches a device. From an
// image it keeps level 0 as the image wrote it (ARGB words or DXT blocks) and the hit mask.
class FakeTexture : public render::Texture {
 public:
  explicit FakeTexture(render::Render* owner) : render::Texture(owner) {}
  VNResultEnum CreateFromImage(render::ImageData* image) override;
  VNResultEnum CreateRenderTarget(int width, int height) override;
  VNResultEnum CreateDynamic(int width, int height) override;
  VNResultEnum Restore() override { return VN_OK; }
  VNResultEnum Release() override { return VN_OK; }
  VNResultEnum Lock(unsigned& size, unsigned& pitch, void*& data) override;
  VNResultEnum Unlock() override { return VN_OK; }
  // Level 0 as the image wrote it; empty for targets and dynamic textures.
  const std::vector<unsigned char>& ImagePixels() const { return mImagePixels; }

 private:
  std::vector<uint32_t> mPixels;
  std::vector<unsigned char> mImagePixels;
};

}  // namespace fakes
