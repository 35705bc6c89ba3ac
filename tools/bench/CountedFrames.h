#pragma once
// Instruction counts of the timed frames alone, repeatable where wall-clock time is not: run under
//   valgrind --tool=callgrind --separate-threads=yes bench_quads --benchmark_min_time=0 ...
// and each side's timed frames land in a dump of their own, named after the side and count, so
// instructions per frame are the dump's total over the iterations. Outside valgrind these do nothing.
#include <valgrind/callgrind.h>

#include <string>

namespace bench {

inline void StartCountedFrames() { CALLGRIND_ZERO_STATS; }

inline void StopCountedFrames(const std::string& side, long long sprites) {
  CALLGRIND_DUMP_STATS_AT((side + "/" + std::to_string(sprites)).c_str());
}

}  // namespace bench
