// Frames of 10,000 live particles in 20 emitters (updated, tessellated and drawn) on the OpenGL
// device; run beside BM_EngineQuads/10000, the same number of sprites through DrawImage.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Platform/Magic/Magic.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tools/bench/EngineFrames.h"
#include "tools/bench/QuadScene.h"
#include "tests/fakes/SourceDir.h"

namespace {

const int kBenchEmitters = 20;

void BM_Particles(benchmark::State& state) {
  fakes::GlRenderWindow window(bench::kScreenWidth, bench::kScreenHeight);
  render::RenderDX9* render = window.GetRender();
  const bench::GlFinishFunction finish = bench::GetGlFinish();
  render::ParticleSystem* system = render::ParticleSystem::Instance();
  if (!render || !finish) {
    state.SkipWithError("no OpenGL 3.3 device");
    return;
  }
  Magic_SetRandomSeed(7);
  system->SetFolder(std::string(QM_SOURCE_DIR) + "/tools/bench/");
  system->Load("particles_bench.ptc", render);
  std::vector<std::unique_ptr<render::ParticleEmitter>> emitters;
  for (int i = 0; i < kBenchEmitters; ++i) {
    emitters.emplace_back(system->CreateEmitter("bench"));
    if (!emitters.back() || !system->GetAtlas(0)) {
      state.SkipWithError("bench effect not loaded");
      system->ReleaseAtlases();
      return;
    }
    emitters.back()->SetPosition({float(128 + (i % 5) * 192), float(128 + (i / 5) * 170)}, 1);
    emitters.back()->SetState(1);
    for (int f = 0; f < 75; ++f) emitters.back()->Update(1.0 / 60.0);  // to the steady 500
  }

  double updateSeconds = 0.0;
  int drawn = 0;
  auto draw = [&](render::Graphics& g) {
    const auto start = std::chrono::steady_clock::now();
    for (auto& e : emitters) e->Update(1.0 / 60.0);
    updateSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    drawn = 0;
    for (auto& e : emitters) {
      int count = 0;
      g.DrawParticles(e.get())->mOutCount = &count;
      drawn += count;
    }
  };
  // The totals include the untimed first frame on both sides of the share.
  const auto begin = std::chrono::steady_clock::now();
  bench::RunEngineFrames(state, *render, finish, draw);
  const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const double frames = double(state.iterations()) + 1.0;
  state.SetLabel("particles");
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["particles"] = drawn;
  state.counters["update_ms"] = updateSeconds * 1000.0 / frames;
  state.counters["update_share_%"] = total > 0 ? 100.0 * updateSeconds / total : 0.0;
  emitters.clear();
  system->ReleaseAtlases();
  system->SetFolder("");
}

BENCHMARK(BM_Particles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
