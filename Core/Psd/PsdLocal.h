#pragma once
// Stages and helpers shared by the reader's own files.
#include <new>

#include "Core/Psd/Psd.h"

constexpr uint32_t PsdKey(const char (&key)[5]) {
  return uint32_t(uint8_t(key[0])) << 24 | uint32_t(uint8_t(key[1])) << 16 | uint32_t(uint8_t(key[2])) << 8 |
         uint32_t(uint8_t(key[3]));
}

// Zero-filled array of count T, or null when count is negative, the bytes would pass the image
// byte limit, or memory runs out.
// The cap of the load running on this thread (kPsdMaxImageBytes unless the load asked for less).
int64_t PsdImageByteLimit();

template <class T>
bool PsdAllocationFits(int64_t count) {
  return count >= 0 && count <= PsdImageByteLimit() / int64_t(sizeof(T));
}

template <class T>
T* PsdAllocate(int64_t count) {
  return PsdAllocationFits<T>(count) ? new (std::nothrow) T[size_t(count ? count : 1)]() : nullptr;
}

// The same without clearing, for buffers that are written whole at once.
template <class T>
T* PsdAllocateUninitialized(int64_t count) {
  return PsdAllocationFits<T>(count) ? new (std::nothrow) T[size_t(count ? count : 1)] : nullptr;
}

template <class T>
void PsdRelease(T*& block) {
  delete[] block;
  block = nullptr;
}

// Makes a scratch buffer hold needed bytes: grows to max(2 x capacity, needed, minimum).
int32_t PsdReserve(uint8_t*& buffer, int64_t& capacity, int64_t needed, int64_t minimum);

// Bytes per plane of a w x h image at depth (rows of depth-1 images padded to bytes); -1 when the
// size is negative or above the cap.
int64_t PsdPlaneLength(int64_t width, int64_t height, int32_t depth);

// Keeps a block's handler inside the block: reads past end give zeros, as at the file's end.
class PsdBlockScope {
 public:
  PsdBlockScope(PsdDocument* document, int64_t end) : mDocument(document), mPrevious(document->blockEnd) {
    if (end < mDocument->blockEnd) mDocument->blockEnd = end;
  }
  ~PsdBlockScope() { mDocument->blockEnd = mPrevious; }
  PsdBlockScope(const PsdBlockScope&) = delete;
  PsdBlockScope& operator=(const PsdBlockScope&) = delete;

 private:
  PsdDocument* mDocument;
  int64_t mPrevious;
};

// Moves to position from the file's start, backwards too: a section whose parser ran past its
// recorded end (some writers record a padded length without writing the pad) ends where recorded.
void PsdSeekTo(PsdDocument* document, int64_t position);

// A UTF-16 text: u32 unit count, then the units as stored (big-endian pairs), cut to the bytes
// left. Replaces *units.
int32_t PsdReadUnicodeText(PsdDocument* document, int32_t* length, uint16_t** units);
// One component of a colour record: the u16's high byte as a signed number.
int16_t PsdReadColorComponent(PsdDocument* document);

// Stages.
int32_t PsdReadHeader(PsdDocument* document);
int32_t PsdReadColorModeData(PsdDocument* document);
int32_t PsdReadImageResources(PsdDocument* document);
int32_t PsdReadLayerAndMaskSection(PsdDocument* document);
int32_t PsdReadLayerInfo(PsdDocument* document);
int32_t PsdReadGlobalLayerMask(PsdDocument* document);
int32_t PsdReadLayerRecord(PsdDocument* document, PsdLayer* layer);
int32_t PsdReadLayerChannels(PsdDocument* document, PsdLayer* layer);
int32_t PsdReadMergedImage(PsdDocument* document);
int32_t PsdReadPattern(PsdDocument* document);
int32_t PsdDecodeJpegThumbnail(PsdDocument* document, int64_t compressedSize, uint32_t** pixels);

// Additional layer information of adjustments, fills and type (block of length bytes); the status
// of the block's reader, or 1 when the key is not one of them.
int32_t PsdReadAdjustmentInfo(PsdDocument* document, PsdLayer* layer, uint32_t key, int64_t length);

// The "lrFX" and "lfx2" blocks; 1 when the key is neither.
int32_t PsdReadEffectsInfo(PsdDocument* document, PsdLayer* layer, uint32_t key);

// Descriptor pieces shared by the fill and effect readers.
// A class id or key: u32 length, then that many bytes (kept in name, cut to 255, when given), or
// a 4-byte key when the length is 0 (returned; 0 for a named key).
uint32_t PsdReadDescriptorKey(PsdDocument* document, char* name = nullptr);
void PsdSkipUnicode(PsdDocument* document);
// An "Objc" colour of RGB class: three items by position.
uint32_t PsdReadColorDescriptor(PsdDocument* document);
// A count of records of at least minimum bytes each, cut to what the block still holds.
int64_t PsdCountInBlock(PsdDocument* document, int64_t count, int64_t minimum);
// The body of a "Grad" object (class name, class id, items): interpolation, name, colour and
// transparency stops, each list replacing what the gradient held. 0, or -4.
int32_t PsdReadGradientDescriptor(PsdDocument* document, PsdGradient* gradient);
// The body of a "Ptrn" object: id and name. 0, or -4.
int32_t PsdReadPatternDescriptor(PsdDocument* document, PsdPatternReference* pattern);
// The body of a point object: "Hrzn" and "Vrtc" truncated into x and y (left as they are when absent).
void PsdReadPointDescriptor(PsdDocument* document, int32_t* x, int32_t* y);
// An enum value (u32 length, key): 0 linear, 1 "Rdl ", 2 "Angl", 3 "Rflc", 4 "Dmnd".
int32_t PsdReadGradientTypeEnum(PsdDocument* document);
// Release what a gradient or a pattern reference owns and clear it.
void PsdReleaseGradient(PsdGradient& gradient);
void PsdReleasePatternReference(PsdPatternReference& pattern);
// Releases what an effects record owns (gradients, pattern names), not the record.
void PsdReleaseEffects(PsdLayerEffects* effects);

// Combines planes (plane i at planes + i x stride) into width x height ARGB words. byId: planes
// indexed through ids (layers: ids[n] is the plane holding channel id n - 1, -1 when absent, so
// ids[0] is the transparency); otherwise by position with colourPlanes planes. An unsupported mode
// and depth sets every pixel to 0.
struct PsdPlaneSet {
  uint32_t mode;  // colour mode of the image
  const uint8_t* planes;
  int64_t stride;
  int32_t depth;
  int32_t width, height;
  bool byId;
  int32_t idPlane[6];  // plane index of channel ids -1, 0, 1, 2, 3, 4 (-1: none)
  int32_t colourPlanes;  // by position
};
void PsdCombine(const PsdDocument* document, const PsdPlaneSet& set, uint32_t* pixels, const uint32_t* ownPalette);
// A set of planes taken by position (colourPlanes still to set), no ids.
PsdPlaneSet PsdMakePlaneSet(uint32_t mode, const uint8_t* planes, int64_t stride, int32_t depth, int32_t width,
                            int32_t height);
