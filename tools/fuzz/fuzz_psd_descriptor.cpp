// Feeds arbitrary bytes to the descriptor readers: the input becomes the data of one block (its
// first byte chooses solid colour, gradient or pattern fill, or the descriptor layer effects)
// inside a small document.
#include <cstdint>
#include <vector>

#include "Core/Psd/Psd.h"

namespace {

void FuzzDescriptorU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value >> 8));
  out.push_back(uint8_t(value));
}

void FuzzDescriptorU32(std::vector<uint8_t>& out, uint32_t value) {
  FuzzDescriptorU16(out, value >> 16);
  FuzzDescriptorU16(out, value);
}

void FuzzDescriptorText(std::vector<uint8_t>& out, const char* text) { out.insert(out.end(), text, text + 4); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  static const char* const kKeys[] = {"SoCo", "GdFl", "PtFl", "lfx2"};
  const char* key = kKeys[data[0] % 4];
  std::vector<uint8_t> block;
  FuzzDescriptorText(block, "8BIM");
  FuzzDescriptorText(block, key);
  FuzzDescriptorU32(block, uint32_t(size - 1 + ((size - 1) & 1)));
  block.insert(block.end(), data + 1, data + size);
  if ((size - 1) & 1) block.push_back(0);

  // An RGB document of one empty layer carrying the block.
  std::vector<uint8_t> file;
  FuzzDescriptorText(file, "8BPS");
  FuzzDescriptorU16(file, 1);
  file.insert(file.end(), 6, 0);
  FuzzDescriptorU16(file, 3);
  FuzzDescriptorU32(file, 1);
  FuzzDescriptorU32(file, 1);
  FuzzDescriptorU16(file, 8);
  FuzzDescriptorU16(file, 3);
  FuzzDescriptorU32(file, 0);
  FuzzDescriptorU32(file, 0);
  std::vector<uint8_t> record(16 + 2, 0);
  FuzzDescriptorText(record, "8BIM");
  FuzzDescriptorText(record, "norm");
  record.insert(record.end(), {255, 0, 0, 0});
  FuzzDescriptorU32(record, uint32_t(4 + 4 + 4 + block.size()));
  FuzzDescriptorU32(record, 0);  // mask
  FuzzDescriptorU32(record, 0);  // blending ranges
  record.insert(record.end(), {0, 0, 0, 0});  // empty name
  record.insert(record.end(), block.begin(), block.end());
  const uint32_t info = uint32_t(2 + record.size() + (record.size() & 1));
  FuzzDescriptorU32(file, 4 + info + 4);
  FuzzDescriptorU32(file, info);
  FuzzDescriptorU16(file, 1);
  file.insert(file.end(), record.begin(), record.end());
  if (record.size() & 1) file.push_back(0);
  FuzzDescriptorU32(file, 0);  // global layer mask
  FuzzDescriptorU16(file, 0);
  file.insert(file.end(), {1, 2, 3});

  PsdDocument* document = nullptr;
  if (PsdLoadMemoryLimited(file.data(), int64_t(file.size()), &document, kPsdLoadAll, int64_t(1) << 20) == kPsdOk) {
    PsdFree(document);
  }
  return 0;
}
