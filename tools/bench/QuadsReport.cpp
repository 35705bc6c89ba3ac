#include "tools/bench/QuadsReport.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace {

double QuadsMedian(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

const char* const kQuadsEngine = "BM_EngineQuads";
const char* const kQuadsSdl = "BM_SdlRenderGeometry";
const char* const kQuadsBatch = "BM_GlBatchQuads";

}  // namespace

void bench::QuadsReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const auto fps = run.counters.find("fps");
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if ((run.run_type != Run::RT_Iteration && !median) || run.error_occurred || fps == run.counters.end()) {
      continue;
    }
    SideSamples& side = mSamples[std::stoll(run.run_name.args)][run.run_name.function_name];
    // The library's median stands for the repetitions, which it withholds when told to report
    // aggregates only.
    if (median) side = {};
    side.fps.push_back(fps->second.value);
    side.cpuMs.push_back(run.GetAdjustedCPUTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit));
  }
}

void bench::QuadsReporter::Finalize() {
  std::ostream& out = GetOutputStream();
  char line[160];
  out << "\nMedians over the repetitions (fps; main-thread CPU ms per frame):\n";
  std::snprintf(line, sizeof(line), "%8s %16s %16s %16s %10s %12s\n", "sprites", "engine", "sdl", "batch",
                "eng/sdl", "eng/batch");
  out << line;
  for (auto& [sprites, sides] : mSamples) {
    const double engine = QuadsMedian(sides[kQuadsEngine].fps);
    const double sdl = QuadsMedian(sides[kQuadsSdl].fps);
    const double batch = QuadsMedian(sides[kQuadsBatch].fps);
    auto cell = [&](const char* side, double fps) {
      char text[32];
      std::snprintf(text, sizeof(text), "%.1f; %.2f", fps, QuadsMedian(sides[side].cpuMs));
      return std::string(text);
    };
    std::snprintf(line, sizeof(line), "%8lld %16s %16s %16s %9.2fx %11.2fx\n", sprites,
                  cell(kQuadsEngine, engine).c_str(), cell(kQuadsSdl, sdl).c_str(),
                  cell(kQuadsBatch, batch).c_str(), sdl > 0 ? engine / sdl : 0.0,
                  batch > 0 ? engine / batch : 0.0);
    out << line;
  }
}
