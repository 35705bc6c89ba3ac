// The JPEG thumbnail of image resources 1033 and 1036, decoded with libjpeg.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "Core/Psd/PsdLocal.h"

namespace {

struct PsdJpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void PsdJpegFatal(j_common_ptr info) {
  (*info->err->output_message)(info);
  std::longjmp(reinterpret_cast<PsdJpegError*>(info->err)->jump, 1);
}

// The decoder's state, kept outside the setjmp frame so that it survives a fatal error.
struct PsdJpegState {
  jpeg_decompress_struct info;
  PsdJpegError error;
  uint8_t* output = nullptr;  // width x height x 3 bytes of RGB, zero where nothing was written
  int64_t width = 0, height = 0;
  bool started = false;
};

void PsdJpegRow(PsdJpegState* state, const uint8_t* row, uint8_t* out) {
  const int components = state->info.output_components;
  for (int64_t x = 0; x < state->width; ++x) {
    const uint8_t* in = row + x * components;
    uint8_t* rgb = out + x * 3;
    if (components == 1) {
      rgb[0] = rgb[1] = rgb[2] = in[0];
    } else if (components == 3) {
      std::memcpy(rgb, in, 3);
    } else {
      // Adobe writes CMYK inverted; others as ink amounts.
      const bool adobe = state->info.saw_Adobe_marker;
      const int k = in[3];
      for (int c = 0; c < 3; ++c) {
        rgb[c] = uint8_t(adobe ? in[c] * k / 255 : (255 - in[c]) * (255 - k) / 255);
      }
    }
  }
}

// Decodes the whole image; false when decompression never started. A fatal error after the start
// leaves the rows not yet written at zero.
bool PsdJpegDecode(PsdJpegState* state, const uint8_t* data, int64_t size, uint8_t* row) {
  if (setjmp(state->error.jump)) return state->started;
  jpeg_mem_src(&state->info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&state->info, TRUE) != JPEG_HEADER_OK) return false;
  const J_COLOR_SPACE space = state->info.jpeg_color_space;
  state->info.out_color_space = space == JCS_CMYK || space == JCS_YCCK ? JCS_CMYK : JCS_RGB;
  if (space == JCS_GRAYSCALE) state->info.out_color_space = JCS_GRAYSCALE;
  state->info.do_fancy_upsampling = FALSE;
  state->info.do_block_smoothing = FALSE;
  jpeg_calc_output_dimensions(&state->info);
  state->width = state->info.output_width;
  state->height = state->info.output_height;
  if (state->width * state->height * 4 > PsdImageByteLimit() || state->width * 4 > 65536 * 4) return false;
  state->output = PsdAllocate<uint8_t>(state->width * state->height * 3);
  if (!state->output) return false;
  if (!jpeg_start_decompress(&state->info)) return false;
  state->started = true;
  while (state->info.output_scanline < state->info.output_height) {
    JSAMPROW rows[1] = {row};
    const int64_t y = state->info.output_scanline;
    if (jpeg_read_scanlines(&state->info, rows, 1) != 1) break;
    PsdJpegRow(state, row, state->output + y * state->width * 3);
  }
  jpeg_finish_decompress(&state->info);
  return true;
}

}  // namespace

int32_t PsdDecodeJpegThumbnail(PsdDocument* document, int64_t compressedSize, uint32_t** pixels) {
  *pixels = nullptr;
  if (compressedSize > PsdBytesLeft(document)) compressedSize = PsdBytesLeft(document);
  uint8_t* data = PsdAllocate<uint8_t>(compressedSize);
  // One row of at most 65535 four-component samples.
  uint8_t* row = PsdAllocate<uint8_t>(65536 * 4);
  auto* state = new (std::nothrow) PsdJpegState;
  if (!data || !row || !state) {
    PsdRelease(data);
    PsdRelease(row);
    delete state;
    return kPsdNoMemory;
  }
  PsdReadBytes(document, data, compressedSize);
  state->info.err = jpeg_std_error(&state->error.manager);
  state->error.manager.error_exit = PsdJpegFatal;
  jpeg_create_decompress(&state->info);
  const bool decoded = PsdJpegDecode(state, data, compressedSize, row);
  jpeg_destroy_decompress(&state->info);
  int32_t status = decoded ? kPsdOk : kPsdBadJpeg;
  if (decoded) {
    const int64_t count = state->width * state->height;
    *pixels = PsdAllocate<uint32_t>(count);
    if (!*pixels) status = kPsdNoMemory;
    for (int64_t p = 0; *pixels && p < count; ++p) {
      const uint8_t* rgb = state->output + p * 3;
      (*pixels)[p] = 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
    }
    // The pixels follow the decoded image, whatever the resource header said.
    document->thumbnailWidth = uint32_t(state->width);
    document->thumbnailHeight = uint32_t(state->height);
  }
  PsdRelease(state->output);
  delete state;
  PsdRelease(data);
  PsdRelease(row);
  return status;
}
