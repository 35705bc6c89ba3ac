// Loading a 1024 x 768 RGB document of 30 run-length layers: our reader (from the file and from
// memory) next to ImageMagick's `convert file.psd null:`, which decodes the merged image and every
// layer once. The document is written by this program into a temporary folder and removed after.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Core/Psd/Psd.h"
#include "Psd/PsdFiles.h"

namespace {

constexpr int kBenchPsdWidth = 1024;
constexpr int kBenchPsdHeight = 768;
constexpr int kBenchPsdLayers = 30;

// Gradients with flat bands and a noisy stripe: rows compress, but not to nothing.
psdtest::Bytes BenchPsdPlane(int layer, int channel) {
  psdtest::Bytes plane(size_t(kBenchPsdWidth) * kBenchPsdHeight);
  uint32_t noise = uint32_t(layer * 131 + channel * 7 + 1);
  for (int y = 0; y < kBenchPsdHeight; ++y) {
    for (int x = 0; x < kBenchPsdWidth; ++x) {
      noise = noise * 1664525u + 1013904223u;
      uint8_t value = uint8_t((x / 16 + y / 8 + layer * 9 + channel * 50) & 0xFF);
      if (x > 300 + layer * 10 && x < 420 + layer * 10) value = uint8_t(noise >> 24);
      plane[size_t(y) * kBenchPsdWidth + x] = value;
    }
  }
  return plane;
}

const std::filesystem::path& BenchPsdFile() {
  static const std::filesystem::path path = [] {
    psdtest::PsdSpec spec;
    spec.width = kBenchPsdWidth, spec.height = kBenchPsdHeight;
    psdtest::Bytes merged;
    for (int layer = 0; layer < kBenchPsdLayers; ++layer) {
      psdtest::PsdLayerSpec record;
      record.bottom = kBenchPsdHeight, record.right = kBenchPsdWidth;
      record.name = "layer " + std::to_string(layer);
      for (int16_t id : {-1, 0, 1, 2}) {
        record.channels.push_back({id, 1, psdtest::Rle(BenchPsdPlane(layer, id + 1), kBenchPsdHeight)});
      }
      spec.layers.push_back(record);
    }
    std::vector<psdtest::Bytes> planes;
    for (int channel = 0; channel < 3; ++channel) planes.push_back(BenchPsdPlane(99, channel));
    spec.merged = psdtest::Planes(planes);
    const psdtest::Bytes bytes = psdtest::MakePsd(spec);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("bench_psd_" + std::to_string(std::rand()) + ".psd");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
  }();
  return path;
}

void BM_PsdLoadFile(benchmark::State& state) {
  const std::string path = BenchPsdFile().string();
  for (auto _ : state) {
    PsdDocument* document = nullptr;
    if (PsdLoad(&document, path.c_str()) != kPsdOk) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(document);
    PsdFree(document);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_PsdLoadFile)->Unit(benchmark::kMillisecond);

void BM_PsdLoadMemory(benchmark::State& state) {
  std::ifstream in(BenchPsdFile(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (auto _ : state) {
    PsdDocument* document = nullptr;
    if (PsdLoadMemory(&document, bytes.data(), int64_t(bytes.size())) != kPsdOk) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(document);
    PsdFree(document);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_PsdLoadMemory)->Unit(benchmark::kMillisecond);

// ImageMagick 6 from Debian (IM_CONVERT overrides the program); skipped when it is missing.
void BM_ImageMagickConvert(benchmark::State& state) {
  const char* configured = std::getenv("IM_CONVERT");
  const std::string convert = configured ? configured : "/usr/bin/convert-im6.q16";
  if (!std::filesystem::exists(convert)) {
    state.SkipWithError("ImageMagick is not installed (apt-get install imagemagick)");
    for (auto _ : state) {
    }
    return;
  }
  const std::string command = convert + " '" + BenchPsdFile().string() + "' null: 2>/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("convert failed");
  }
}
BENCHMARK(BM_ImageMagickConvert)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(BenchPsdFile());
  return 0;
}
