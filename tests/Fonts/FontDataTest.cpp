// The game's baked fonts in data/: each loads with the engine's reader and has every baked character.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "Core/Resource/ResourceManager.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Image.h"
#include "Core/Render/TextFormat.h"
#include "tests/fakes/RecordingRender.h"

namespace {

const std::string kDataFontDir = std::string(QM_SOURCE_DIR) + "/data/ruv/data/fonts/";

// What the baker is asked for: printable ASCII and the Cyrillic capitals and small letters.
std::u16string BakedCharacterSet() {
  std::u16string characters;
  for (char16_t c = 32; c <= 126; ++c) characters += c;
  for (char16_t c = 0x410; c <= 0x44F; ++c) characters += c;
  return characters;
}

TEST(FontDataTest, TheGameHasItsSixFontsAndNoOthers) {
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(kDataFontDir)) {
    if (entry.path().extension() == ".fnt") found.insert(entry.path().stem().string());
  }
  EXPECT_EQ(found, (std::set<std::string>{"main_32_1", "main_32_2", "main_42_1", "main_42_2", "main_42_3", "main_80"}));
}

class FontDataFileTest : public ::testing::TestWithParam<const char*> {
 protected:
  FontDataFileTest() { mRender.Init(); }
  fakes::RecordingRender mRender;
};

TEST_P(FontDataFileTest, LoadsWithEveryBakedGlyph) {
  const std::string path = kDataFontDir + GetParam();
  resource::ResourcePtr<render::BMFont> font =
      resource::ResourceManager::Instance()->Get<render::BMFont>(std::u16string(path.begin(), path.end()));
  ASSERT_TRUE(font);
  font->SetRender(&mRender);
  ASSERT_EQ(font->Load(), VN_OK);
  for (char16_t c : BakedCharacterSet()) EXPECT_TRUE(font->HasGlyph(c)) << "U+" << std::hex << int(c);
  EXPECT_GE(font->GetPageCount(), 1u);
  EXPECT_GT(font->GetBase(), 0.0f);
  EXPECT_LT(font->GetBase(), font->GetLineHeight() * 1.2f);

  // Every glyph lies inside its page, and letters have pixels.
  for (char16_t c : BakedCharacterSet()) {
    const render::BMFont::Glyph* glyph = font->FindGlyph(c, nullptr);
    ASSERT_NE(glyph, nullptr);
    const render::Image* page = font->GetPage(glyph->page);
    ASSERT_NE(page, nullptr);
    EXPECT_LE(glyph->x + glyph->width, float(page->GetWidth()));
    EXPECT_LE(glyph->y + glyph->height, float(page->GetHeight()));
    EXPECT_GT(glyph->xadvance, 0.0f);
    if (c != u' ') {
      EXPECT_GT(glyph->width * glyph->height, 0.0f) << "U+" << std::hex << int(c);
    }
  }
  // DejaVu's kerning came along: "A" before "V" narrows the pair.
  float pair[2] = {0.0f, 0.0f};
  float a[2] = {0.0f, 0.0f};
  float v[2] = {0.0f, 0.0f};
  ASSERT_EQ(font->DrawText(nullptr, nullptr, u"AV", render::TextFormat(), pair), VN_OK);
  font->DrawText(nullptr, nullptr, u"A", render::TextFormat(), a);
  font->DrawText(nullptr, nullptr, u"V", render::TextFormat(), v);
  EXPECT_LT(pair[0], a[0] + v[0]);
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontDataFileTest,
                         ::testing::Values("main_32_1", "main_32_2", "main_42_1", "main_42_2", "main_42_3", "main_80"));

}  // namespace
