// Entry of the benchmarks: the allocator setting of the game's own entry, then Google Benchmark.
#include <benchmark/benchmark.h>
#include <malloc.h>

int main(int argc, char** argv) {
  // Keeps glibc from returning freed memory to the kernel after every frame (Mesa faults it in again).
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
