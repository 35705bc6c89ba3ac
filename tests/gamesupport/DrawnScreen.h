#pragma once
// What a frame drawn on the recording renderer shows: its textured quads with the texture each
// samples, the data pictures among them (matched by their pixels) and the texts of a bitmap font
// (decoded from its glyph quads).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/fakes/RecordingRender.h"

namespace render {
class BMFont;
class Graphics;
}  // namespace render

namespace gametest {

// One SVertex2D quad of a played frame, with the bounds of its corners on the screen and in the
// texture, and its first corner's colour (0xAARRGGBB).
struct DrawnQuad {
  const render::Texture* texture = nullptr;
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  float u0 = 0.0f, v0 = 0.0f, u1 = 0.0f, v1 = 0.0f;
  uint32_t colour = 0;
};

// Begins a frame on render, lets draw use a fresh screen context, ends, presents and plays it;
// the quads of its indexed draws in draw order. Every texture they sample must outlive the reading
// of them: a screen that loads a font for one draw needs the test to hold it, as the game's root
// board holds its fonts.
std::vector<DrawnQuad> DrawFrameQuads(fakes::RecordingRender& render,
                                      const std::function<void(render::Graphics&)>& draw);

// Indices of the quads showing the whole of the sample data's picture "<folder>/<name>.png": their
// texture holds exactly its pixels and they sample all of it.
std::vector<size_t> QuadsOfPicture(const std::vector<DrawnQuad>& quads, const std::string& folder,
                                   const std::string& name);

// A layer's rectangle in a layout of the sample data; ScaledAbout scales it by scale about (cx, cy).
struct LayerBox {
  float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
  LayerBox ScaledAbout(float scale, float cx, float cy) const;
  float CentreX() const { return x + width * 0.5f; }
  float CentreY() const { return y + height * 0.5f; }
};
// The layer of that name in "<folder>/layers.xml" of the sample data; the test fails without it.
LayerBox SampleLayer(const std::string& folder, const std::string& name);

// The quad covers the box, to half a pixel.
::testing::AssertionResult QuadOn(const DrawnQuad& quad, const LayerBox& box);
// Index of the one quad showing the sample data's picture "<folder>/<name>.png" whole; it lies on
// box. quads.size() (and a failure) when it is not drawn, or drawn more than once.
size_t ExpectPictureOn(const std::vector<DrawnQuad>& quads, const std::string& folder, const std::string& name,
                       const LayerBox& box);

// A text of font: consecutive glyph quads of its pages, each beside the last on its line or at the
// start of the next line, as characters (blanks draw no quad), with the bounds of the glyphs on the
// screen and the colour of the first.
struct DrawnText {
  std::u16string text;
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  uint32_t colour = 0;
  size_t firstQuad = 0;
};
std::vector<DrawnText> TextsOfFont(const std::vector<DrawnQuad>& quads, const render::BMFont& font);

// The text without its blanks, as the glyph quads show it.
std::u16string WithoutBlanks(const std::u16string& text);
// The first of texts that shows text (blanks aside); null when none does.
const DrawnText* FindText(const std::vector<DrawnText>& texts, const std::u16string& text);
// The text is centred on the box across (to the few pixels a glyph's bearing moves it) and lies
// on it down.
::testing::AssertionResult CentredOn(const DrawnText& text, const LayerBox& box);

}  // namespace gametest
