// Levels simulated without drawing at 1/60 s steps, as simulated time over wall time (the goal is
// at least 1000x real time on one core). The five-minute level: six groups of two linked waves
// (about 50 s each) walk a winding road of about 1000 px with about 40 enemies alive at once. The
// stress level: 500 enemies alive at once. Enemies cost no lives, so each level runs to its end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Game/Battle/RuvMap.h"
#include "tests/harness/BattleHarness.h"

namespace {

// groups of two linked waves with perWave entries each, spacing/45 s apart.
std::string BenchLevel(int groups, int perWave, double spacing) {
  std::string waves = "<waves>";
  for (int group = 0; group < groups; ++group) {
    for (int lane = 0; lane < 2; ++lane) {
      waves += lane == 0 ? "<wave>" : "<wave linked='" + std::to_string(group * 2) + "'>";
      for (int i = 0; i < perWave; ++i) {
        waves += "<u id='" + std::to_string(1 + (i + lane) % 3) + "' upgrade='1' x='" + std::to_string(i * spacing) +
                 "' y='" + std::to_string(lane * -65) + "'/>";
      }
      waves += "</wave>";
    }
  }
  waves += "</waves>";
  return "<map><li>../../ruv/data/maps/ep1_1/</li><budget>100</budget><points>"
         "<p id='0' x='40' y='100'><a name='spawn' value='1'/></p><p id='1' x='300' y='200'/>"
         "<p id='2' x='600' y='120'/><p id='3' x='700' y='400'/><p id='4' x='400' y='600'/>"
         "<p id='5' x='980' y='650'><a name='goal' value='1'/></p></points><links>"
         "<l sid='0' eid='1' anchor_x='150' anchor_y='200'/><l sid='1' eid='2' anchor_x='450' anchor_y='250'/>"
         "<l sid='2' eid='3' anchor_x='750' anchor_y='200'/><l sid='3' eid='4' anchor_x='600' anchor_y='550'/>"
         "<l sid='4' eid='5' anchor_x='700' anchor_y='700'/></links>" +
         waves + "</map>";
}

void BenchRunLevel(benchmark::State& state, const std::string& level) {
  harness::BattleHarness battle;
  battle.writeFile("ruv/units_sheet.csv",
                   "id;parent;levelid;health;speed;strength;cost;fps\n"
                   "1;-1;0;100;50;0;10;10\n2;-1;0;200;45;0;10;10\n3;-1;0;80;55;0;10;10\n");
  battle.writeFile("ruv/levels_normal/level_09_01.xml", level);
  harness::BattleRun run;
  run.episode = 8;
  double simulated = 0.0;
  double wall = 0.0;
  int finalState = -1;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const harness::BattleTrace trace = battle.run(run);
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    simulated += trace.levelTime;
    finalState = trace.finalState;
  }
  state.counters["simulated_s"] = simulated / double(state.iterations());
  state.counters["x_real_time"] = wall > 0.0 ? simulated / wall : 0.0;
  state.counters["final_state"] = finalState;
}

void BM_FiveMinuteLevel(benchmark::State& state) { BenchRunLevel(state, BenchLevel(6, 20, 22.5)); }
BENCHMARK(BM_FiveMinuteLevel)->Unit(benchmark::kMillisecond)->Iterations(3);

// Two lanes of 250 entries 0.04 s apart: all 500 spawn within 10 s and walk for about 20 s.
void BM_StressLevel(benchmark::State& state) { BenchRunLevel(state, BenchLevel(1, 250, 1.8)); }
BENCHMARK(BM_StressLevel)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
