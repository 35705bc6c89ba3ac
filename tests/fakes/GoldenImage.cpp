#include "tests/fakes/GoldenImage.h"

#include <IL/il.h>

#include <algorithm>
#include <cstdlib>

namespace fakes {

RgbaImage OpaqueFromArgb(int width, int height, const std::vector<uint32_t>& argb) {
  RgbaImage image{width, height, std::vector<uint8_t>(argb.size() * 4)};
  for (size_t i = 0; i < argb.size(); ++i) {
    image.pixels[i * 4 + 0] = uint8_t(argb[i] >> 16);
    image.pixels[i * 4 + 1] = uint8_t(argb[i] >> 8);
    image.pixels[i * 4 + 2] = uint8_t(argb[i]);
    image.pixels[i * 4 + 3] = 255;
  }
  return image;
}

RgbaImage ReadPng(const std::string& path) {
  RgbaImage image;
  ilInit();
  ilEnable(IL_ORIGIN_SET);
  ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
  ILuint name = 0;
  ilGenImages(1, &name);
  ilBindImage(name);
  if (ilLoad(IL_PNG, path.c_str()) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
    image.width = ilGetInteger(IL_IMAGE_WIDTH);
    image.height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    image.pixels.assign(data, data + size_t(image.width) * image.height * 4);
  }
  ilDeleteImages(1, &name);
  ilShutDown();
  return image;
}

bool WritePng(const std::string& path, const RgbaImage& image) {
  const size_t rowBytes = size_t(image.width) * 4;
  std::vector<uint8_t> bottomUp;  // DevIL takes the rows of a new image from the bottom
  for (int row = image.height - 1; row >= 0; --row) {
    auto first = image.pixels.begin() + row * rowBytes;
    bottomUp.insert(bottomUp.end(), first, first + rowBytes);
  }
  ilInit();
  ilEnable(IL_FILE_OVERWRITE);
  ILuint name = 0;
  ilGenImages(1, &name);
  ilBindImage(name);
  ilTexImage(ILuint(image.width), ILuint(image.height), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, bottomUp.data());
  const bool saved = ilSave(IL_PNG, path.c_str());
  ilDeleteImages(1, &name);
  ilShutDown();
  return saved;
}

::testing::AssertionResult MatchesGoldenPng(const RgbaImage& actual, const std::string& expectedPath,
                                            int maxChannelDiff, double farFraction) {
  if (std::getenv("QM_UPDATE_GOLDEN") && !WritePng(expectedPath, actual)) {
    return ::testing::AssertionFailure() << "cannot write " << expectedPath;
  }
  const RgbaImage expected = ReadPng(expectedPath);
  if (expected.width != actual.width || expected.height != actual.height) {
    return ::testing::AssertionFailure() << expectedPath << " is " << expected.width << "x" << expected.height
                                         << ", the picture " << actual.width << "x" << actual.height;
  }
  size_t far = 0;
  for (size_t i = 0; i < actual.pixels.size(); i += 4) {
    int worst = 0;
    for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(int(actual.pixels[i + c]) - int(expected.pixels[i + c])));
    if (worst > maxChannelDiff) {
      const size_t pixel = i / 4;
      return ::testing::AssertionFailure() << "pixel " << pixel % actual.width << ", " << pixel / actual.width
                                           << " differs by " << worst;
    }
    if (worst > 4) ++far;
  }
  const size_t allowed = size_t(farFraction * actual.width * actual.height);
  if (far > allowed) return ::testing::AssertionFailure() << far << " pixels differ by more than 4";
  return ::testing::AssertionSuccess();
}

}  // namespace fakes
