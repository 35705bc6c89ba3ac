// The stress level: 500 enemies on a long winding road and 40 towers firing, simulated without
// drawing at 1/60 s steps, as simulated time over wall time (the goal is at least 60x real time).
// The enemies are tough and cost no lives, so the level runs until the towers have killed or let
// through all of them, with many alive at once.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvUnlocks.h"
#include "Game/Entities/RuvTower.h"
#include "tests/fakes/SourceDir.h"
#include "tests/harness/BattleHarness.h"

namespace {

std::string StressFile(const std::string& path) {
  std::ifstream file(std::string(QM_SOURCE_DIR) + "/tests/data/levels/" + path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void BM_TowerStress(benchmark::State& state) {
  harness::BattleHarness battle;
  battle.writeFile("ruv/units_sheet.csv",
                   "id;parent;levelid;health;speed;strength;cost;fps\n0;-1;0;600;40;0;5;10\n11;-1;0;300;70;0;2;10\n");
  battle.map().mUnlocks->load("8;0;-1\n");  // every tower at this level
  battle.writeFile("ruv/levels_normal/level_09_01.xml", StressFile("stress.xml"));
  for (const char* layer : {"layers.xml", "background.png", "fx/point0.png", "fx/point1.png"}) {
    battle.writeFile(std::string("ruv/data/maps/stress/") + layer, StressFile(std::string("ruv/data/maps/stress/") + layer));
  }
  harness::BattleRun run;
  run.episode = 8;
  std::string script;
  for (int spot = 0; spot < 40; ++spot) {
    script += "0 build " + std::to_string(spot) + (spot % 2 == 0 ? " 10000\n" : " 20000\n");
  }
  run.commands = harness::parseBattleScript(script);
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
