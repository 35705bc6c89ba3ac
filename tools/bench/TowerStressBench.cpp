// The stress level: 500 enemies on a long winding road and 40 towers firing, simulated without
// drawing at 1/60 s steps, as simulated time over wall time (the goal is at least 60x real time).
// The enemies are tough and cost no lives, so the level runs until the towers have killed or let
// through all of them, with many alive at once.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvTower.h"
#include "tests/harness/BattleHarness.h"
#include "tools/bench/StressLevel.h"

namespace {

void BM_TowerStress(benchmark::State& state) {
  harness::BattleHarness battle;
  harness::BattleRun run;
  bench::InstallStressLevel(battle, run);
  double simulated = 0.0;
  double wall = 0.0;
  std::size_t towers = 0;
  int kills = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const harness::BattleTrace trace = battle.run(run);
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    simulated += trace.levelTime;
    towers = battle.map().mTowers.size();
    for (const std::string& event : trace.events) kills += event.find(" death ") != std::string::npos ? std::stoi(event.substr(event.rfind(' '))) : 0;
  }
  state.counters["simulated_s"] = simulated / double(state.iterations());
  state.counters["x_real_time"] = wall > 0.0 ? simulated / wall : 0.0;
  state.counters["towers"] = double(towers);
  state.counters["kills"] = double(kills) / double(state.iterations());
}
BENCHMARK(BM_TowerStress)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
