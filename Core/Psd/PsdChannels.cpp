// Channel decoding (raw, run-length, ZIP, ZIP with prediction) and the layers' pixels.
#include <zlib.h>

#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

constexpr int64_t kPsdMinPlaneCapacity = 12288;
constexpr int64_t kPsdMinCompressedCapacity = 4096;

struct PsdPlaneShape {
  int32_t width = 0, height = 0;
  int64_t length = 0;  // bytes of the decoded plane
};

int32_t PsdPositive(int32_t value) { return value > 0 ? value : 0; }

// The plane a channel decodes into: the user mask's size for -2, the real mask's for -3, else the
// layer's. An empty side gives an empty plane.
PsdPlaneShape PsdChannelShape(const PsdDocument* document, const PsdLayer* layer, int16_t id) {
  PsdPlaneShape shape;
  const PsdLayerMask& mask = layer->mask;
  if (id == -2) {
    shape.width = PsdPositive(mask.width), shape.height = PsdPositive(mask.height);
  } else if (id == -3 && mask.hasReal) {
    const int64_t width = int64_t(mask.realRight) - mask.realLeft, height = int64_t(mask.realBottom) - mask.realTop;
    shape.width = width > 0 && width <= INT32_MAX ? int32_t(width) : 0;
    shape.height = height > 0 && height <= INT32_MAX ? int32_t(height) : 0;
  } else {
    shape.width = PsdPositive(layer->width), shape.height = PsdPositive(layer->height);
  }
  if (shape.width == 0 || shape.height == 0) shape.width = shape.height = 0;
  // Masks have no depth-1 form.
  if ((id == -2 || id == -3) && document->depth == 1) shape.width = shape.height = 0;
  shape.length = PsdPlaneLength(shape.width, shape.height, document->depth);
  return shape;
}

int32_t PsdDecodeChannel(uint16_t code, const uint8_t* source, int64_t size, uint8_t* plane,
                         const PsdPlaneShape& shape, int32_t depth) {
  switch (code) {
    case 0: {
      const int64_t copied = size < shape.length ? size : shape.length;
      std::memcpy(plane, source, size_t(copied));
      std::memset(plane + copied, 0, size_t(shape.length - copied));
      return kPsdOk;
    }
    case 1: return PsdUnpackRuns(source, size, shape.height, plane, shape.length);
    case 2: return PsdInflate(source, size, plane, shape.length);
    case 3: return PsdInflatePredicted(source, size, plane, shape.length, shape.width, depth);
    default: return kPsdBadCompression;
  }
}

}  // namespace

int32_t PsdUnpackRuns(const uint8_t* source, int64_t sourceSize, int64_t rows, uint8_t* destination,
                      int64_t destinationSize) {
  if (rows <= 0 || sourceSize <= 0) {
    if (destinationSize > 0) std::memset(destination, 0, size_t(destinationSize));
    return kPsdOk;
  }
  const int64_t tableRows = rows < sourceSize / 2 ? rows : sourceSize / 2;
  int64_t in = rows * 2;
  int64_t out = 0;
  for (int64_t row = 0; row < tableRows && in < sourceSize && out < destinationSize; ++row) {
    const int64_t count = int64_t(source[row * 2]) << 8 | source[row * 2 + 1];
    int64_t rowEnd = in + count;
    if (rowEnd > sourceSize) rowEnd = sourceSize;
    while (in < rowEnd && out < destinationSize) {
      const uint8_t header = source[in++];
      if (header < 128) {
        int64_t n = header + 1;
        if (n > rowEnd - in) n = rowEnd - in;
        if (n > destinationSize - out) n = destinationSize - out;
        std::memcpy(destination + out, source + in, size_t(n));
        in += header + 1;
        out += n;
      } else if (header > 128) {
        if (in >= rowEnd) break;
        int64_t n = 257 - header;
        if (n > destinationSize - out) n = destinationSize - out;
        std::memset(destination + out, source[in++], size_t(n));
        out += n;
      }
    }
    in = rowEnd > in ? rowEnd : in;
  }
  if (out < destinationSize) std::memset(destination + out, 0, size_t(destinationSize - out));
  return kPsdOk;
}

int32_t PsdInflate(const uint8_t* source, int64_t sourceSize, uint8_t* destination, int64_t destinationSize) {
  if (sourceSize <= 0 || destinationSize <= 0 || sourceSize > UINT32_MAX || destinationSize > UINT32_MAX) {
    return kPsdBadZip;
  }
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return kPsdBadZip;
  stream.next_in = const_cast<Bytef*>(source);
  stream.avail_in = uInt(sourceSize);
  stream.next_out = destination;
  stream.avail_out = uInt(destinationSize);
  int32_t status = kPsdBadZip;
  for (;;) {
    const int result = inflate(&stream, Z_PARTIAL_FLUSH);
    if (result == Z_STREAM_END || (result == Z_OK && stream.avail_out == 0)) {
      status = kPsdOk;
      break;
    }
    if (result != Z_OK) break;
  }
  if (status == kPsdOk && stream.avail_out > 0) std::memset(stream.next_out, 0, stream.avail_out);
  inflateEnd(&stream);
  return status;
}

int32_t PsdInflatePredicted(const uint8_t* source, int64_t sourceSize, uint8_t* destination, int64_t destinationSize,
                            int32_t rowWidth, int32_t depth) {
  const int32_t status = PsdInflate(source, sourceSize, destination, destinationSize);
  if (status != kPsdOk || rowWidth <= 0) return status;
  const int64_t sampleBytes = depth == 16 ? 2 : 1;
  const int64_t rowBytes = int64_t(rowWidth) * sampleBytes;
  for (int64_t row = 0; row < destinationSize; row += rowBytes) {
    const int64_t end = row + rowBytes < destinationSize ? row + rowBytes : destinationSize;
    if (sampleBytes == 2) {
      for (int64_t at = row + 2; at + 1 < end; at += 2) {
        const uint32_t sum = (uint32_t(destination[at]) << 8 | destination[at + 1]) +
                             (uint32_t(destination[at - 2]) << 8 | destination[at - 1]);
        destination[at] = uint8_t(sum >> 8);
        destination[at + 1] = uint8_t(sum);
      }
    } else {
      for (int64_t at = row + 1; at < end; ++at) destination[at] = uint8_t(destination[at] + destination[at - 1]);
    }
  }
  return kPsdOk;
}

int32_t PsdReadLayerChannels(PsdDocument* document, PsdLayer* layer) {
  int64_t stride = 0;
  for (int32_t i = 0; i < layer->channelCount; ++i) {
    const PsdPlaneShape shape = PsdChannelShape(document, layer, layer->channels[i].id);
    if (shape.length < 0) return kPsdNoMemory;
    if (shape.length > stride) stride = shape.length;
  }
  if (stride <= 0) {
    for (int32_t i = 0; i < layer->channelCount; ++i) PsdSkip(document, layer->channels[i].length);
    return kPsdOk;
  }
  if (stride * layer->channelCount > PsdImageByteLimit()) return kPsdNoMemory;
  document->planeLength = PsdPlaneLength(PsdPositive(layer->width), PsdPositive(layer->height), document->depth);
  document->planeStride = stride;
  int32_t status = PsdReserve(document->planes, document->planeCapacity, stride * layer->channelCount,
                              kPsdMinPlaneCapacity);
  if (status != kPsdOk) return status;
  for (int32_t i = 0; i < layer->channelCount; ++i) {
    const PsdChannelInfo& channel = layer->channels[i];
    const int64_t size = int64_t(channel.length) - 2;
    if (size > PsdBytesLeft(document) - 2) return kPsdShortData;
    if (size > 0) {
      status = PsdReserve(document->compressed, document->compressedCapacity, size, kPsdMinCompressedCapacity);
      if (status != kPsdOk) return status;
    }
    const uint16_t code = PsdReadU16(document);
    const PsdPlaneShape shape = PsdChannelShape(document, layer, channel.id);
    if (size <= 0) {
      // A channel without data reads as zero.
      std::memset(document->planes + i * stride, 0, size_t(shape.length));
      continue;
    }
    if (PsdReadBytes(document, document->compressed, size) != size) return kPsdShortData;
    if (code > 3) return kPsdBadCompression;
    if (shape.length == 0) continue;  // nothing to decode into (an empty mask)
    status = PsdDecodeChannel(code, document->compressed, size, document->planes + i * stride, shape,
                              document->depth);
    if (status != kPsdOk) return status;
  }
  if (layer->width > 0 && layer->height > 0) {
    layer->pixels = PsdAllocateUninitialized<uint32_t>(int64_t(layer->width) * layer->height);
    if (!layer->pixels) return kPsdNoMemory;
    PsdPlaneSet set = PsdMakePlaneSet(document->colorMode, document->planes, stride, document->depth, layer->width,
                                      layer->height);
    set.byId = true;
    for (int32_t i = layer->channelCount - 1; i >= 0; --i) {
      const int32_t id = layer->channels[i].id;
      if (id >= -1 && id <= 4) set.idPlane[id + 1] = i;
    }
    PsdCombine(document, set, layer->pixels, nullptr);
  }
  const PsdPlaneShape maskShape = PsdChannelShape(document, layer, -2);
  for (int32_t i = 0; i < layer->channelCount && maskShape.length > 0; ++i) {
    if (layer->channels[i].id != -2) continue;
    const int64_t count = int64_t(maskShape.width) * maskShape.height;
    layer->mask.pixels = PsdAllocate<uint8_t>(count);
    if (!layer->mask.pixels) return kPsdNoMemory;
    const uint8_t* plane = document->planes + i * stride;
    const int64_t step = document->depth == 16 ? 2 : 1;
    for (int64_t p = 0; p < count; ++p) layer->mask.pixels[p] = plane[p * step];
    break;
  }
  return kPsdOk;
}
