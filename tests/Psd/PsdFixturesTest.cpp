// Documents written by ImageMagick decode to the pixels ImageMagick itself reads from them
// (tests/data/psd, made by tools/psdfixtures/make_psd_fixtures.sh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Psd/Psd.h"

namespace {

const std::string kPsdFixtureFolder = std::string(QM_SOURCE_DIR) + "/tests/data/psd/";

struct PsdFixtureImage {
  std::string file;
  int index, width, height, x, y, tolerance;
};

std::vector<PsdFixtureImage> PsdFixtureManifest() {
  std::vector<PsdFixtureImage> images;
  std::ifstream manifest(kPsdFixtureFolder + "manifest.txt");
  std::string line;
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    PsdFixtureImage image;
    if (fields >> image.file >> image.index >> image.width >> image.height >> image.x >> image.y >> image.tolerance) {
      images.push_back(image);
    }
  }
  return images;
}

void PrintTo(const PsdFixtureImage& image, std::ostream* out) { *out << image.file << "[" << image.index << "]"; }

class PsdFixtureTest : public ::testing::TestWithParam<PsdFixtureImage> {};

TEST_P(PsdFixtureTest, MatchesImageMagick) {
  const PsdFixtureImage& image = GetParam();
  std::ifstream dump(kPsdFixtureFolder + image.file.substr(0, image.file.size() - 4) + "." +
                         std::to_string(image.index) + ".rgba",
                     std::ios::binary);
  const std::vector<unsigned char> rgba((std::istreambuf_iterator<char>(dump)), std::istreambuf_iterator<char>());
  ASSERT_EQ(rgba.size(), size_t(image.width) * image.height * 4);

  PsdDocument* document = nullptr;
  ASSERT_EQ(PsdLoad(&document, (kPsdFixtureFolder + image.file).c_str()), kPsdOk);
  const uint32_t* pixels = document->merged;
  int width = document->width, height = document->height;
  if (image.index > 0) {
    ASSERT_GE(document->layerCount, image.index);
    const PsdLayer& layer = document->layers[image.index - 1];
    EXPECT_EQ(layer.left, image.x);
    EXPECT_EQ(layer.top, image.y);
    pixels = layer.pixels;
    width = layer.width, height = layer.height;
  }
  ASSERT_EQ(width, image.width);
  ASSERT_EQ(height, image.height);
  ASSERT_NE(pixels, nullptr);
  int worst = 0;
  for (size_t p = 0; p < size_t(width) * height; ++p) {
    const uint32_t argb = pixels[p];
    const int ours[4] = {int(argb >> 16 & 0xFF), int(argb >> 8 & 0xFF), int(argb & 0xFF), int(argb >> 24)};
    for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(ours[c] - int(rgba[p * 4 + c])));
  }
  EXPECT_LE(worst, image.tolerance);
  PsdFree(document);
}

INSTANTIATE_TEST_SUITE_P(ImageMagick, PsdFixtureTest, ::testing::ValuesIn(PsdFixtureManifest()),
                         [](const auto& info) {
                           std::string name = info.param.file.substr(0, info.param.file.size() - 4);
                           return name + "_" + std::to_string(info.param.index);
                         });

}  // namespace
