#pragma once
// Reader of layered image documents in the Photoshop format ("8BPS", version 1).
//
// Plain records and free functions with integer statuses: 0 success, negative failure (the table
// in PsdStatus). A load parses front to back in five stages and keeps everything it parses in the
// document; a failed load frees everything and writes null to out. Every count, size and index
// read from the file is checked against the bytes left and against kPsdMaxImageBytes before it
// sizes a buffer or indexes one.
#include <cstdint>
#include <cstdio>

// Statuses of a load.
enum PsdStatus : int32_t {
  kPsdOk = 0,
  kPsdNoOut = -1,            // out is null (also PsdFree of null)
  kPsdCannotOpen = -2,       // path is null or the file cannot be opened
  kPsdNoMemory = -4,         // a buffer could not be created (or would exceed kPsdMaxImageBytes)
  kPsdShortData = -5,        // empty file, short header, data shorter than its recorded length or count
  kPsdBadDepth = -18,
  kPsdBadMode = -19,
  kPsdBadCompression = -20,
  kPsdNoBlendingRanges = -56,
  kPsdBadZip = -101,
  kPsdBadSignature = -200,
  kPsdBadVersion = -201,
  kPsdBadResource = -400,
  kPsdBadJpeg = -401,
  kPsdBadBlendSignature = -500,
  kPsdBadLevels = -503,
  kPsdBadLevelsExtension = -505,
  kPsdLevelsLength = -506,
  kPsdBadLevelsExtensionVersion = -507,
  kPsdBadCurves = -508,
  kPsdBadCurvesExtension = -509,
  kPsdBadCurvesExtensionVersion = -510,
  kPsdBadHueSaturation = -511,
  kPsdBadSelectiveColor = -512,
  kPsdBadChannelMixer = -513,
  kPsdBadPhotoFilter = -514,
  kPsdBadGradientMap = -515,
  kPsdBadEffects = -516,
  kPsdBadEffectSignature = -517,
  kPsdBadEffectKey = -518,
  kPsdBadCommonState = -519,
  kPsdBadShadow = -520,
  kPsdBadOuterGlow = -521,
  kPsdBadInnerGlow = -522,
  kPsdBadBevel = -523,
  kPsdBadSolidFill = -524,
  kPsdBadSolidColor = -525,
  kPsdBadGradientFill = -526,
  kPsdBadLayerInfoSignature = -528,
  kPsdBadDividerSignature = -529,
  kPsdBadPatternFill = -530,
  kPsdBadPattern = -531,
};

// Largest single image buffer (pixels, planes, compressed data) a document may create.
constexpr int64_t kPsdMaxImageBytes = int64_t(512) << 20;
// Deepest nesting of descriptors that is followed; deeper values are not read.
constexpr int kPsdMaxDescriptorDepth = 32;
// Additional-information records a layer keeps; further blocks are skipped.
constexpr int kPsdMaxLayerInfos = 20;

enum PsdLoadTag : int32_t {
  kPsdLoadAll = 0,
  kPsdLoadHeader = 1,
  kPsdLoadLayers = 2,
  kPsdLoadMerged = 3,
  kPsdLoadThumbnail = 4,
  kPsdLoadExif = 5,
};

enum PsdLayerType : int32_t {
  kPsdLayerNormal = 0,
  kPsdLayerFolderEnd = 1,
  kPsdLayerFolderStart = 2,
  kPsdLayerSolidColor = 3,
  kPsdLayerGradientFill = 4,
  kPsdLayerLevels = 6,
  kPsdLayerCurves = 7,
  kPsdLayerBrightnessContrast = 8,
  kPsdLayerColorBalance = 9,
  kPsdLayerHueSaturation = 10,
  kPsdLayerSelectiveColor = 11,
  kPsdLayerThreshold = 12,
  kPsdLayerInvert = 13,
  kPsdLayerPosterize = 14,
  kPsdLayerChannelMixer = 15,
  kPsdLayerGradientMap = 16,
  kPsdLayerPhotoFilter = 17,
  kPsdLayerPatternFill = 19,
};

enum PsdLayerInfoKind : int32_t {
  kPsdInfoNone = 0,
  kPsdInfoLevels = 1,
  kPsdInfoCurves = 2,
  kPsdInfoBrightnessContrast = 3,
  kPsdInfoColorBalance = 4,
  kPsdInfoHueSaturation = 5,
  kPsdInfoSelectiveColor = 6,
  kPsdInfoThreshold = 7,
  kPsdInfoInvert = 8,
  kPsdInfoPosterize = 9,
  kPsdInfoChannelMixer = 10,
  kPsdInfoGradientMap = 11,
  kPsdInfoPhotoFilter = 12,
  kPsdInfoTypeTool = 13,
  kPsdInfoEffects = 15,
  kPsdInfoObjectEffects = 16,
  kPsdInfoSolidColor = 17,
  kPsdInfoGradientFill = 18,
  kPsdInfoPatternFill = 19,
};

// Blend modes as kept (0 normal ... 23 pass-through).
enum PsdBlendMode : int32_t {
  kPsdBlendNormal = 0,
  kPsdBlendPassThrough = 23,
};

struct PsdAlphaChannel {
  char name[256];            // from resource 1006
  int32_t unicodeNameLength;  // UTF-16 units, from resource 1045
  uint16_t* unicodeName;
  int32_t id;                // from resource 1053
  uint8_t* plane;            // width x height bytes of the merged image
};

struct PsdChannelInfo {
  int16_t id;  // -1 transparency, -2 user mask, -3 real mask, 0.. colour
  int32_t length;  // including the 2-byte compression code
  bool restricted;
};

// Layer mask and its real (vector-combined) counterpart of a 36-byte mask record.
struct PsdLayerMask {
  int32_t top, left, bottom, right, width, height;
  uint8_t defaultColor;
  bool relative, disabled, invert;
  bool hasReal;
  uint8_t realFlags, realBackground;
  int32_t realTop, realLeft, realBottom, realRight;
  uint8_t* pixels;  // width x height bytes (channel -2)
};

struct PsdLayer {
  int32_t type;
  int32_t top, left, bottom, right;
  int32_t width, height;  // 0 when the difference does not fit
  int16_t channelCount;
  PsdChannelInfo* channels;
  int32_t blendMode;
  uint8_t opacity;
  bool clipping, transparencyProtected, visible, obsolete, pixelDataIrrelevant;
  PsdLayerMask mask;
  uint16_t compositeGrey[4];  // source black, source white, destination black, destination white
  int32_t rangeCount;
  int16_t* sourceBlack;
  int16_t* sourceWhite;
  int16_t* destinationBlack;
  int16_t* destinationWhite;
  char name[256];
  uint32_t* pixels;  // width x height ARGB words, rows from the top; null for an empty rectangle
  int32_t infoCount;
  PsdLayerInfoKind infoKinds[kPsdMaxLayerInfos];
  void* infos[kPsdMaxLayerInfos];
  bool adjustmentValid;
  uint8_t fillOpacity;
  int32_t unicodeNameLength;
  uint16_t* unicodeName;
  uint32_t nameSource, layerId, layerVersion;
  bool blendClipped, blendInterior, knockout;
  bool protectTransparency, protectComposite, protectPosition;
  uint32_t sheetColor;
  int32_t referenceX, referenceY;
  bool transparencyShapes, layerMaskHidesEffects, vectorMaskHidesEffects;
  int32_t dividerType;
  int32_t dividerBlendMode;
  PsdLayer* folder;  // the folder start containing this layer
};

struct PsdPattern {
  uint32_t mode;
  int16_t height, width;
  int32_t nameLength;
  uint16_t* name;
  char id[256];
  uint32_t arrayVersion;
  int16_t top, left, bottom, right;
  uint32_t depth;
  int32_t channelCount;  // channels decoded
  uint32_t* pixels;
};

// Adjustment and fill records (kept, not used by the engine).
struct PsdLevelsEntry {
  int16_t inputFloor, inputCeiling, outputFloor, outputCeiling;
  float gamma;
};
struct PsdLevels {
  PsdLevelsEntry entries[29];
  uint16_t extraCount;
  PsdLevelsEntry* extra;
};
struct PsdCurve {
  int32_t channel;
  int32_t pointCount;  // at most 19 kept
  uint16_t first[19];
  uint16_t second[19];
};
struct PsdCurves {
  int32_t count;
  PsdCurve* curves;
};
struct PsdBrightnessContrast {
  int16_t brightness, contrast, mean;
  uint8_t labOnly;
};
struct PsdColorBalance {
  int16_t cyanRed[3], magentaGreen[3], yellowBlue[3];
  uint16_t preserveLuminosity;
};
struct PsdHueSaturation {
  uint8_t colorize;
  int16_t colorization[3], master[3];
  int16_t ranges[6][4];
  int16_t settings[6][3];
};
struct PsdSelectiveColor {
  uint16_t method;
  int16_t cyan[10], magenta[10], yellow[10], black[10];
};
struct PsdThreshold {
  uint16_t level;
};
struct PsdPosterize {
  uint16_t levels;
};
struct PsdChannelMixer {
  uint8_t monochrome;
  int16_t values[5][4];
};
struct PsdPhotoFilter {
  int32_t x, y, z;
  uint32_t density;
  bool preserveLuminosity;
};
struct PsdSolidColor {
  uint32_t classId;
  uint32_t color;
};
struct PsdGradientStop {
  uint32_t location, midpoint;
  uint32_t color;
  int32_t type;  // 0 foreground, 1 background, 2 user colour
};
struct PsdTransparencyStop {
  uint32_t location, midpoint;
  int16_t opacity;
};
// A gradient of a descriptor ("Grad"); owns its name and stops.
struct PsdGradient {
  int32_t interpolation;
  int32_t nameLength;
  uint16_t* name;
  int32_t colorStopCount;
  PsdGradientStop* colorStops;
  int32_t transparencyStopCount;
  PsdTransparencyStop* transparencyStops;
};
// A pattern named by a descriptor ("Ptrn"); owns its name.
struct PsdPatternReference {
  int32_t nameLength;
  uint16_t* name;
  char id[256];
};
struct PsdGradientFill {
  uint32_t classId;
  double angle;
  int32_t gradientType;  // 0 linear, 1 radial, 2 angle, 3 reflected, 4 diamond
  int32_t scale;
  bool reversed, dithered, aligned;
  PsdGradient gradient;
};
struct PsdPatternFill {
  uint32_t classId;
  PsdPatternReference pattern;
  int32_t scale;
};
struct PsdGradientMap {
  bool reversed, dithered;
  int32_t nameLength;
  uint16_t* name;
  int32_t colorStopCount;
  PsdGradientStop* colorStops;
  int32_t transparencyStopCount;
  PsdTransparencyStop* transparencyStops;
  uint16_t expansionCount, interpolation, length, mode;
  uint32_t randomSeed;
  uint16_t showTransparency, useVectorColor;
  uint32_t roughness;
  uint16_t colorModel;
  uint32_t minimumColor, maximumColor;
};
struct PsdTypeFont {
  uint16_t mark;
  uint32_t fontType;
  char name[256], family[256], style[256];
  uint16_t script;
  uint32_t axisCount;
  uint32_t* designVector;
};
struct PsdTypeStyle {
  uint16_t mark, faceMark;
  uint32_t size, tracking, kerning, leading, baseShift;
  bool autoKern, rotate;
};
struct PsdTypeLine {
  uint32_t characterCount;
  uint16_t orientation, alignment, character, style;
};
struct PsdTypeTool {
  double transform[6];  // xx, xy, yx, yy, tx, ty
  int32_t fontCount;
  PsdTypeFont* fonts;
  int32_t styleCount;
  PsdTypeStyle* styles;
  uint16_t textType;
  uint32_t scaling, characterCount, horizontal, vertical, selectStart, selectEnd;
  int32_t lineCount;
  PsdTypeLine* lines;
  uint32_t color;
  bool antiAlias;
};

// Layer effects (kept, not drawn). A contour is a 256-entry lookup table, the identity by default.
struct PsdContour {
  uint8_t table[256];
  bool antiAliased;
};
struct PsdShadowEffect {
  bool enabled;
  int32_t blendMode;
  uint32_t color, nativeColor;
  uint8_t opacity;
  int32_t angle;
  bool useGlobalLight;
  int32_t distance, spread, size;  // spread is the choke of an inner shadow
  PsdContour contour;
  int32_t noise;
  bool knocksOut;  // drop shadow only
};
struct PsdGlowEffect {
  bool enabled;
  int32_t blendMode;
  uint8_t opacity;
  int32_t noise;
  int32_t fillType;  // 0 colour, 1 gradient
  uint32_t color, nativeColor;
  int32_t technique;
  int32_t source;  // inner glow: 0 centre, 1 edge
  int32_t spread, size;  // spread is the choke of an inner glow
  PsdContour contour;
  int32_t range, jitter;
};
struct PsdSatinEffect {
  bool enabled;
  int32_t blendMode;
  uint32_t color;
  uint8_t opacity;
  int32_t angle, distance, size;
  PsdContour contour;
  bool invert;
};
struct PsdColorOverlayEffect {
  bool enabled;
  int32_t blendMode;
  uint32_t color;
  uint8_t opacity;
  uint32_t nativeColor;
};
struct PsdBevelEffect {
  bool enabled;
  int32_t style, technique, depth, direction, size, soften, angle;
  bool useGlobalLight;
  int32_t altitude;
  PsdContour glossContour;
  int32_t highlightBlendMode;
  uint32_t highlightColor, nativeHighlightColor;
  uint8_t highlightOpacity;
  int32_t shadowBlendMode;
  uint32_t shadowColor, nativeShadowColor;
  uint8_t shadowOpacity;
  bool useShape;
  PsdContour contour;
  int32_t range;
  bool useTexture;
  PsdPatternReference texturePattern;
  int32_t textureScale, textureDepth;
  bool invertTexture, alignTexture;
  int32_t texturePhaseX, texturePhaseY;
};
struct PsdGradientOverlayEffect {
  bool enabled;
  int32_t blendMode;
  uint8_t opacity;
  PsdGradient gradient;
  bool reverse;
  int32_t gradientType;  // as a gradient fill's
  bool aligned;
  int32_t angle, scale;
  int32_t offsetX, offsetY;
};
struct PsdPatternOverlayEffect {
  bool enabled;
  int32_t blendMode;
  uint8_t opacity;
  int32_t scale;
  bool linked;
  PsdPatternReference pattern;
  int32_t phaseX, phaseY;  // always 0, 0
};
struct PsdStrokeEffect {
  bool enabled;
  int32_t size;
  int32_t position;  // 0 outside, 1 inside, 2 centre
  int32_t blendMode;
  uint8_t opacity;
  int32_t fillType;  // 0 colour, 1 gradient, 2 pattern
  uint32_t color;
  PsdGradient gradient;
  bool reverse;
  int32_t gradientType;
  bool aligned;
  int32_t angle, gradientScale;
  int32_t offsetX, offsetY;
  PsdPatternReference pattern;
  int32_t patternScale;
  bool linked;
  int32_t phaseX, phaseY;  // always 0, 0
};
enum PsdEffectKind : int32_t {
  kPsdEffectDropShadow = 0,
  kPsdEffectInnerShadow,
  kPsdEffectOuterGlow,
  kPsdEffectInnerGlow,
  kPsdEffectSatin,
  kPsdEffectColorOverlay,
  kPsdEffectGradientOverlay,
  kPsdEffectPatternOverlay,
  kPsdEffectStroke,
  kPsdEffectBevel,
  kPsdEffectKinds,
};
struct PsdLayerEffects {
  int16_t count;
  bool visible;
  PsdShadowEffect dropShadow, innerShadow;
  PsdGlowEffect outerGlow, innerGlow;
  PsdBevelEffect bevel;
  PsdSatinEffect satin;
  PsdColorOverlayEffect colorOverlay;
  PsdGradientOverlayEffect gradientOverlay;
  PsdPatternOverlayEffect patternOverlay;
  PsdStrokeEffect stroke;
  bool present[kPsdEffectKinds][2];  // both set when that effect was read
};

struct PsdDocument {
  // Source: a file read through the 4096-byte buffer, or bytes in memory (borrowed for the load).
  const char* path;
  FILE* file;
  uint8_t* readBuffer;
  int32_t bufferHeld;
  int32_t bufferPosition;
  int64_t fileLength;
  int64_t consumed;
  const uint8_t* memory;
  int64_t blockEnd;  // reads stop here while a block's handler runs (else the file length)

  int32_t stage;  // 0 header ... 5 done
  PsdLoadTag tag;

  int32_t width, height;
  uint16_t channelCount;
  uint16_t depth;
  uint32_t colorMode;
  int16_t colorChannelCount;

  int32_t paletteCount;
  uint32_t* palette;

  char caption[256];
  bool hasResolution;
  float horizontalResolution;
  int16_t horizontalUnit, widthUnit;
  float verticalResolution;
  int16_t verticalUnit, heightUnit;
  bool hasDisplayInfo;
  uint32_t displayColor;
  int16_t displayOpacity;
  uint8_t displayKind;
  bool hasAlphaInfo;
  int16_t alphaChannelCount;
  PsdAlphaChannel* alphaChannels;
  int16_t targetLayer;
  bool hasLayerGroups;
  int32_t layerGroupCount;
  int16_t* layerGroups;
  bool hasThumbnail;
  uint32_t thumbnailFormat, thumbnailWidth, thumbnailHeight, thumbnailRowBytes, thumbnailSize,
      thumbnailCompressedSize;
  int16_t thumbnailBits, thumbnailPlanes;
  uint32_t* thumbnailPixels;  // thumbnailWidth x thumbnailHeight ARGB words when decoded
  bool hasVersionInfo;
  uint32_t version;
  bool hasMergedData;
  int32_t writerNameLength;
  uint16_t* writerName;
  int32_t readerNameLength;
  uint16_t* readerName;
  uint32_t fileVersion;
  uint8_t rightsMarked;
  int32_t globalAngle, globalAltitude;
  uint8_t effectsVisible;
  bool hasIndexedColorCount;  // resource 1046 present
  int16_t indexedColorCount;
  bool hasTransparencyIndex;  // resource 1047 present
  int16_t transparencyIndex;

  int16_t layerCount;
  PsdLayer* layers;

  uint32_t maskOverlayColor;
  int16_t maskOpacity;
  uint8_t maskKind;

  int32_t patternCapacity, patternCount;
  PsdPattern* patterns;

  uint32_t* merged;  // width x height ARGB words

  // Channel decoding scratch, shared by all layers.
  uint8_t* planes;
  int64_t planeCapacity;
  uint8_t* compressed;
  int64_t compressedCapacity;
  int64_t planeLength;
  int64_t planeStride;
};

// Loads the whole document (tag All) from the file at path.
int32_t PsdLoad(PsdDocument** out, const char* path);
int32_t PsdLoadTagged(const char* path, PsdDocument** out, PsdLoadTag tag);
// The same from size bytes in memory; the bytes are read during the call only.
int32_t PsdLoadMemory(PsdDocument** out, const void* bytes, int64_t size);
int32_t PsdLoadMemoryTagged(const void* bytes, int64_t size, PsdDocument** out, PsdLoadTag tag);
// The same with a smaller cap on each image buffer than kPsdMaxImageBytes (fuzzing, tests).
int32_t PsdLoadMemoryLimited(const void* bytes, int64_t size, PsdDocument** out, PsdLoadTag tag,
                             int64_t maxImageBytes);
// Releases the document and everything it owns; -1 for null.
int32_t PsdFree(PsdDocument* document);

// Reader operations (used by every stage); 0 or zero results past the end of the source.
int64_t PsdReadBytes(PsdDocument* document, void* destination, int64_t n);
int64_t PsdSkip(PsdDocument* document, int64_t n);
uint8_t PsdReadU8(PsdDocument* document);
uint16_t PsdReadU16(PsdDocument* document);
uint32_t PsdReadU32(PsdDocument* document);
bool PsdReadBool(PsdDocument* document);
double PsdReadDouble(PsdDocument* document);
int32_t PsdReadBlendMode(PsdDocument* document);
uint32_t PsdReadColor(PsdDocument* document);
// Bytes between the read position and the end of the source (or of the block being handled).
int64_t PsdBytesLeft(const PsdDocument* document);

// Releases what one layer owns; harmless twice.
void PsdReleaseLayer(PsdLayer* layer);
void PsdReleaseLayerInfo(PsdLayerInfoKind kind, void* record);

// Channel decoders over bounded buffers. They never read past source + sourceSize nor write past
// destination + destinationSize; what the data does not cover is zero-filled.
// Run-length form: a table of rows u16 byte counts, then the rows.
int32_t PsdUnpackRuns(const uint8_t* source, int64_t sourceSize, int64_t rows, uint8_t* destination,
                      int64_t destinationSize);
int32_t PsdInflate(const uint8_t* source, int64_t sourceSize, uint8_t* destination, int64_t destinationSize);
int32_t PsdInflatePredicted(const uint8_t* source, int64_t sourceSize, uint8_t* destination, int64_t destinationSize,
                            int32_t rowWidth, int32_t depth);

// Colour conversions to ARGB words.
uint32_t PsdCmykToArgb(uint32_t alpha, int32_t c, int32_t m, int32_t y, int32_t k);
uint32_t PsdLabToArgb(uint32_t alpha, double l, double a, double b);
uint32_t PsdHslToArgb(uint32_t alpha, double hue, double saturation, double lightness);
uint32_t PsdCmykRealToArgb(double c, double m, double y, double k);
// 0, or -15 with 0x00FFFFFF for a space without conversion.
int32_t PsdConvertColorRecord(uint32_t* result, int32_t space, int16_t c0, int16_t c1, int16_t c2, int16_t c3);

// Skips one descriptor value of the given type key (depth: the descriptor nesting so far).
void PsdSkipDescriptorValue(PsdDocument* document, uint32_t type, int32_t depth);
// Skips a whole descriptor (class name, class id, items).
void PsdSkipDescriptor(PsdDocument* document, int32_t depth);

// Fills a contour table from n points (x, y in 0-255, corner flags); fewer than one point keeps
// the identity table.
void PsdBuildContourTable(int32_t n, const uint8_t* x, const uint8_t* y, const bool* corner, uint8_t* table);

// A double from the file as an integer: NaN gives 0, values beyond the range its limit.
int32_t PsdDoubleToInt(double value);

// Streaming JPEG decoder (libjpeg with a suspending source and buffered-image mode): bytes arrive
// in pieces of any size; every completed input scan is written into the output buffer as one
// output pass, so a progressive image is refined as it arrives and the last pass holds the image.
struct PsdJpegLibrary;  // the libjpeg objects
struct PsdJpegDecoder {
  PsdJpegLibrary* library;
  uint8_t* output;  // components x width x height bytes, rows from the top; null before the start
  int32_t width, height;
  int32_t components;  // 3 (RGB) or 4 (RGB and 255, from CMYK)
  int32_t rowStride;
  bool headerRequested, headerRead, started, outputPassActive;
};
// Null when memory runs out.
PsdJpegDecoder* PsdJpegDecoderCreate();
// Takes the next count bytes; false once the data cannot be decoded (a fatal libjpeg error, an
// image above the load's image byte limit, more than 100 scans, a marker segment or block of data
// larger than the 32768-byte input buffer). Pieces that leave the image incomplete succeed: more
// data is needed. Bytes after the end of the image are dropped.
bool PsdJpegDecoderFeed(PsdJpegDecoder* decoder, const uint8_t* bytes, int64_t count);
// Releases the decoder and its output; harmless for null.
void PsdJpegDecoderRelease(PsdJpegDecoder* decoder);
