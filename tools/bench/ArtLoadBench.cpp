// Loading every art container of the sample data as the map does at start-up (every folder an art
// set, every frame a texture), in milliseconds: on the OpenGL device, and on the recording device,
// which decodes the same PNGs but uploads nothing. The map's budget to its first frame is 1 s.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "Core/File/FileManager.h"
#include "Game/Art/RuvResources.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/RecordingRender.h"
#include "tests/fakes/SourceDir.h"

namespace {

const char16_t* const kBenchArtContainers[] = {u"ruv/units/t1units",    u"ruv/units/t2units", u"ruv/units/t3units",
                                               u"ruv/towers/artillery", u"ruv/towers/dart",   u"ruv/towers/cannon",
                                               u"ruv/towers/support",   u"ruv/data/ui_parts"};

void BenchLoadAllArt(benchmark::State& state, render::Render* render) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(QM_SOURCE_DIR) / "data");
  RuvResources* resources = RuvResources::Instance();
  resources->setRender(render);
  size_t sets = 0;
  for (auto _ : state) {
    for (const char16_t* container : kBenchArtContainers) resources->loadArtFolder(container);
    sets = resources->getArtSets().size();
    state.PauseTiming();
    resources->clear();  // the textures go with their sets, so the next round loads them again
    state.ResumeTiming();
  }
  state.counters["sets"] = double(sets);
  resources->setRender(nullptr);
  std::filesystem::current_path(previous);
}

void BM_ArtLoadGl(benchmark::State& state) {
  fakes::GlRenderWindow window(1024, 768);
  if (!window.GetRender()) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  BenchLoadAllArt(state, window.GetRender());
}
BENCHMARK(BM_ArtLoadGl)->Unit(benchmark::kMillisecond);

void BM_ArtLoadDecodeOnly(benchmark::State& state) {
  fakes::RecordingRender render;
  render.Init();
  BenchLoadAllArt(state, &render);
}
BENCHMARK(BM_ArtLoadDecodeOnly)->Unit(benchmark::kMillisecond);

}  // namespace
