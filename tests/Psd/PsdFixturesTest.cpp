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

namespace {

// Documents written by ag-psd (tools/psdfixtures/agpsd): layers, looked up by name, decode to the
// pixels ag-psd reads back; groups, masks, effects and fill and adjustment layers are read.
struct PsdAgFixtureLayer {
  std::string file, dump, name;
  int width, height, left, top;
};

std::vector<PsdAgFixtureLayer> PsdAgFixtureManifest() {
  std::vector<PsdAgFixtureLayer> layers;
  std::ifstream manifest(kPsdFixtureFolder + "manifest_agpsd.txt");
  std::string line;
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    PsdAgFixtureLayer layer;
    if (fields >> layer.file >> layer.dump >> layer.width >> layer.height >> layer.left >> layer.top) {
      std::getline(fields >> std::ws, layer.name);
      layers.push_back(layer);
    }
  }
  return layers;
}

const PsdLayer* PsdAgFixtureFind(const PsdDocument* document, const std::string& name) {
  for (int i = 0; i < document->layerCount; ++i) {
    if (name == document->layers[i].name) return &document->layers[i];
  }
  return nullptr;
}

TEST(PsdAgFixtureTest, LayersMatchAgPsd) {
  const std::vector<PsdAgFixtureLayer> layers = PsdAgFixtureManifest();
  ASSERT_FALSE(layers.empty());
  for (const PsdAgFixtureLayer& expected : layers) {
    PsdDocument* document = nullptr;
    ASSERT_EQ(PsdLoad(&document, (kPsdFixtureFolder + expected.file).c_str()), kPsdOk) << expected.file;
    const PsdLayer* layer = PsdAgFixtureFind(document, expected.name);
    ASSERT_NE(layer, nullptr) << expected.name;
    EXPECT_EQ(layer->width, expected.width) << expected.name;
    EXPECT_EQ(layer->height, expected.height) << expected.name;
    EXPECT_EQ(layer->left, expected.left) << expected.name;
    EXPECT_EQ(layer->top, expected.top) << expected.name;
    std::ifstream dump(kPsdFixtureFolder + expected.dump, std::ios::binary);
    const std::vector<unsigned char> rgba((std::istreambuf_iterator<char>(dump)), std::istreambuf_iterator<char>());
    ASSERT_EQ(rgba.size(), size_t(expected.width) * expected.height * 4) << expected.name;
    ASSERT_NE(layer->pixels, nullptr) << expected.name;
    for (size_t p = 0; p < rgba.size() / 4; ++p) {
      const uint32_t want = uint32_t(rgba[p * 4 + 3]) << 24 | uint32_t(rgba[p * 4]) << 16 |
                            uint32_t(rgba[p * 4 + 1]) << 8 | rgba[p * 4 + 2];
      ASSERT_EQ(layer->pixels[p], want) << expected.name << " pixel " << p;
    }
    PsdFree(document);
  }
}

TEST(PsdAgFixtureTest, GroupsMasksEffectsAndFills) {
  PsdDocument* document = nullptr;
  ASSERT_EQ(PsdLoad(&document, (kPsdFixtureFolder + "agpsd_layout.psd").c_str()), kPsdOk);
  const PsdLayer* button = PsdAgFixtureFind(document, "b_01_in");
  ASSERT_NE(button, nullptr);
  ASSERT_NE(button->folder, nullptr);
  EXPECT_STREQ(button->folder->name, "menu");
  EXPECT_EQ(button->mask.width, 8);
  EXPECT_EQ(button->mask.height, 6);
  ASSERT_NE(button->mask.pixels, nullptr);
  EXPECT_EQ(button->mask.pixels[1], 29);
  const PsdLayerEffects* effects = nullptr;
  for (int i = 0; i < button->infoCount; ++i) {
    if (button->infoKinds[i] == kPsdInfoObjectEffects) effects = static_cast<const PsdLayerEffects*>(button->infos[i]);
  }
  ASSERT_NE(effects, nullptr);
  EXPECT_TRUE(effects->dropShadow.enabled);
  EXPECT_EQ(effects->dropShadow.color, 0xFF0A141Eu);
  EXPECT_EQ(effects->dropShadow.opacity, 127);  // trunc(50 x 2.55 + 0.5) in doubles
  EXPECT_EQ(effects->dropShadow.angle, 90);
  EXPECT_EQ(effects->dropShadow.distance, 3);
  EXPECT_EQ(effects->dropShadow.size, 4);
  EXPECT_TRUE(effects->outerGlow.enabled);
  EXPECT_EQ(effects->outerGlow.color, 0xFFFFFF00u);
  EXPECT_EQ(effects->outerGlow.size, 6);
  EXPECT_EQ(effects->colorOverlay.color, 0xFF0000FFu);
  EXPECT_EQ(effects->colorOverlay.opacity, 64);

  const PsdLayer* title = PsdAgFixtureFind(document, "title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->opacity, 191);
  EXPECT_STREQ(title->folder->name, "ui");
  const PsdLayer* solid = PsdAgFixtureFind(document, "solid fill");
  ASSERT_NE(solid, nullptr);
  EXPECT_EQ(solid->type, kPsdLayerSolidColor);
  EXPECT_EQ(static_cast<const PsdSolidColor*>(solid->infos[0])->color, 0xFFFF0000u);
  const PsdLayer* gradient = PsdAgFixtureFind(document, "gradient fill");
  ASSERT_NE(gradient, nullptr);
  EXPECT_EQ(gradient->type, kPsdLayerGradientFill);
  const auto* fill = static_cast<const PsdGradientFill*>(gradient->infos[0]);
  EXPECT_DOUBLE_EQ(fill->angle, 45.0);
  EXPECT_EQ(fill->scale, 50);
  // The gradient as written: "g", black at 0 and white at the far end (4096), opaque.
  ASSERT_EQ(fill->gradient.nameLength, 2);  // the writer stores texts with a terminating zero unit
  EXPECT_EQ(fill->gradient.name[0], 'g' << 8);
  EXPECT_EQ(fill->gradient.name[1], 0);
  ASSERT_EQ(fill->gradient.colorStopCount, 2);
  EXPECT_EQ(fill->gradient.colorStops[0].color, 0xFF000000u);
  EXPECT_EQ(fill->gradient.colorStops[0].location, 0u);
  EXPECT_EQ(fill->gradient.colorStops[1].color, 0xFFFFFFFFu);
  EXPECT_EQ(fill->gradient.colorStops[1].location, 4096u);
  EXPECT_EQ(fill->gradient.colorStops[1].type, 2);
  ASSERT_EQ(fill->gradient.transparencyStopCount, 2);
  EXPECT_EQ(fill->gradient.transparencyStops[1].opacity, 100);
  EXPECT_EQ(fill->gradient.transparencyStops[1].location, 4096u);
  EXPECT_EQ(PsdAgFixtureFind(document, "curves")->type, kPsdLayerCurves);
  const PsdLayer* hue = PsdAgFixtureFind(document, "hue");
  ASSERT_NE(hue, nullptr);
  EXPECT_EQ(static_cast<const PsdHueSaturation*>(hue->infos[0])->master[0], 10);
  PsdFree(document);
}

}  // namespace
