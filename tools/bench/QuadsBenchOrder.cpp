// bench_quads: the three sides interleaved per sprite count (engine, SDL, batch at 1,000, then at
// 10,000, then at 50,000), so that load on the machine falls on all three alike.
#include <utility>

#include "tools/bench/QuadSides.h"

namespace {

const bool kQuadSidesRegistered = [] {
  for (const int n : {1000, 10000, 50000}) {
    for (const auto& side : {std::make_pair("BM_EngineQuads", &bench::BM_EngineQuads),
                             std::make_pair("BM_SdlRenderGeometry", &bench::BM_SdlRenderGeometry),
                             std::make_pair("BM_GlBatchQuads", &bench::BM_GlBatchQuads)}) {
      benchmark::RegisterBenchmark(side.first, side.second)->Arg(n)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
  }
  return true;
}();

}  // namespace
