#pragma once
// A temporary data root as the current folder, a recording renderer that loads the game's images,
// layouts written as "layers.xml" with 1x1 PNG layers, and hand-filled art sets.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Core/Render/Vertices.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "tests/Graphics/DrawFrame.h"
#include "tests/Layer/LayerScene.h"

namespace gameart {

struct LayoutLayer {
  std::string name;
  int x, y, width, height;
};

class GameArtTest : public testgraphics::DrawFrameTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes path (relative to the data root), creating its folders.
  static void WriteDataFile(const std::string& path, const std::string& bytes);
  // "layers.xml" in folder listing the layers in this order, each with a 1x1 PNG.
  static void WriteLayout(const std::string& folder, const std::vector<LayoutLayer>& layers);
  static void WritePixelPng(const std::string& path, int width = 1, int height = 1);

  // A cached set keyed path without a layout; its groups are filled by hand.
  RuvArtSet* MakeEmptySet(const std::u16string& path);
  // Appends count frames to the group of set, image = a width x 1 image owned by the set,
  // rect (i * 10, 0, width, 1), names "<group>/<i>".
  void AddFrames(RuvArtSet* set, const std::string& group, int count, int width = 0);

  // Every SVertex2D quad of the played frame, in draw order (no geometry draws in the frame).
  std::vector<render::SVertex2D> FrameImageVertices() const;

  std::filesystem::path mRoot;
  std::filesystem::path mPrevious;
};

// The layer tests' tiny font (every character 10 pixels wide, lines 20 high) that also records each
// drawn text with where its top-left corner and a point 10 pixels to its right land after every
// transform (no half-pixel shift), and the colour it was drawn in.
class ProbeFont : public testlayer::TinyFont {
 public:
  struct Drawn {
    std::u16string text;
    float x, y;  // the text's top-left corner
    float scale;
    uint32_t colour;
  };

  VNResultEnum DrawText(render::Graphics* graphics, render::DrawTextParam* param, const std::u16string& text,
                        const render::TextFormat& format, float* size) override;

  // A handle that never releases the font (the test owns it).
  resource::ResourcePtr<render::Font> Handle() { return resource::ResourcePtr<render::Font>(this, &mCount); }

  std::vector<Drawn> mDrawn;

 private:
  int mCount = 1;
};

// Alpha byte of a 0xAARRGGBB colour, as 0..1.
inline float VertexAlpha(uint32_t colour) { return float(colour >> 24) / 255.0f; }

}  // namespace gameart
