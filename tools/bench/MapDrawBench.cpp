// Frames of a battle with 500 enemies alive drawn by the map into the recording renderer (device
// calls counted, not written): the time to record one frame into the command buffer, and the whole
// frame with the merge and playback, as frames per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Core/Render/Graphics.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvWaveManager.h"
#include "tests/fakes/RecordingRender.h"
#include "tests/harness/BattleHarness.h"

namespace {

// Two lanes of 250 enemies on one long curve, all spawned within ten seconds.
std::string MapDrawStressLevel() {
  std::string waves = "<waves>";
  for (int lane = 0; lane < 2; ++lane) {
    waves += lane == 0 ? "<wave>" : "<wave linked='0'>";
    for (int i = 0; i < 250; ++i) {
      waves += "<u id='" + std::to_string(1 + (i + lane) % 3) + "' upgrade='1' x='" + std::to_string(i * 1.8) +
               "' y='" + std::to_string(lane * -65) + "'/>";
    }
    waves += "</wave>";
  }
  return "<map><li>../../ruv/data/maps/ep1_1/</li><budget>100</budget><points>"
         "<p id='0' x='40' y='100'><a name='spawn' value='1'/></p>"
         "<p id='1' x='980' y='650'><a name='goal' value='1'/></p></points><links>"
         "<l sid='0' eid='1' anchor_x='100' anchor_y='900'/></links>" +
         waves + "</waves></map>";
}

void BM_StressLevelFrames(benchmark::State& state) {
  harness::BattleHarness battle;
  battle.writeFile("ruv/units_sheet.csv",
                   "id;parent;levelid;psd;health;speed;strength;cost;fps\n"
                   "1;-1;0;unit0;100;20;0;10;10\n2;-1;0;unit11;200;18;0;10;10\n3;-1;0;unit39;80;22;0;10;10\n");
  battle.writeFile("ruv/levels_normal/level_09_01.xml", MapDrawStressLevel());
  harness::BattleRun run;
  run.episode = 8;
  run.tickLimit = 60 * 12;
  battle.run(run);
  RuvMap& map = battle.map();
  auto* render = dynamic_cast<fakes::RecordingRender*>(RuvResources::Instance()->getRender());
  if (!render) {
    state.SkipWithError("no recording renderer");
    return;
  }
  render->mRecording = false;
  double recordSeconds = 0.0;
  for (auto _ : state) {
    render->BeginFrame();
    const auto start = std::chrono::steady_clock::now();
    {
      render::Graphics graphics(render);
      map.draw(graphics);
    }
    recordSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    render->EndFrame();
    render->PlayCommands();
  }
  state.counters["units"] = double(map.mWaves->units.size());
  state.counters["state"] = map.mState;
  state.counters["record_ms"] = recordSeconds * 1000.0 / double(state.iterations());
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StressLevelFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
