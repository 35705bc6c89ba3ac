#pragma once
// The sample data's screen layouts opened in place from data/ through the engine's layout loader,
// with the renderer that loads the game's images. Nothing is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Core/File/ImageContainer.h"
#include "tests/Graphics/DrawFrame.h"

namespace layouts {

// A layer's rectangle as the layout stores it.
struct LayerRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(const LayerRect& other) const {
    return x <= other.x && y <= other.y && other.x + other.width <= x + width &&
           other.y + other.height <= y + height;
  }
  bool Overlaps(const LayerRect& other) const {
    return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
           other.y < y + height;
  }
};

class LayoutDataTest : public testgraphics::DrawFrameTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The layout at path (relative to data/); fails the test and answers null when it does not open.
  std::unique_ptr<file::ImageContainer> Open(const std::u16string& path);
  // The layer's image loads as the screens load it.
  static bool HasImage(file::ImageContainer* layout, const std::u16string& name);
  // The layer's rectangle; fails the test when the layer is missing.
  static LayerRect Rect(file::ImageContainer* layout, const std::u16string& name);
  // The layer image's pixels 0xAARRGGBB row by row, decoded by the engine's image loader; empty
  // when it cannot be read.
  static std::vector<uint32_t> Pixels(file::ImageContainer* layout, const std::u16string& name, int* width);
  // The colour of the layer image's centre pixel; 0 when it cannot be read.
  static uint32_t CentrePixel(file::ImageContainer* layout, const std::u16string& name);
  // The folder's own layer names (full names), in layout order.
  static std::vector<std::u16string> Layers(file::ImageContainer* layout, const std::u16string& folder);
  static std::vector<std::u16string> Folders(file::ImageContainer* layout, const std::u16string& folder);

  // A data file read whole; empty when it is missing.
  static std::string ReadDataFile(const std::string& path);

  std::filesystem::path mPrevious;
};

std::string Narrow(const std::u16string& text);
std::u16string Wide(const std::string& text);

}  // namespace layouts
