// Baked fonts drawn on the OpenGL device (Mesa's software rasteriser) into a render target: single
// glyphs against their page texels, and a paragraph in every alignment against the expected picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Core/Render/BMFont.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Resource/ResourceManager.h"
#include "Platform/D3D9/GlReadback.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"

namespace {

const std::string kGoldenFontDir = std::string(QM_SOURCE_DIR) + "/data/ruv/data/fonts/";

std::u16string GoldenFontWide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class FontGoldenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mRender = mWindow.GetRender();
    ASSERT_NE(mRender, nullptr);
  }

  resource::ResourcePtr<render::BMFont> LoadFont(const char* name) {
    resource::ResourcePtr<render::BMFont> font =
        resource::ResourceManager::Instance()->Get<render::BMFont>(GoldenFontWide(kGoldenFontDir + name));
    if (font) {
      font->SetRender(mRender);
      if (!font->IsLoaded()) {
        EXPECT_EQ(font->Load(), VN_OK) << name;
      }
    }
    return font;
  }

  // Renders draw into a width x height target on black and reads it back as RGB.
  template <class Draw>
  fakes::RgbaImage Render(int width, int height, const Draw& draw) {
    render::RenderTarget* target = nullptr;
    EXPECT_EQ(mRender->CreateRenderTarget(unsigned(width), unsigned(height), &target, true), VN_OK);
    std::unique_ptr<render::RenderTarget> owned(target);
    if (!target) return {};
    {
      render::Graphics g(target);  // outside a frame: rendered when the context goes
      g.Clear(render::Render::kClearTarget, math::Color(0, 0, 0, 1), 1.0f, 0);
      draw(g);
    }
    std::vector<d3d9::DWORD> argb;
    auto* texture = static_cast<render::TextureDX9*>(target->GetTexture());
    EXPECT_EQ(d3d9::ReadSurfacePixels(texture->GetSurface(), argb), d3d9::D3D_OK);
    const fakes::RgbaImage picture = fakes::OpaqueFromArgb(width, height, argb);
    return picture;
  }

  fakes::GlRenderWindow mWindow{640, 384};
  render::RenderDX9* mRender = nullptr;
};

// At whole-pixel pen positions every screen pixel of a glyph samples one texel's centre: white text
// on black shows the page's coverage itself.
TEST_F(FontGoldenTest, AGlyphShowsItsPageTexels) {
  resource::ResourcePtr<render::BMFont> font = LoadFont("main_80");
  ASSERT_TRUE(font && font->IsLoaded());
  const std::u16string characters = u"|AgЖя";
  const float penY = 20.0f;
  auto penX = [](size_t i) { return 10.0f + 120.0f * float(i); };
  std::vector<std::u16string> texts;
  for (char16_t c : characters) texts.push_back(std::u16string(1, c));
  const fakes::RgbaImage picture = Render(640, 128, [&](render::Graphics& g) {
    g.mFont = font.Get();
    for (size_t i = 0; i < texts.size(); ++i) g.DrawText(&texts[i]).Translate({penX(i), penY});
  });
  ASSERT_EQ(picture.width, 640);

  int checked = 0;
  for (size_t i = 0; i < characters.size(); ++i) {
    const render::BMFont::Glyph* glyph = font->FindGlyph(characters[i], nullptr);
    ASSERT_NE(glyph, nullptr);
    // The page as the baker wrote it: coverage in alpha.
    const std::string pageFile = kGoldenFontDir + "main_80_" + std::to_string(glyph->page) + ".png";
    const fakes::RgbaImage page = fakes::ReadPng(pageFile);
    ASSERT_GT(page.width, 0) << pageFile;
    const int left = int(penX(i) + glyph->xoffset);
    const int top = int(penY + glyph->yoffset);
    for (int y = -1; y <= int(glyph->height); ++y) {
      for (int x = -1; x <= int(glyph->width); ++x) {
        const bool inside = x >= 0 && y >= 0 && x < int(glyph->width) && y < int(glyph->height);
        const int expected =
            inside ? page.pixels[(size_t(glyph->y) + y) * page.width * 4 + (size_t(glyph->x) + x) * 4 + 3] : 0;
        const uint8_t* pixel = &picture.pixels[(size_t(top + y) * picture.width + size_t(left + x)) * 4];
        ASSERT_NEAR(int(pixel[0]), expected, 2) << "glyph " << i << " at " << x << "," << y;
        ASSERT_NEAR(int(pixel[2]), expected, 2) << "glyph " << i << " at " << x << "," << y;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 5 * 100);
}

TEST_F(FontGoldenTest, AParagraphInEveryAlignment) {
  resource::ResourcePtr<render::BMFont> body = LoadFont("main_32_1");
  resource::ResourcePtr<render::BMFont> bold = LoadFont("main_32_2");
  ASSERT_TRUE(body && body->IsLoaded() && bold && bold->IsLoaded());
  const std::u16string paragraph = u"The quick brown fox jumps over the lazy dog.";
  const std::u16string cyrillic = u"Профиль игрока: Ваня";
  const fakes::RgbaImage picture = Render(512, 384, [&](render::Graphics& g) {
    g.mFont = body.Get();
    g.SetColorRGBA(1, 1, 1, 1);
    for (unsigned alignment = 0; alignment < 4; ++alignment) {
      const float x = 8.0f + 256.0f * float(alignment % 2);
      const float y = 4.0f + 160.0f * float(alignment / 2);
      auto request = g.DrawTextBox(&paragraph, 240.0f, alignment == 0 ? 16.0f : 0.0f, alignment, true);
      request->mFormat.mFitToText = false;
      request.Translate({x, y});
    }
    g.mFont = bold.Get();
    g.SetColorRGBA(1.0f, 0.8f, 0.2f, 1.0f);
    g.DrawText(&cyrillic).Translate({8, 340});
  });
  EXPECT_TRUE(
      fakes::MatchesGoldenPng(picture, std::string(QM_SOURCE_DIR) + "/tests/data/fonts/golden_text.png", 24, 0.005));
}

}  // namespace
