// Recording and merging 10,000 indexed quads with unchanged state, and the playback of the frame
// through the Direct3D 9 back end on the recording device. The allocation counter shows that
// recording allocates nothing per draw.
#include <benchmark/benchmark.h>

// GCC takes the replaced global operators below for a mismatched pair where it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

#include <atomic>
#include <cstdlib>
#include <new>

#include "Core/Render/Buffer.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Vertices.h"
#include "fakes/RecordingDevice.h"

namespace {

std::atomic<long> sAllocations{0};

constexpr uint32_t kDraws = 10000;

class BenchRender : public render::RenderDX9 {
 protected:
  win32::HWND GetWindowHandle() const override { return nullptr; }
  bool IsWindowUsable() const override { return true; }
};

struct Scene {
  Scene() {
    d3d.SetRecording(false);
    render::RenderInitParam param;
    param.mWidth = 1024;
    param.mHeight = 768;
    param.mWindowed = true;
    if (renderer.InitRender(nullptr, param) != VN_OK ||
        renderer.CreateVertexBuffer(render::SVertex2D::GetFormat(), kDraws * 4, true, vertices) !=
            VN_OK ||
        renderer.CreateIndexBuffer(2, kDraws * 6, true, indices) != VN_OK) {
      std::abort();
    }
    state.mVertexBuffer = vertices;
    state.mIndexBuffer = indices;
    state.mBlendMode = render::DrawState::kBlendAlpha;
  }
  ~Scene() {
    delete vertices;
    delete indices;
  }

  void Record() {
    renderer.BeginFrame();
    for (uint32_t i = 0; i < kDraws; ++i) {
      renderer.SetState(state, false);
      renderer.DrawIndexed(render::Render::kTriangleList, i * 6, 2, i * 4, 4);
    }
    renderer.EndFrame();
    renderer.Present();
  }

  fakes::RecordingD3D d3d;
  BenchRender renderer;
  render::VertexBufferImpl* vertices = nullptr;
  render::IndexBufferImpl* indices = nullptr;
  render::DrawState state;
};

void BM_RecordAndMerge(benchmark::State& benchState) {
  Scene scene;
  scene.Record();  // the command buffer reaches its size once
  scene.renderer.PlayCommands();
  long allocations = 0;
  for (auto _ : benchState) {
    const long before = sAllocations.load();
    scene.Record();
    allocations += sAllocations.load() - before;
    benchState.PauseTiming();
    scene.renderer.PlayCommands();
    benchState.ResumeTiming();
  }
  benchState.SetItemsProcessed(int64_t(benchState.iterations()) * kDraws);
  benchState.counters["allocations_per_frame"] =
      double(allocations) / double(benchState.iterations());
}
BENCHMARK(BM_RecordAndMerge)->Unit(benchmark::kMicrosecond);

void BM_Playback(benchmark::State& benchState) {
  Scene scene;
  for (auto _ : benchState) {
    benchState.PauseTiming();
    scene.Record();
    benchState.ResumeTiming();
    scene.renderer.PlayCommands();
  }
  benchState.SetItemsProcessed(int64_t(benchState.iterations()) * kDraws);
}
BENCHMARK(BM_Playback)->Unit(benchmark::kMicrosecond);

void BM_RecordAndPlayFrame(benchmark::State& benchState) {
  Scene scene;
  for (auto _ : benchState) {
    scene.Record();
    scene.renderer.PlayCommands();
  }
  benchState.SetItemsProcessed(int64_t(benchState.iterations()) * kDraws);
}
BENCHMARK(BM_RecordAndPlayFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

// Every allocation of the program is counted; memory comes from malloc as usual.
void* operator new(std::size_t size) {
  ++sAllocations;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
