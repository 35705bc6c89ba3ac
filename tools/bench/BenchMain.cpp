// Entry of the benchmarks: the allocator setting of the game's own entry, then Google Benchmark.
#include <benchmark/benchmark.h>

#include "tools/bench/BenchAllocator.h"

int main(int argc, char** argv) {
  bench::KeepFreedMemory();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
