// Colour combining of planes into ARGB words and the colour-space conversions.
#include <cmath>
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

uint32_t PsdClampByte(double value) {
  if (!(value > 0.0)) return 0;  // NaN too
  return value >= 255.0 ? 255u : uint32_t(value);
}

uint32_t PsdArgb(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue) {
  return alpha << 24 | (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
}

double PsdLabCurve(double t) {
  const double cube = t * t * t;
  return cube > 0.008856 ? cube : (t - 16.0 / 116.0) / 7.787;
}

double PsdGammaCompress(double value) {
  return value > 0.0031308 ? 1.055 * std::pow(value, 1.0 / 2.4) - 0.055 : 12.92 * value;
}

double PsdHslChannel(double m1, double m2, double hue) {
  hue = std::fmod(hue, 360.0);
  if (hue < 0) hue += 360.0;
  if (hue < 60.0) return m1 + (m2 - m1) * hue / 60.0;
  if (hue < 180.0) return m2;
  if (hue < 240.0) return m1 + (m2 - m1) * (240.0 - hue) / 60.0;
  return m1;
}

// The colour planes and the optional alpha plane of one pixel source.
struct PsdPlaneChoice {
  const uint8_t* colour[4] = {};
  const uint8_t* alpha = nullptr;
};

const uint8_t* PsdPlaneAt(const PsdPlaneSet& set, int32_t index) {
  return index >= 0 ? set.planes + int64_t(index) * set.stride : nullptr;
}

// Planes by channel id for layers; by position for the merged image and patterns, where a plane
// beyond the mode's colour planes is the transparency (real files store it after the colours).
PsdPlaneChoice PsdChoosePlanes(const PsdPlaneSet& set, int32_t colourCount, bool alphaAllowed) {
  PsdPlaneChoice choice;
  if (set.byId) {
    for (int32_t i = 0; i < colourCount && i < 4; ++i) choice.colour[i] = PsdPlaneAt(set, set.idPlane[i + 1]);
    if (alphaAllowed) choice.alpha = PsdPlaneAt(set, set.idPlane[0]);
    return choice;
  }
  for (int32_t i = 0; i < colourCount && i < 4 && i < set.colourPlanes; ++i) choice.colour[i] = PsdPlaneAt(set, i);
  if (alphaAllowed && set.colourPlanes > colourCount) choice.alpha = PsdPlaneAt(set, colourCount);
  return choice;
}

}  // namespace

uint32_t PsdCmykToArgb(uint32_t alpha, int32_t c, int32_t m, int32_t y, int32_t k) {
  const auto channel = [k](int32_t ink) { return uint32_t((65535 - ((255 - k) * ink + 256 * k)) >> 8); };
  return PsdArgb(alpha, channel(c), channel(m), channel(y));
}

uint32_t PsdLabToArgb(uint32_t alpha, double l, double a, double b) {
  const double fy = (l + 16.0) / 116.0;
  const double fx = fy + a / 500.0;
  const double fz = fy - b / 200.0;
  const double x = PsdLabCurve(fx) * 95.047 / 100.0;
  const double y = PsdLabCurve(fy) * 100.0 / 100.0;
  const double z = PsdLabCurve(fz) * 108.883 / 100.0;
  const double red = PsdGammaCompress(3.2406 * x - 1.5372 * y - 0.4986 * z);
  const double green = PsdGammaCompress(-0.9689 * x + 1.8758 * y + 0.0415 * z);
  const double blue = PsdGammaCompress(0.0557 * x - 0.2040 * y + 1.0570 * z);
  return PsdArgb(alpha, PsdClampByte(red * 256.0), PsdClampByte(green * 256.0), PsdClampByte(blue * 256.0));
}

uint32_t PsdHslToArgb(uint32_t alpha, double hue, double saturation, double lightness) {
  if (saturation == 0.0) {
    const uint32_t grey = PsdClampByte(lightness * 255.0);
    return PsdArgb(alpha, grey, grey, grey);
  }
  const double m2 = lightness <= 0.5 ? lightness * (1.0 + saturation) : lightness + saturation - lightness * saturation;
  const double m1 = 2.0 * lightness - m2;
  return PsdArgb(alpha, PsdClampByte(PsdHslChannel(m1, m2, hue + 120.0) * 255.0),
                 PsdClampByte(PsdHslChannel(m1, m2, hue) * 255.0),
                 PsdClampByte(PsdHslChannel(m1, m2, hue - 120.0) * 255.0));
}

uint32_t PsdCmykRealToArgb(double c, double m, double y, double k) {
  const auto channel = [k](double ink) { return PsdClampByte((1.0 - (ink * (1.0 - k) + k)) * 255.0); };
  return PsdArgb(255, channel(c), channel(m), channel(y));
}

int32_t PsdConvertColorRecord(uint32_t* result, int32_t space, int16_t c0, int16_t c1, int16_t c2, int16_t c3) {
  uint32_t color = 0x00FFFFFF;
  int32_t status = kPsdOk;
  switch (space) {
    case 0: color = PsdArgb(255, uint8_t(c0), uint8_t(c1), uint8_t(c2)); break;
    case 1: color = PsdHslToArgb(255, c0, c1 / 100.0, c2 / 100.0); break;
    case 2: color = PsdCmykRealToArgb(c0 / 100.0, c1 / 100.0, c2 / 100.0, c3 / 100.0); break;
    case 7: color = PsdLabToArgb(255, c0, c1, c2); break;
    default: status = -15; break;
  }
  if (result) *result = color;
  return status;
}

PsdPlaneSet PsdMakePlaneSet(uint32_t mode, const uint8_t* planes, int64_t stride, int32_t depth, int32_t width,
                            int32_t height) {
  PsdPlaneSet set{};
  set.mode = mode;
  set.planes = planes;
  set.stride = stride;
  set.depth = depth;
  set.width = width;
  set.height = height;
  for (int32_t& plane : set.idPlane) plane = -1;
  return set;
}

void PsdCombine(const PsdDocument* document, const PsdPlaneSet& set, uint32_t* pixels, const uint32_t* ownPalette) {
  const int64_t count = int64_t(set.width) * set.height;
  const auto unsupported = [pixels, count] { std::memset(pixels, 0, size_t(count) * 4); };
  const int32_t depth = set.depth;
  const int64_t step = depth == 16 ? 2 : 1;
  const auto sample = [step](const uint8_t* plane, int64_t index) -> uint32_t {
    return plane ? plane[index * step] : 0;
  };
  switch (set.mode) {
    case 0: {  // bitmap
      if (depth != 1) return unsupported();
      const PsdPlaneChoice choice = PsdChoosePlanes(set, 1, false);
      const int64_t rowBytes = (int64_t(set.width) + 7) / 8;
      for (int64_t y = 0; y < set.height; ++y) {
        for (int64_t x = 0; x < set.width; ++x) {
          const uint8_t byte = choice.colour[0] ? choice.colour[0][y * rowBytes + x / 8] : 0;
          pixels[y * set.width + x] = byte & (0x80 >> (x % 8)) ? 0xFF000000u : 0xFFFFFFFFu;
        }
      }
      return;
    }
    case 1:
    case 8: {  // grey, duotone
      if (depth != 8 && depth != 16) return unsupported();
      const PsdPlaneChoice choice = PsdChoosePlanes(set, 1, true);
      for (int64_t p = 0; p < count; ++p) {
        const uint32_t alpha = choice.alpha ? sample(choice.alpha, p) : 255;
        pixels[p] = alpha << 24 | sample(choice.colour[0], p) * 0x010101u;
      }
      return;
    }
    case 2: {  // indexed
      if (depth != 8) return unsupported();
      const PsdPlaneChoice choice = PsdChoosePlanes(set, 1, false);
      int64_t entries = 256;
      const uint32_t* palette = ownPalette;
      int64_t transparent = -1;
      if (!palette) {
        palette = document->palette;
        entries = document->paletteCount;
        // Without resource 1046 every palette entry is in use.
        if (document->hasIndexedColorCount && document->indexedColorCount < entries) {
          entries = document->indexedColorCount;
        }
        if (document->hasTransparencyIndex) transparent = document->transparencyIndex;
      }
      for (int64_t p = 0; p < count; ++p) {
        const uint32_t index = sample(choice.colour[0], p);
        pixels[p] = palette && int64_t(index) < entries && int64_t(index) != transparent ? palette[index] : 0x00FFFFFFu;
      }
      return;
    }
    case 3: {  // RGB
      if (depth != 8 && depth != 16) return unsupported();
      const PsdPlaneChoice choice = PsdChoosePlanes(set, 3, true);
      for (int64_t p = 0; p < count; ++p) {
        const uint32_t alpha = choice.alpha ? sample(choice.alpha, p) : 255;
        pixels[p] = PsdArgb(alpha, sample(choice.colour[0], p), sample(choice.colour[1], p), sample(choice.colour[2], p));
      }
      return;
    }
    case 4: {  // CMYK
      if (depth != 8 && depth != 16) return unsupported();
      const PsdPlaneChoice choice = PsdChoosePlanes(set, 4, true);
      for (int64_t p = 0; p < count; ++p) {
        const uint32_t alpha = choice.alpha ? sample(choice.alpha, p) : 255;
        pixels[p] = PsdCmykToArgb(alpha, int32_t(255 - sample(choice.colour[0], p)),
                                  int32_t(255 - sample(choice.colour[1], p)), int32_t(255 - sample(choice.colour[2], p)),
                                  int32_t(255 - sample(choice.colour[3], p)));
      }
      return;
    }
    case 7: {  // multichannel: C, M, Y and an optional K
      if (depth != 8) return unsupported();
      PsdPlaneChoice choice = PsdChoosePlanes(set, 3, false);
      const uint8_t* black = set.byId ? PsdPlaneAt(set, set.idPlane[0]) : (set.colourPlanes >= 4 ? PsdPlaneAt(set, 3) : nullptr);
      for (int64_t p = 0; p < count; ++p) {
        pixels[p] = PsdCmykToArgb(255, int32_t(255 - sample(choice.colour[0], p)),
                                  int32_t(255 - sample(choice.colour[1], p)), int32_t(255 - sample(choice.colour[2], p)),
                                  black ? int32_t(255 - sample(black, p)) : 0);
      }
      return;
    }
    case 9: {  // Lab
      if (depth != 8 && depth != 16) return unsupported();
      const PsdPlaneChoice choice = PsdChoosePlanes(set, 3, true);
      for (int64_t p = 0; p < count; ++p) {
        const uint32_t alpha = choice.alpha ? sample(choice.alpha, p) : 255;
        pixels[p] = PsdLabToArgb(alpha, double(sample(choice.colour[0], p) * 100 >> 8),
                                 double(int32_t(sample(choice.colour[1], p)) - 128),
                                 double(int32_t(sample(choice.colour[2], p)) - 128));
      }
      return;
    }
    default: return unsupported();
  }
}
