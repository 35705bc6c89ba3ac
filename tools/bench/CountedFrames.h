#pragma once
// Instruction counts of the timed frames alone, repeatable where wall-clock time is not: run under
//   valgrind --tool=callgrind --separate-threads=yes bench_quads --benchmark_min_time=0 ...
// and each side's timed frames land in a dump of their own, named after the side and count, so
// instructions per frame are the dump's total over the iterations. With LP_NUM_THREADS=0 in the
// environment llvmpipe rasterises on the main thread, so a dump counts each side's whole frame,
// the driver's work included. Outside valgrind these do nothing.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <string>

namespace bench {

inline void StartCountedFrames() { CALLGRIND_ZERO_STATS; }

inline void StopCountedFrames(const std::string& side, long long sprites) {
  CALLGRIND_DUMP_STATS_AT((side + "/" + std::to_string(sprites)).c_str());
}

// The frame loop of every side: one untimed frame (the driver compiles its shader variants at the
// first draws), the timed frames, their frames per second.
template <class Frame>
void RunTimedFrames(benchmark::State& state, const std::string& side, const Frame& frame) {
  frame();
  StartCountedFrames();
  for (auto _ : state) frame();
  StopCountedFrames(side, state.range(0));
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace bench
