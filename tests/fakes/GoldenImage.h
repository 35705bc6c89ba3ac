// PNG files for image tests, and the comparison of a drawn picture with an expected one.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fakes {

// RGBA pixels, top row first.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

// 0xAARRGGBB pixels (top row first) as an opaque picture: a target's alpha is not part of it.
RgbaImage OpaqueFromArgb(int width, int height, const std::vector<uint32_t>& argb);

// An empty image when the file cannot be read.
RgbaImage ReadPng(const std::string& path);
bool WritePng(const std::string& path, const RgbaImage& image);

// Compares with the PNG at expectedPath (first rewriting it from `actual` when QM_UPDATE_GOLDEN is
// set). Rasterisers may differ by a step of rounding at edges: every channel must be within
// maxChannelDiff, and at most farFraction of the pixels may differ by more than 4.
::testing::AssertionResult MatchesGoldenPng(const RgbaImage& actual, const std::string& expectedPath,
                                            int maxChannelDiff, double farFraction);

}  // namespace fakes
