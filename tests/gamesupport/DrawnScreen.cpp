#include "gamesupport/DrawnScreen.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Vertices.h"
#include "fakes/GoldenImage.h"
#include "tinyxml2.h"

namespace gametest {

std::vector<DrawnQuad> DrawFrameQuads(fakes::RecordingRender& render,
                                      const std::function<void(render::Graphics&)>& draw) {
  render.mCalls.clear();
  EXPECT_EQ(render.BeginFrame(), VN_OK);
  {
    render::Graphics graphics(&render);
    draw(graphics);
    EXPECT_EQ(graphics.mTransform, nullptr);
  }
  EXPECT_EQ(render.EndFrame(), VN_OK);
  EXPECT_EQ(render.Present(), VN_OK);
  EXPECT_EQ(render.PlayCommands(), VN_OK);
  std::vector<DrawnQuad> quads;
  const int format = render::SVertex2D::GetFormat().GetId();
  for (const fakes::RecordingRender::IndexedDraw& draw : render.mIndexedDraws) {
    if (draw.vertexFormat != format || draw.stride != sizeof(render::SVertex2D)) continue;
    const size_t count = draw.vertices.size() / sizeof(render::SVertex2D);
    for (size_t first = 0; first + 4 <= count; first += 4) {
      render::SVertex2D corners[4];
      std::memcpy(corners, draw.vertices.data() + first * sizeof(render::SVertex2D), sizeof corners);
      DrawnQuad quad;
      quad.texture = draw.texture;
      quad.left = quad.right = corners[0].x;
      quad.top = quad.bottom = corners[0].y;
      quad.u0 = quad.u1 = corners[0].u;
      quad.v0 = quad.v1 = corners[0].v;
      for (const render::SVertex2D& corner : corners) {
        quad.left = std::min(quad.left, corner.x);
        quad.right = std::max(quad.right, corner.x);
        quad.top = std::min(quad.top, corner.y);
        quad.bottom = std::max(quad.bottom, corner.y);
        quad.u0 = std::min(quad.u0, corner.u);
        quad.u1 = std::max(quad.u1, corner.u);
        quad.v0 = std::min(quad.v0, corner.v);
        quad.v1 = std::max(quad.v1, corner.v);
      }
      quad.colour = corners[0].diffuse;
      quads.push_back(quad);
    }
  }
  return quads;
}

namespace {

// The texture's level 0 equals the RGBA picture (ARGB words against RGBA bytes).
bool TextureShowsPicture(const render::Texture* texture, const fakes::RgbaImage& picture) {
  const auto* fake = dynamic_cast<const fakes::FakeTexture*>(texture);
  if (!fake || fake->GetWidth() != picture.width || fake->GetHeight() != picture.height) return false;
  const std::vector<unsigned char>& words = fake->ImagePixels();
  if (words.size() != picture.pixels.size()) return false;
  for (size_t i = 0; i + 4 <= words.size(); i += 4) {
    uint32_t word = 0;
    std::memcpy(&word, &words[i], 4);
    const uint8_t* rgba = &picture.pixels[i];
    if ((word >> 16 & 0xFF) != rgba[0] || (word >> 8 & 0xFF) != rgba[1] || (word & 0xFF) != rgba[2] ||
        (word >> 24) != rgba[3]) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<size_t> QuadsOfPicture(const std::vector<DrawnQuad>& quads, const std::string& folder,
                                   const std::string& name) {
  const std::string pngPath = std::string(QM_SOURCE_DIR) + "/data/" + folder + "/" + name + ".png";
  const fakes::RgbaImage picture = fakes::ReadPng(pngPath);
  EXPECT_GT(picture.width, 0) << pngPath;
  std::vector<size_t> found;
  std::map<const render::Texture*, bool> shows;
  for (size_t i = 0; i < quads.size(); ++i) {
    const DrawnQuad& quad = quads[i];
    const auto known = shows.find(quad.texture);
    const bool same = known != shows.end() ? known->second
                                           : (shows[quad.texture] = TextureShowsPicture(quad.texture, picture));
    const bool whole = std::fabs(quad.u0) < 1e-4f && std::fabs(quad.v0) < 1e-4f && std::fabs(quad.u1 - 1.0f) < 1e-4f &&
                       std::fabs(quad.v1 - 1.0f) < 1e-4f;
    if (same && whole) found.push_back(i);
  }
  return found;
}

LayerBox LayerBox::ScaledAbout(float scale, float cx, float cy) const {
  return LayerBox{cx + (x - cx) * scale, cy + (y - cy) * scale, width * scale, height * scale};
}

LayerBox SampleLayer(const std::string& folder, const std::string& name) {
  tinyxml2::XMLDocument layers;
  const std::string path = std::string(QM_SOURCE_DIR) + "/data/" + folder + "/layers.xml";
  EXPECT_EQ(tinyxml2::XML_SUCCESS, layers.LoadFile(path.c_str())) << path;
  const tinyxml2::XMLElement* root = layers.RootElement();
  for (const tinyxml2::XMLElement* layer = root ? root->FirstChildElement("Layer") : nullptr; layer;
       layer = layer->NextSiblingElement("Layer")) {
    if (name != layer->Attribute("name")) continue;
    return LayerBox{layer->FloatAttribute("x"), layer->FloatAttribute("y"), layer->FloatAttribute("width"),
                    layer->FloatAttribute("height")};
  }
  ADD_FAILURE() << "no layer " << name << " in " << path;
  return LayerBox{};
}

::testing::AssertionResult QuadOn(const DrawnQuad& quad, const LayerBox& box) {
  constexpr float kHalfPixel = 0.51f;
  if (std::fabs(quad.left - box.x) <= kHalfPixel && std::fabs(quad.top - box.y) <= kHalfPixel &&
      std::fabs(quad.right - (box.x + box.width)) <= kHalfPixel &&
      std::fabs(quad.bottom - (box.y + box.height)) <= kHalfPixel) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "quad (" << quad.left << ", " << quad.top << ") - (" << quad.right << ", "
                                       << quad.bottom << "), expected (" << box.x << ", " << box.y << ") - ("
                                       << box.x + box.width << ", " << box.y + box.height << ")";
}

size_t ExpectPictureOn(const std::vector<DrawnQuad>& quads, const std::string& folder, const std::string& name,
                       const LayerBox& box) {
  const std::vector<size_t> found = QuadsOfPicture(quads, folder, name);
  if (found.size() != 1) {
    ADD_FAILURE() << folder << "/" << name << " drawn " << found.size() << " times";
    return quads.size();
  }
  EXPECT_TRUE(QuadOn(quads[found[0]], box)) << folder << "/" << name;
  return found[0];
}

std::vector<DrawnText> TextsOfFont(const std::vector<DrawnQuad>& quads, const render::BMFont& font) {
  // Every glyph by its page texture and its top-left texel.
  std::map<std::pair<const render::Texture*, std::pair<long, long>>, char16_t> glyphs;
  for (uint32_t c = 1; c < 0x10000; ++c) {
    const render::BMFont::Glyph* glyph = font.FindGlyph(char16_t(c), nullptr);
    const render::Image* page = glyph ? font.GetPage(glyph->page) : nullptr;
    if (!page || glyph->width <= 0.0f) continue;
    glyphs[{page->GetTexture(), {std::lround(glyph->x), std::lround(glyph->y)}}] = char16_t(c);
  }
  std::vector<DrawnText> texts;
  bool inText = false;
  float lineSize = 0.0f;  // the tallest glyph of the text so far
  float lineTop = 0.0f, lineBottom = 0.0f;  // the glyphs of its last line
  for (size_t i = 0; i < quads.size(); ++i) {
    const DrawnQuad& quad = quads[i];
    const render::Texture* texture = quad.texture;
    const float width = texture ? float(texture->GetWidth()) : 0.0f;
    const float height = texture ? float(texture->GetHeight()) : 0.0f;
    const auto glyph = glyphs.find({texture, {std::lround(quad.u0 * width), std::lround(quad.v0 * height)}});
    if (glyph == glyphs.end()) {
      inText = false;
      continue;
    }
    if (inText) {
      // A glyph goes on with the text beside the last one on its line or at the start of the next
      // line; anywhere else it starts another text.
      const DrawnQuad& previous = quads[i - 1];
      const float size = std::max(lineSize, quad.bottom - quad.top);
      const bool sameLine = quad.top < lineBottom && quad.bottom > lineTop && quad.left >= previous.left &&
                            quad.left - previous.right < size * 1.5f;
      const bool nextLine = !sameLine && quad.top > (lineTop + lineBottom) * 0.5f && quad.top < lineBottom + size;
      if (nextLine) lineTop = lineBottom = quad.top;
      inText = sameLine || nextLine;
    }
    if (!inText) {
      texts.push_back(DrawnText{u"", quad.left, quad.top, quad.right, quad.bottom, quad.colour, i});
      inText = true;
      lineSize = 0.0f;
      lineTop = quad.top;
      lineBottom = quad.bottom;
    }
    lineSize = std::max(lineSize, quad.bottom - quad.top);
    lineTop = std::min(lineTop, quad.top);
    lineBottom = std::max(lineBottom, quad.bottom);
    DrawnText& text = texts.back();
    text.text += glyph->second;
    text.left = std::min(text.left, quad.left);
    text.top = std::min(text.top, quad.top);
    text.right = std::max(text.right, quad.right);
    text.bottom = std::max(text.bottom, quad.bottom);
  }
  return texts;
}

std::u16string WithoutBlanks(const std::u16string& text) {
  std::u16string kept;
  for (char16_t c : text) {
    if (c != u' ' && c != u'\n' && c != u'\t') kept += c;
  }
  return kept;
}

const DrawnText* FindText(const std::vector<DrawnText>& texts, const std::u16string& text) {
  const std::u16string shown = WithoutBlanks(text);
  for (const DrawnText& drawn : texts) {
    if (drawn.text == shown) return &drawn;
  }
  return nullptr;
}

::testing::AssertionResult CentredOn(const DrawnText& text, const LayerBox& box) {
  constexpr float kBearing = 4.0f;
  const float centreX = (text.left + text.right) * 0.5f;
  const float centreY = (text.top + text.bottom) * 0.5f;
  if (std::fabs(centreX - box.CentreX()) <= kBearing && centreY >= box.y && centreY <= box.y + box.height) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "text centre (" << centreX << ", " << centreY << "), box (" << box.x << ", "
                                       << box.y << ") - (" << box.x + box.width << ", " << box.y + box.height << ")";
}

}  // namespace gametest
