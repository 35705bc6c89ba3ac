#pragma once
// The report of bench_quads: Google Benchmark's console lines, then a summary per sprite count of
// each side's median frames per second and main-thread CPU per frame over the repetitions, and the
// engine's frame rate against SDL's and the batch's.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class QuadsReporter : public benchmark::ConsoleReporter {
 public:
  QuadsReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct SideSamples {
    std::vector<double> fps;
    std::vector<double> cpuMs;  // main thread, per frame
  };
  // By sprite count, then by side (the benchmark's function name).
  std::map<long long, std::map<std::string, SideSamples>> mSamples;
};

}  // namespace bench
