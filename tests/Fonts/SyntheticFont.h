#pragma once
// A bitmap font filled by hand, for layout and drawing without font files, and a window onto the
// fields a parse fills.
#include <string>

#include "Core/Render/BMFont.h"
#include "Core/Render/Image.h"

namespace testfonts {

class SyntheticFont : public render::BMFont {
 public:
  SyntheticFont() = default;
  explicit SyntheticFont(const std::u16string& name) { Init(name); }

  void SetMetrics(float size, float base) {
    mSize = size;
    mBase = base;
  }
  Glyph& AddGlyph(char16_t code, float xadvance, uint32_t page = 0) {
    Glyph& glyph = mGlyphs[code];
    glyph.xadvance = xadvance;
    glyph.page = page;
    return glyph;
  }
  void AddKerning(char16_t first, char16_t second, float amount) { mGlyphs[second].kerning[first] = amount; }
  // The font owns the image.
  void AddPage(render::Image* image) { mPages.push_back(image); }

  const Glyph* GetGlyph(char16_t code) const { return FindGlyph(code, nullptr); }
  const std::string& GetFace() const { return mFace; }
  const std::string& GetCharset() const { return mCharset; }
  bool IsBold() const { return mBold; }
  const int* GetPadding() const { return mPadding; }
  const float* GetSpacing() const { return mSpacing; }
  float GetStoredLineHeight() const { return mLineHeight; }
  float GetStoredScaleW() const { return mScaleW; }
  uint32_t GetOutline() const { return mOutline; }
};

}  // namespace testfonts
