#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Core/Render/Font.h"
#include "Core/Render/GraphicsFriend.h"

namespace base {
class Stream;
}

namespace render {

class Image;
class Render;

// A bitmap font read from the XML form of the BMFont format: metrics, page images, glyph
// rectangles and kerning pairs. Text is laid out into lines and drawn as one quad per visible glyph,
// batched per page.
class BMFont : public Font, public GraphicsFriend {
 public:
  struct Glyph {
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;  // on the page, scaled
    float xoffset = 0.0f, yoffset = 0.0f, xadvance = 0.0f;
    uint32_t page = 0;
    uint32_t chnl = 0;
    std::map<char16_t, float> kerning;  // preceding character -> amount
  };

  // One laid-out line. Plain data: the per-call arrays are left uninitialised.
  struct LineInfo {
    float width;      // includes the indent
    uint32_t start;   // index of the first character
    uint32_t count;   // characters, trailing blanks excluded
    uint32_t blanks;  // blanks inside a wrapped line
    float indent;     // the format's indent on a paragraph's first line, else 0
    uint8_t wrapped;  // ended by wrapping
  };

  struct PageRun {
    uint32_t count;  // glyph quads
    uint32_t page;
  };

  // Keeps up to N items inside the object (on the caller's stack) and spills the rest to the heap.
  template <class T, size_t N>
  class SpillList {
   public:
    void push_back(const T& item) {
      if (mSize < N) {
        mInline[mSize] = item;
      } else {
        mSpill.push_back(item);
      }
      ++mSize;
    }
    T& operator[](size_t index) { return index < N ? mInline[index] : mSpill[index - N]; }
    const T& operator[](size_t index) const { return index < N ? mInline[index] : mSpill[index - N]; }
    T& back() { return (*this)[mSize - 1]; }
    size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }

   private:
    std::array<T, N> mInline;
    std::vector<T> mSpill;
    size_t mSize = 0;
  };

  using LineList = SpillList<LineInfo, 1024>;
  using PageRunList = SpillList<PageRun, 256>;

  // More pages than this make a font file broken.
  static constexpr uint32_t kMaxPages = 256;
  // Characters of one text that are laid out and drawn; the rest of a longer text is left out
  // (logged once per font). Several screens full of the smallest glyphs.
  static constexpr size_t kMaxLaidOutCharacters = 16384;

  BMFont() = default;
  ~BMFont() override;

  // The renderer that loads the page images; before Load.
  void SetRender(Render* render) { mPageRender = render; }

  VNResultEnum Release() override;
  // The name with ".fnt" through the file manager, then Parse. A failed parse frees the pages it
  // had loaded.
  VNResultEnum DoLoad() override;
  // Deletes the page images; glyphs, kerning and metrics stay.
  VNResultEnum DoUnLoad() override;

  // Reads the font XML from the stream and loads its pages. 1 on the first failing step; what was
  // read so far stays.
  VNResultEnum Parse(base::Stream* stream);

  VNResultEnum DrawText(Graphics* graphics, DrawTextParam* param, const std::u16string& text,
                        const TextFormat& format, float* size) override;
  // The glyph map holds the character (the fallback is not considered).
  bool HasGlyph(char16_t character) const override { return mGlyphs.count(character) != 0; }

  // The glyph of the character, else the fallback (may be null), else null.
  const Glyph* FindGlyph(char16_t character, const Glyph* fallback) const;
  // The text laid out into lines.
  void LayoutLines(const std::u16string& text, const TextFormat& format, const Glyph* fallback,
                   LineList& lines) const;
  // The visible glyphs of the laid-out lines, in text order, grouped by page.
  void CountPageRuns(const std::u16string& text, const LineList& lines, const Glyph* fallback,
                     PageRunList& runs) const;

  uint32_t GetPageCount() const { return uint32_t(mPages.size()); }
  Image* GetPage(uint32_t index) const { return index < mPages.size() ? mPages[index] : nullptr; }

 protected:
  Render* mPageRender = nullptr;
  std::string mFace;
  bool mBold = false;
  bool mItalic = false;
  std::string mCharset;
  float mStretchH = 0.0f;
  bool mSmooth = false;
  uint32_t mAa = 0;
  int mPadding[4] = {0, 0, 0, 0};
  float mSpacing[2] = {0.0f, 0.0f};
  uint32_t mOutline = 0;
  float mLineHeight = 0.0f;  // stored, not used by layout
  float mScaleW = 0.0f;
  float mScaleH = 0.0f;
  std::map<char16_t, Glyph> mGlyphs;
  std::vector<Image*> mPages;  // owned, one per page id
  float mTop = 0.0f;           // y of the first line's top
  float mTextureScale = 1.0f;
  float mMetricScale = 1.0f;  // the application's font scale at the last parse
  bool mWarnedLongText = false;

 private:
  struct Batch;
  VNResultEnum DrawLines(DrawTextParam* param, const std::u16string& text, const TextFormat& format,
                         const Glyph* fallback, const LineList& lines, const PageRunList& runs, float blockWidth);
  VNResultEnum OpenBatch(Batch& batch, uint32_t quads, uint32_t page);
  VNResultEnum SubmitBatch(Batch& batch, DrawTextParam* param);
};

}  // namespace render
