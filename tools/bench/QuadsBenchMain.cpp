// Entry of bench_quads: the allocator setting of the game's own entry, then Google Benchmark with
// the quad report's summary after the runs.
#include <benchmark/benchmark.h>

#include "tools/bench/BenchAllocator.h"
#include "tools/bench/QuadsReport.h"

int main(int argc, char** argv) {
  bench::KeepFreedMemory();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::QuadsReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
