// The streaming JPEG decoder and the thumbnail of image resources 1033 and 1036 decoded through it.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "Core/Psd/PsdLocal.h"

namespace {

// Input the decoder holds at once: every marker segment and every MCU must fit.
constexpr int64_t kPsdJpegInputBytes = 32768;
// Pieces the thumbnail reads from the document.
constexpr int64_t kPsdJpegPieceBytes = 4096;
// Input scans a file may have; each costs one output pass over the whole image. Encoders write
// about ten for a progressive image.
constexpr int32_t kPsdJpegMaxScans = 100;
// Rounds in a row without change that end a feed.
constexpr int32_t kPsdJpegIdleRounds = 3;
// Scanlines read at once.
constexpr int32_t kPsdJpegRowBatch = 8;

struct PsdJpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

// Source manager whose fill routine suspends the library until the next feed.
struct PsdJpegSource {
  jpeg_source_mgr manager;
  uint8_t buffer[kPsdJpegInputBytes];
  int64_t skipPending;  // bytes still to be dropped from the next input
};

}  // namespace

struct PsdJpegLibrary {
  jpeg_decompress_struct info;
  PsdJpegError error;
  PsdJpegSource source;
  bool failed;  // a feed failed; the library state is not to be used again
};

namespace {

void PsdJpegFatal(j_common_ptr info) {
  (*info->err->output_message)(info);
  std::longjmp(reinterpret_cast<PsdJpegError*>(info->err)->jump, 1);
}

PsdJpegSource* PsdJpegSourceOf(j_decompress_ptr info) { return reinterpret_cast<PsdJpegSource*>(info->src); }

void PsdJpegSourceClear(j_decompress_ptr info) { PsdJpegSourceOf(info)->skipPending = 0; }

boolean PsdJpegSourceSuspend(j_decompress_ptr) { return FALSE; }

void PsdJpegSourceSkip(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr& source = *info->src;
  if (size_t(count) <= source.bytes_in_buffer) {
    source.next_input_byte += count;
    source.bytes_in_buffer -= size_t(count);
    return;
  }
  PsdJpegSourceOf(info)->skipPending += int64_t(count) - int64_t(source.bytes_in_buffer);
  source.next_input_byte += source.bytes_in_buffer;
  source.bytes_in_buffer = 0;
}

// Converts rows [first, first + count) of the output in place to RGB (3 components) or RGB and
// 255 (4 components); false for an output colour space without conversion.
bool PsdJpegConvertRows(PsdJpegDecoder* decoder, int64_t first, int64_t count) {
  const jpeg_decompress_struct& info = decoder->library->info;
  const int64_t width = decoder->width;
  for (int64_t y = first; y < first + count; ++y) {
    uint8_t* row = decoder->output + y * decoder->rowStride;
    switch (info.out_color_space) {
      case JCS_GRAYSCALE:
        // Backwards, so that every grey byte is read before its place is written.
        for (int64_t x = width - 1; x >= 0; --x) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = row[x];
        break;
      case JCS_RGB: break;
      case JCS_CMYK:
        for (int64_t x = 0; x < width; ++x) {
          uint8_t* pixel = row + x * 4;
          const int32_t k = pixel[3];
          // Adobe writes the inks inverted; others as amounts.
          for (int32_t c = 0; c < 3; ++c) {
            pixel[c] = uint8_t(info.saw_Adobe_marker ? pixel[c] * k / 255 : (255 - pixel[c]) * (255 - k) / 255);
          }
          pixel[3] = 255;
        }
        break;
      default: return false;
    }
  }
  return true;
}

// Once the header is read: starts decompression in buffered-image mode and creates the output.
bool PsdJpegStart(PsdJpegDecoder* decoder) {
  jpeg_decompress_struct& info = decoder->library->info;
  if (info.out_color_space != JCS_GRAYSCALE && info.out_color_space != JCS_RGB && info.out_color_space != JCS_CMYK) {
    return false;
  }
  if (int64_t(info.image_width) * info.image_height * 4 > PsdImageByteLimit()) return false;
  info.buffered_image = TRUE;
  info.do_fancy_upsampling = FALSE;
  info.do_block_smoothing = FALSE;
  if (!jpeg_start_decompress(&info)) return true;
  decoder->components = info.output_components == 4 ? 4 : 3;
  decoder->width = int32_t(info.output_width);
  decoder->height = int32_t(info.output_height);
  decoder->rowStride = decoder->components * decoder->width;
  decoder->output = PsdAllocate<uint8_t>(int64_t(decoder->rowStride) * decoder->height);
  if (!decoder->output) return false;
  decoder->started = true;
  return true;
}

// One round of decoding over the bytes buffered so far; returns where the library suspends.
// False when the data cannot be decoded.
bool PsdJpegDecode(PsdJpegDecoder* decoder) {
  jpeg_decompress_struct& info = decoder->library->info;
  if (!decoder->headerRead) {
    decoder->headerRequested = true;
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return true;
    decoder->headerRead = true;
  }
  if (!decoder->started) {
    if (!PsdJpegStart(decoder)) return false;
    if (!decoder->started) return true;
  }
  // One output pass per input scan; a pass that began is finished even when the input ended early.
  while (decoder->outputPassActive || !jpeg_input_complete(&info)) {
    if (!decoder->outputPassActive) {
      if (info.input_scan_number > kPsdJpegMaxScans) return false;
      if (!jpeg_start_output(&info, info.input_scan_number)) return true;
      decoder->outputPassActive = true;
    }
    while (info.output_scanline < info.output_height) {
      const int64_t first = info.output_scanline;
      JSAMPROW rows[kPsdJpegRowBatch];
      int64_t batch = info.output_height - first;
      if (batch > kPsdJpegRowBatch) batch = kPsdJpegRowBatch;
      for (int64_t i = 0; i < batch; ++i) rows[i] = decoder->output + (first + i) * decoder->rowStride;
      const JDIMENSION read = jpeg_read_scanlines(&info, rows, JDIMENSION(batch));
      if (read == 0) return true;
      if (!PsdJpegConvertRows(decoder, first, read)) return false;
    }
    if (!jpeg_finish_output(&info)) return true;
    decoder->outputPassActive = false;
  }
  return true;
}

// PsdJpegDecode with the library's fatal errors caught.
bool PsdJpegDecodeGuarded(PsdJpegDecoder* decoder) {
  if (setjmp(decoder->library->error.jump)) return false;
  return PsdJpegDecode(decoder);
}

void PsdJpegFinishGuarded(PsdJpegLibrary* library) {
  if (setjmp(library->error.jump)) return;
  jpeg_finish_decompress(&library->info);
}

}  // namespace

PsdJpegDecoder* PsdJpegDecoderCreate() {
  auto* decoder = new (std::nothrow) PsdJpegDecoder{};
  auto* library = new (std::nothrow) PsdJpegLibrary{};
  if (!decoder || !library) {
    delete decoder;
    delete library;
    return nullptr;
  }
  decoder->library = library;
  library->info.err = jpeg_std_error(&library->error.manager);
  library->error.manager.error_exit = PsdJpegFatal;
  if (setjmp(library->error.jump)) {
    jpeg_destroy_decompress(&library->info);
    delete library;
    delete decoder;
    return nullptr;
  }
  jpeg_create_decompress(&library->info);
  // The library's own image buffers (the coefficients of every scan) stay within the cap too;
  // beyond it the library would need a backing store, which is a fatal error.
  library->info.mem->max_memory_to_use = long(PsdImageByteLimit());
  jpeg_source_mgr& source = library->source.manager;
  source.next_input_byte = library->source.buffer;
  source.bytes_in_buffer = 0;
  source.init_source = PsdJpegSourceClear;
  source.fill_input_buffer = PsdJpegSourceSuspend;
  source.skip_input_data = PsdJpegSourceSkip;
  source.resync_to_restart = jpeg_resync_to_restart;
  source.term_source = PsdJpegSourceClear;
  library->info.src = &source;
  return decoder;
}

bool PsdJpegDecoderFeed(PsdJpegDecoder* decoder, const uint8_t* bytes, int64_t count) {
  if (!decoder || count < 0 || (!bytes && count > 0) || decoder->library->failed) return false;
  PsdJpegSource& source = decoder->library->source;
  jpeg_source_mgr& manager = source.manager;
  int32_t idle = 0;
  size_t unread = manager.bytes_in_buffer;
  for (;;) {
    // Bytes a skip of the library still covers are dropped; the rest joins the unread bytes.
    bool appended = false;
    if (count > 0 && source.skipPending > 0) {
      const int64_t dropped = count < source.skipPending ? count : source.skipPending;
      bytes += dropped;
      count -= dropped;
      source.skipPending -= dropped;
    }
    if (count > 0) {
      std::memmove(source.buffer, manager.next_input_byte, manager.bytes_in_buffer);
      manager.next_input_byte = source.buffer;
      int64_t taken = kPsdJpegInputBytes - int64_t(manager.bytes_in_buffer);
      if (taken > count) taken = count;
      std::memcpy(source.buffer + manager.bytes_in_buffer, bytes, size_t(taken));
      manager.bytes_in_buffer += size_t(taken);
      bytes += taken;
      count -= taken;
      appended = taken > 0;
    }
    if (!PsdJpegDecodeGuarded(decoder)) {
      decoder->library->failed = true;
      return false;
    }
    // Bytes after the end of the image are not data: they are dropped, however many follow.
    if (decoder->started && !decoder->outputPassActive && jpeg_input_complete(&decoder->library->info)) return true;
    if (appended || manager.bytes_in_buffer != unread) {
      idle = 0;
      unread = manager.bytes_in_buffer;
    } else if (++idle >= kPsdJpegIdleRounds) {
      // Waiting for more data; with bytes still to come the buffer is full of a segment or MCU
      // larger than it, which no further round can take.
      if (count == 0) return true;
      decoder->library->failed = true;
      return false;
    }
  }
}

void PsdJpegDecoderRelease(PsdJpegDecoder* decoder) {
  if (!decoder) return;
  PsdRelease(decoder->output);
  PsdJpegLibrary* library = decoder->library;
  // Finishing is only valid between output passes; destroying releases everything in any state.
  if (decoder->started && !decoder->outputPassActive && !library->failed) PsdJpegFinishGuarded(library);
  jpeg_destroy_decompress(&library->info);
  delete library;
  delete decoder;
}

int32_t PsdDecodeJpegThumbnail(PsdDocument* document, int64_t compressedSize, uint32_t** pixels) {
  *pixels = nullptr;
  uint8_t* piece = PsdAllocateUninitialized<uint8_t>(kPsdJpegPieceBytes);
  PsdJpegDecoder* decoder = PsdJpegDecoderCreate();
  if (!piece || !decoder) {
    PsdRelease(piece);
    PsdJpegDecoderRelease(decoder);
    return kPsdNoMemory;
  }
  int32_t status = kPsdOk;
  for (int64_t left = compressedSize; left > 0 && status == kPsdOk;) {
    const int64_t read = PsdReadBytes(document, piece, left < kPsdJpegPieceBytes ? left : kPsdJpegPieceBytes);
    if (read <= 0 || !PsdJpegDecoderFeed(decoder, piece, read)) status = kPsdBadJpeg;
    left -= read;
  }
  // Data that ends before decompression could start holds no image.
  if (status == kPsdOk && !decoder->output) status = kPsdBadJpeg;
  if (status == kPsdOk) {
    const int64_t count = int64_t(decoder->width) * decoder->height;
    *pixels = PsdAllocate<uint32_t>(count);
    if (!*pixels) status = kPsdNoMemory;
    const int64_t components = decoder->components;
    for (int64_t p = 0; *pixels && p < count; ++p) {
      const uint8_t* in = decoder->output + p * components;
      const uint32_t alpha = components == 4 ? in[3] : 0xFF;
      (*pixels)[p] = alpha << 24 | uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
    }
    // The pixels follow the decoded image, whatever the resource header said.
    document->thumbnailWidth = uint32_t(decoder->width);
    document->thumbnailHeight = uint32_t(decoder->height);
  }
  PsdRelease(piece);
  PsdJpegDecoderRelease(decoder);
  return status;
}
