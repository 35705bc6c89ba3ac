// The five-minute level simulated without drawing at 1/60 s steps, as simulated time over wall
// time (the goal is at least 1000x real time on one core). Six groups of two linked waves (about 50 s each) walk a
// winding road of about 1000 px; about 40 enemies are alive at once; they cost no lives, so the
// level runs to its last wave.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Game/Battle/RuvMap.h"
#include "tests/harness/BattleHarness.h"

namespace {

std::string FiveMinuteLevel() {
  std::string waves = "<waves>";
  for (int group = 0; group < 6; ++group) {
    for (int lane = 0; lane < 2; ++lane) {
      waves += lane == 0 ? "<wave>" : "<wave linked='" + std::to_string(group * 2) + "'>";
      for (int i = 0; i < 20; ++i) {
        waves += "<u id='" + std::to_string(1 + (i + lane) % 3) + "' upgrade='1' x='" + std::to_string(i * 22.5) +
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

void BM_FiveMinuteLevel(benchmark::State& state) {
  harness::BattleHarness battle;
  battle.writeFile("ruv/units_sheet.csv",
                   "id;parent;levelid;health;speed;strength;cost;fps\n"
                   "1;-1;0;100;50;0;10;10\n2;-1;0;200;45;0;10;10\n3;-1;0;80;55;0;10;10\n");
  battle.writeFile("ruv/levels_normal/level_09_01.xml", FiveMinuteLevel());
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
BENCHMARK(BM_FiveMinuteLevel)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
