// Frames of the stress level in full battle (40 towers firing at hundreds of enemies) drawn by the
// map through the real renderer on the OpenGL device at 1366x768, each frame waited for with
// glFinish: frames per second (the goal is at least 60), and the time the map takes to record one
// frame into the command buffer. The map keeps its 1024x768 design size at the left of the screen.
#include <benchmark/benchmark.h>

#include <chrono>

#include "Core/Render/Graphics.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvWaveManager.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/harness/BattleHarness.h"
#include "tools/bench/EngineFrames.h"
#include "tools/bench/StressLevel.h"

namespace {

constexpr unsigned kGlFrameWidth = 1366;
constexpr unsigned kGlFrameHeight = 768;
constexpr int kGlBattleTicks = 60 * 40;  // the waves are on the road, the towers firing

void BM_StressLevelGlFrames(benchmark::State& state) {
  fakes::GlRenderWindow window(kGlFrameWidth, kGlFrameHeight);
  render::RenderDX9* render = window.GetRender();
  const bench::GlFinishFunction finish = bench::GetGlFinish();
  if (!render || !finish) {
    state.SkipWithError("no OpenGL 3.3 device");
    return;
  }
  harness::BattleHarness battle({}, render);
  harness::BattleRun run;
  bench::InstallStressLevel(battle, run);
  run.tickLimit = kGlBattleTicks;
  battle.run(run);
  RuvMap& map = battle.map();
  double recordSeconds = 0.0;
  long long recorded = 0;
  bench::RunEngineFrames(state, *render, finish, [&](render::Graphics& g) {
    const auto start = std::chrono::steady_clock::now();
    g.SetBlendMode(1);  // as the root board draws the map
    map.draw(g);
    recordSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++recorded;
  });
  state.counters["units"] = double(map.mWaves->units.size());
  state.counters["towers"] = double(map.mTowers.size());
  state.counters["bullets"] = double(map.mBullets->bullets.size());
  state.counters["record_ms"] = recorded > 0 ? recordSeconds * 1000.0 / double(recorded) : 0.0;
}
BENCHMARK(BM_StressLevelGlFrames)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
