#pragma once
// JPEG files written and read with libjpeg itself: the thumbnails of documents built in memory and
// the expected pixels of the streaming decoder.
#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace psdtest {

struct JpegSpec {
  int width = 8, height = 8;
  int components = 3;  // 1 grey, 3 RGB, 4 CMYK
  bool progressive = false;
  std::vector<jpeg_scan_info> scans;  // a progressive scan script of one's own, when not empty
  int quality = 90;
};

// Gradients, 8-pixel checks and a little noise, so that every scan of a progressive file changes
// pixels and the file takes several kilobytes.
inline uint8_t JpegPatternSample(int x, int y, int c) {
  const uint32_t noise = (uint32_t(x * 73) ^ uint32_t(y * 151 + c)) * 2654435761u >> 26;
  return uint8_t((x * 7 + y * 13 + c * 50 + ((x / 8 + y / 8) & 1) * 90 + int(noise)) & 0xFF);
}

// A file of spec's size whose samples come from sample(x, y, component).
inline std::vector<uint8_t> MakeJpeg(const JpegSpec& spec, const std::function<uint8_t(int, int, int)>& sample) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* memory = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &memory, &size);
  info.image_width = JDIMENSION(spec.width);
  info.image_height = JDIMENSION(spec.height);
  info.input_components = spec.components;
  info.in_color_space = spec.components == 1 ? JCS_GRAYSCALE : spec.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, spec.quality, TRUE);
  if (spec.progressive) jpeg_simple_progression(&info);
  if (!spec.scans.empty()) {
    info.scan_info = spec.scans.data();
    info.num_scans = int(spec.scans.size());
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(spec.width) * size_t(spec.components));
  while (info.next_scanline < info.image_height) {
    const int y = int(info.next_scanline);
    for (int x = 0; x < spec.width; ++x) {
      for (int c = 0; c < spec.components; ++c) row[size_t(x * spec.components + c)] = sample(x, y, c);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(memory, memory + size);
  jpeg_destroy_compress(&info);
  free(memory);
  return bytes;
}

// A file decoded whole the plain way (one pass, no fancy upsampling, no block smoothing), as rows
// of the library's output components (1 grey, 3 RGB, 4 CMYK).
struct JpegPlain {
  int width = 0, height = 0, components = 0;
  bool adobe = false;  // an Adobe marker was seen
  std::vector<uint8_t> samples;
};
inline JpegPlain DecodeJpegPlain(const std::vector<uint8_t>& jpeg) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.do_fancy_upsampling = FALSE;
  info.do_block_smoothing = FALSE;
  jpeg_start_decompress(&info);
  JpegPlain plain;
  plain.width = int(info.output_width);
  plain.height = int(info.output_height);
  plain.components = info.output_components;
  plain.adobe = info.saw_Adobe_marker;
  plain.samples.resize(size_t(plain.width) * size_t(plain.height) * size_t(plain.components));
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {plain.samples.data() + size_t(info.output_scanline) * size_t(plain.width * plain.components)};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return plain;
}

}  // namespace psdtest
