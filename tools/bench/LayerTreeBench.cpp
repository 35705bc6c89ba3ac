// One frame of a board holding 2,000 image layers in a tree four deep, drawn through the frame
// manager, and 100 mouse moves dispatched down that tree; beside them the same 2,000 images drawn
// straight through render::Graphics::DrawImage. The recording renderer counts its device calls but
// writes nothing, so the difference between the two frames is the tree's own cost.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/Layer.h"
#include "Core/Math/Rect.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Widget/BaseBoard.h"
#include "Core/Widget/FrameManager.h"
#include "fakes/RecordingRender.h"

namespace {

constexpr int kGroups = 10;
constexpr int kSubgroups = 10;
constexpr int kImagesPerSubgroup = 20;
constexpr int kImages = kGroups * kSubgroups * kImagesPerSubgroup;
constexpr int kMoves = 100;

// Board hit layer -> 10 groups -> 10 subgroups each -> 20 image layers each (four levels).
struct LayerTreeBenchScene {
  LayerTreeBenchScene() {
    render.mRecording = false;
    if (render.Init() != VN_OK) std::abort();
    for (int i = 0; i < 4; ++i) {
      render::Texture* texture = nullptr;
      render.CreateTexture(texture);
      texture->CreateRenderTarget(16, 16);
      images.emplace_back(new render::Image(texture));
    }
    board = new widget::BaseBoard;
    board->SetHitRect(math::Rect(0, 0, 1024, 768));
    for (int g = 0; g < kGroups; ++g) {
      layers.emplace_back(new layer::Layer);
      layer::Layer* group = layers.back().get();
      group->SetPosition(math::Point3(float(g % 5) * 200.0f, float(g / 5) * 380.0f, 0.0f));
      board->GetLayer()->AddChild(group);
      for (int s = 0; s < kSubgroups; ++s) {
        layers.emplace_back(new layer::Layer);
        layer::Layer* subgroup = layers.back().get();
        subgroup->SetPosition(math::Point3(float(s % 2) * 100.0f, float(s / 2) * 72.0f, 0.0f));
        group->AddChild(subgroup);
        for (int i = 0; i < kImagesPerSubgroup; ++i) {
          auto* image = new layer::ImageLayer;
          image->SetImage(images[size_t(i) % images.size()].get(), false);
          image->SetPosition(math::Point3(float(i % 5) * 18.0f, float(i / 5) * 18.0f, 0.0f));
          layers.emplace_back(image);
          subgroup->AddChild(image);
          positions.emplace_back(float(g % 5) * 200.0f + float(s % 2) * 100.0f + float(i % 5) * 18.0f,
                                 float(g / 5) * 380.0f + float(s / 2) * 72.0f + float(i / 5) * 18.0f);
        }
      }
    }
    if (manager.AddFrame(board, false, true, false) != VN_OK) std::abort();
  }
  ~LayerTreeBenchScene() {
    manager.RemoveAllFrames(false, false);
    layers.clear();
    delete board;
  }

  template <class Draw>
  void Frame(const Draw& draw) {
    render.BeginFrame();
    {
      render::Graphics graphics(&render);
      draw(graphics);
    }
    render.EndFrame();
    render.Present();
    render.PlayCommands();
  }

  fakes::RecordingRender render;
  std::vector<std::unique_ptr<render::Image>> images;
  std::vector<std::unique_ptr<layer::Layer>> layers;
  std::vector<math::Point2> positions;
  widget::BaseBoard* board = nullptr;
  widget::FrameManager manager;
};

void SetPerItem(benchmark::State& state, int items, const char* name) {
  state.counters[name] = benchmark::Counter(double(state.iterations()) * items,
                                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LayerTreeFrame(benchmark::State& state) {
  LayerTreeBenchScene scene;
  for (auto _ : state) {
    scene.render.mCallCount = 0;
    scene.Frame([&](render::Graphics& g) { scene.manager.Draw(&g); });
  }
  SetPerItem(state, kImages, "per_layer");
  state.counters["device_calls"] = double(scene.render.mCallCount);
}
BENCHMARK(BM_LayerTreeFrame)->Unit(benchmark::kMicrosecond);

void BM_DirectImagesFrame(benchmark::State& state) {
  LayerTreeBenchScene scene;
  for (auto _ : state) {
    scene.render.mCallCount = 0;
    scene.Frame([&](render::Graphics& g) {
      for (int i = 0; i < kImages; ++i) {
        g.DrawImage(scene.images[size_t(i % kImagesPerSubgroup) % scene.images.size()].get())
            .Translate(scene.positions[size_t(i)]);
      }
    });
  }
  SetPerItem(state, kImages, "per_image");
  state.counters["device_calls"] = double(scene.render.mCallCount);
}
BENCHMARK(BM_DirectImagesFrame)->Unit(benchmark::kMicrosecond);

void BM_LayerTreeMouseMoves(benchmark::State& state) {
  LayerTreeBenchScene scene;
  // Cursor points spread over the board: most land on an image, some between them.
  std::vector<math::Point2> points;
  for (int m = 0; m < kMoves; ++m) points.emplace_back(float((m * 97) % 1000), float((m * 53) % 760));
  for (auto _ : state) {
    for (const math::Point2& point : points) scene.manager.OnMouseMove(point);
  }
  SetPerItem(state, kMoves, "per_dispatch");
}
BENCHMARK(BM_LayerTreeMouseMoves)->Unit(benchmark::kMicrosecond);

}  // namespace
