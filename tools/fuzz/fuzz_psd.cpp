// Feeds arbitrary bytes to the layered-document reader in memory, under every load tag, and reads
// every pixel it hands out so that a buffer shorter than its recorded size shows up under
// AddressSanitizer.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "Core/Psd/Psd.h"

namespace {

// Images above this are refused, to keep a run's memory within the fuzzer's limit.
constexpr int64_t kFuzzPsdImageBytes = int64_t(2) << 20;

uint32_t FuzzPsdSum(const uint32_t* pixels, int64_t count) {
  uint32_t sum = 0;
  for (int64_t i = 0; pixels && i < count; ++i) sum += pixels[i];
  return sum;
}

// Keeps the sums alive so that the reads are not optimised away.
volatile uint32_t sFuzzPsdSink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (PsdLoadTag tag : {kPsdLoadAll, kPsdLoadLayers, kPsdLoadMerged}) {
    PsdDocument* document = nullptr;
    if (PsdLoadMemoryLimited(data, int64_t(size), &document, tag, kFuzzPsdImageBytes) != kPsdOk) continue;
    uint32_t sum = 0;
    for (int32_t i = 0; i < document->layerCount; ++i) {
      const PsdLayer& layer = document->layers[i];
      if (layer.width > 0 && layer.height > 0) sum += FuzzPsdSum(layer.pixels, int64_t(layer.width) * layer.height);
      if (layer.mask.pixels) sum += layer.mask.pixels[int64_t(layer.mask.width) * layer.mask.height - 1];
    }
    if (document->width > 0 && document->height > 0) {
      sum += FuzzPsdSum(document->merged, int64_t(document->width) * document->height);
    }
    for (int32_t i = 0; i < document->patternCount; ++i) {
      const PsdPattern& pattern = document->patterns[i];
      sum += FuzzPsdSum(pattern.pixels, int64_t(uint16_t(pattern.width)) * uint16_t(pattern.height));
    }
    // Without decoded pixels the thumbnail's size is only the header's claim.
    if (document->thumbnailPixels) {
      sum += FuzzPsdSum(document->thumbnailPixels, int64_t(document->thumbnailWidth) * document->thumbnailHeight);
    }
    sFuzzPsdSink = sFuzzPsdSink + sum;
    PsdFree(document);
  }
  return 0;
}
