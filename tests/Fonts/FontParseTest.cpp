// Reading bitmap-font XML: what is accepted, what every failure refuses, loading through the file
// manager and the resource manager.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Core/Base/MemoryStream.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "tests/Fonts/SyntheticFont.h"
#include "tests/fakes/RecordingRender.h"

namespace {

const std::string kParseFontDir = std::string(QM_SOURCE_DIR) + "/tests/data/fonts/";

std::u16string ParseTestWide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string ReadParseTestFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class FontParseTest : public ::testing::Test {
 protected:
  FontParseTest() { mRender.Init(); }

  // Parses text as the font "tests/data/fonts/tiny" (its page file lies beside it).
  VNResultEnum ParseText(testfonts::SyntheticFont& font, const std::string& text) {
    font.SetRender(&mRender);
    base::MemoryStream stream(text.data(), unsigned(text.size()));
    return font.Parse(&stream);
  }

  fakes::RecordingRender mRender;
  const std::string mBase = ReadParseTestFile(kParseFontDir + "tiny.fnt");
  const std::u16string mName = ParseTestWide(kParseFontDir + "tiny");
};

TEST_F(FontParseTest, ReadsMetricsGlyphsKerningAndPages) {
  testfonts::SyntheticFont font(mName);
  ASSERT_EQ(ParseText(font, mBase), VN_OK);
  EXPECT_EQ(font.GetFace(), "Tiny");
  EXPECT_TRUE(font.IsBold());
  EXPECT_FLOAT_EQ(font.GetLineHeight(), 10.0f);
  EXPECT_FLOAT_EQ(font.GetBase(), 8.0f);
  EXPECT_FLOAT_EQ(font.GetDescent(), 2.0f);
  EXPECT_FLOAT_EQ(font.GetLineAdvance(), 10.0f);
  EXPECT_FLOAT_EQ(font.GetLineGap(), 0.0f);
  EXPECT_FLOAT_EQ(font.GetStoredLineHeight(), 12.0f);
  EXPECT_FLOAT_EQ(font.GetStoredScaleW(), 32.0f);
  EXPECT_EQ(font.GetPadding()[0], 1);
  EXPECT_EQ(font.GetPadding()[3], 4);
  EXPECT_FLOAT_EQ(font.GetSpacing()[0], 1.5f);
  EXPECT_FLOAT_EQ(font.GetSpacing()[1], 2.0f);
  ASSERT_EQ(font.GetPageCount(), 1u);
  ASSERT_NE(font.GetPage(0), nullptr);
  EXPECT_EQ(font.GetPage(0)->GetWidth(), 32);
  EXPECT_EQ(font.GetPage(0)->GetHeight(), 16);

  const auto* v = font.GetGlyph(u'V');
  ASSERT_NE(v, nullptr);
  EXPECT_FLOAT_EQ(v->x, 8.0f);
  EXPECT_FLOAT_EQ(v->height, 10.0f);
  EXPECT_FLOAT_EQ(v->xadvance, 9.0f);
  EXPECT_EQ(v->chnl, 15u);
  ASSERT_EQ(v->kerning.size(), 1u);  // a pair is kept on its second character
  EXPECT_FLOAT_EQ(v->kerning.at(u'A'), -2.0f);
  EXPECT_TRUE(font.GetGlyph(u'A')->kerning.empty());
  EXPECT_TRUE(font.HasGlyph(u' '));
  EXPECT_FALSE(font.HasGlyph(u'B'));
}

TEST_F(FontParseTest, CharacterIdsAreCutTo16Bits) {
  std::string text = mBase;
  text.replace(text.find("id=\"65\""), 7, "id=\"65601\"");  // 0x10041
  testfonts::SyntheticFont font(mName);
  ASSERT_EQ(ParseText(font, text), VN_OK);
  EXPECT_TRUE(font.HasGlyph(u'A'));
}

struct FontParseCase {
  const char* name;
  const char* find;
  const char* replace;
  const char* find2;  // a second edit, or null
  const char* replace2;
  VNResultEnum expected;
};

void PrintTo(const FontParseCase& c, std::ostream* os) { *os << c.name; }

class FontParseCaseTest : public FontParseTest, public ::testing::WithParamInterface<FontParseCase> {};

TEST_P(FontParseCaseTest, AcceptsOrRefuses) {
  const FontParseCase& c = GetParam();
  std::string text = mBase;
  const size_t at = text.find(c.find);
  ASSERT_NE(at, std::string::npos) << c.find;
  text.replace(at, std::string(c.find).size(), c.replace);
  if (c.find2) {
    const size_t at2 = text.find(c.find2);
    ASSERT_NE(at2, std::string::npos) << c.find2;
    text.replace(at2, std::string(c.find2).size(), c.replace2);
  }
  testfonts::SyntheticFont font(mName);
  EXPECT_EQ(ParseText(font, text), c.expected);
}

const FontParseCase kFontParseCases[] = {
    {"ChasrsetSpellingAccepted", "charset=\"\"", "chasrset=\"ANSI\"", nullptr, nullptr, VN_OK},
    {"NoCharsetAttribute", " charset=\"\"", "", nullptr, nullptr, VN_FAIL},
    {"UnicodeFalse", "unicode=\"1\"", "unicode=\"false\"", nullptr, nullptr, VN_FAIL},
    {"UnicodeTrueWord", "unicode=\"1\"", "unicode=\"true\"", nullptr, nullptr, VN_OK},
    {"Packed", "packed=\"0\"", "packed=\"1\"", nullptr, nullptr, VN_FAIL},
    {"AlphaChannelNotZero", "alphaChnl=\"0\"", "alphaChnl=\"1\"", nullptr, nullptr, VN_FAIL},
    {"RedChannelNotFour", "redChnl=\"4\"", "redChnl=\"0\"", nullptr, nullptr, VN_FAIL},
    {"BlueChannelNotFour", "blueChnl=\"4\"", "blueChnl=\"3\"", nullptr, nullptr, VN_FAIL},
    {"KerningWithUnknownSecond", "second=\"86\"", "second=\"66\"", nullptr, nullptr, VN_FAIL},
    {"KerningWithUnknownFirstAccepted", "first=\"65\"", "first=\"66\"", nullptr, nullptr, VN_OK},
    {"PageIdEqualToCount", "page id=\"0\"", "page id=\"1\"", nullptr, nullptr, VN_FAIL},
    {"GlyphPageOutOfRange", "xadvance=\"4\" page=\"0\"", "xadvance=\"4\" page=\"1\"", nullptr, nullptr, VN_FAIL},
    {"GlyphPageWithoutImage", "pages=\"1\"", "pages=\"2\"", "xadvance=\"4\" page=\"0\"", "xadvance=\"4\" page=\"1\"",
     VN_FAIL},
    {"UnusedPageWithoutImageAccepted", "pages=\"1\"", "pages=\"2\"", nullptr, nullptr, VN_OK},
    {"MoreThan256Pages", "pages=\"1\"", "pages=\"257\"", nullptr, nullptr, VN_FAIL},
    {"Exactly256PagesAccepted", "pages=\"1\"", "pages=\"256\"", nullptr, nullptr, VN_OK},
    {"MissingGlyphAttribute", " xoffset=\"1\"", "", nullptr, nullptr, VN_FAIL},
    {"UnparsableSize", "size=\"10\"", "size=\"ten\"", nullptr, nullptr, VN_FAIL},
    {"NoCharsElement", "<chars ", "<glyphs ", "</chars>", "</glyphs>", VN_FAIL},
    {"NoPagesElement", "<pages>", "<folios>", "</pages>", "</folios>", VN_FAIL},
    {"NoKerningsAccepted", "<kernings ", "<pairs ", "</kernings>", "</pairs>", VN_OK},
    {"PageFileMissing", "tiny_0.png", "absent.png", nullptr, nullptr, VN_FAIL},
    {"BrokenXml", "</font>", "", nullptr, nullptr, VN_FAIL},
    {"NoFontElement", "<font>", "<fount>", "</font>", "</fount>", VN_FAIL},
};

INSTANTIATE_TEST_SUITE_P(Cases, FontParseCaseTest, ::testing::ValuesIn(kFontParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A stream whose size is whatever it claims, with fewer bytes behind it.
class FontParseClaimingStream : public base::Stream {
 public:
  explicit FontParseClaimingStream(unsigned size) : mSize(size) {}
  unsigned GetSize() override { return mSize; }
  unsigned Read(void*, unsigned) override { return 0; }
  unsigned Write(const void*, unsigned) override { return 0; }
  unsigned Seek(int, int) override { return 0; }

 private:
  unsigned mSize;
};

TEST_F(FontParseTest, AHugeOrShortStreamFailsWithoutReading) {
  testfonts::SyntheticFont font(mName);
  FontParseClaimingStream huge(0xFFFFFFF0u);
  EXPECT_EQ(font.Parse(&huge), VN_FAIL);
  FontParseClaimingStream shortStream(100);
  EXPECT_EQ(font.Parse(&shortStream), VN_FAIL);
  EXPECT_EQ(font.Parse(nullptr), VN_FAIL);
}

TEST_F(FontParseTest, ParsingAgainReplacesThePages) {
  testfonts::SyntheticFont font(mName);
  ASSERT_EQ(ParseText(font, mBase), VN_OK);
  ASSERT_EQ(ParseText(font, mBase), VN_OK);  // the first parse's image is freed (the leak check sees it)
  EXPECT_EQ(font.GetPageCount(), 1u);
}

class FontLoadTest : public FontParseTest {
 protected:
  // The font of that name in the test data, bound to the renderer unless told otherwise.
  resource::ResourcePtr<render::BMFont> Get(const std::string& name, bool withRender = true) {
    resource::ResourcePtr<render::BMFont> font =
        resource::ResourceManager::Instance()->Get<render::BMFont>(ParseTestWide(kParseFontDir + name));
    if (font && withRender) font->SetRender(&mRender);
    return font;
  }
  bool PageTextureCached() const {
    const auto& textures = resource::ResourceManager::Instance()->GetMap<resource::ResourceTexture>();
    return textures.count(ParseTestWide(kParseFontDir + "tiny_0.png")) != 0;
  }
};

TEST_F(FontLoadTest, LoadsThroughTheManagerAndFreesThePagesWithTheLastHandle) {
  {
    resource::ResourcePtr<render::BMFont> font = Get("tiny");
    ASSERT_TRUE(font);
    ASSERT_EQ(font->Load(), VN_OK);
    EXPECT_TRUE(font->IsLoaded());
    EXPECT_TRUE(font->HasGlyph(u'V'));
    EXPECT_TRUE(PageTextureCached());
    EXPECT_EQ(font->UnLoad(), VN_OK);
    EXPECT_EQ(font->GetPageCount(), 0u);
    EXPECT_FALSE(PageTextureCached());
    EXPECT_TRUE(font->HasGlyph(u'V'));  // glyphs and metrics stay
    ASSERT_EQ(font->Load(), VN_OK);
  }
  EXPECT_FALSE(PageTextureCached());
  EXPECT_EQ(
      resource::ResourceManager::Instance()->GetMap<render::BMFont>().count(ParseTestWide(kParseFontDir + "tiny")), 0u);
}

TEST_F(FontLoadTest, AFailedParseFreesThePagesItLoaded) {
  resource::ResourcePtr<render::BMFont> font = Get("tiny_bad_kerning");
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Load(), VN_FAIL);
  EXPECT_FALSE(font->IsLoaded());
  EXPECT_EQ(font->GetPageCount(), 0u);
  EXPECT_FALSE(PageTextureCached());
}

TEST_F(FontLoadTest, AMissingFileOrRendererFails) {
  resource::ResourcePtr<render::BMFont> missing = Get("absent");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Load(), VN_FAIL);
  resource::ResourcePtr<render::BMFont> noRender = Get("tiny", false);
  EXPECT_EQ(noRender->Load(), VN_FAIL);
  EXPECT_FALSE(noRender->IsLoaded());
}

}  // namespace
