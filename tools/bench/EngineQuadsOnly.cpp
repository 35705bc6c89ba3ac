// The engine's quads alone, as the anchor of the text and particle benchmarks.
#include "tools/bench/QuadSides.h"

namespace {

const bool kEngineQuadsRegistered = [] {
  benchmark::RegisterBenchmark("BM_EngineQuads", bench::BM_EngineQuads)
      ->Arg(1000)
      ->Arg(10000)
      ->Arg(50000)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return true;
}();

}  // namespace
