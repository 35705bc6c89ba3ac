#include "Core/Render/BMFont.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "Core/App/Application.h"
#include "Core/Base/DataFileLog.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/Base/Stream.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Core/Base/Tokenizer.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/BuildQuad.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/ShaderTextured.h"
#include "Core/Render/TextFormat.h"
#include "Core/Resource/ResourceManager.h"

namespace render {

namespace {

// Quads per reservation: six 16-bit indices each must fit the index cache's overflow buffers (1024
// indices), or a long page run could not be reserved once the main buffer is used up.
constexpr uint32_t kBMFontMaxBatchQuads = 170;

bool FontAttrString(const tinyxml2::XMLElement* element, const char* name, std::string& out) {
  const char* value = element->Attribute(name);
  if (!value) return false;
  out = value;
  return true;
}

bool FontAttrFloat(const tinyxml2::XMLElement* element, const char* name, float& out) {
  return element->QueryFloatAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}

bool FontAttrUnsigned(const tinyxml2::XMLElement* element, const char* name, uint32_t& out) {
  unsigned value = 0;
  if (element->QueryUnsignedAttribute(name, &value) != tinyxml2::XML_SUCCESS) return false;
  out = value;
  return true;
}

bool FontAttrBool(const tinyxml2::XMLElement* element, const char* name, bool& out) {
  return element->QueryBoolAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}

bool IsFontBlank(char16_t character) { return character == 32 || character == 9; }

// The application's scale for font metrics; 1 while no application exists (tools, tests).
float FontMetricScale() {
  return base::Singletone<app::Application>::Exists() ? app::Application::Instance()->GetFontScale() : 1.0f;
}

}  // namespace

struct BMFont::Batch {
  ShaderTextured* shader = nullptr;
  SVertex2D* vertices = nullptr;
  unsigned short* indices = nullptr;
  BufferRange<VertexBuffer<SVertex2D>> vertexRange;
  BufferRange<IndexBuffer<unsigned short>> indexRange;
  uint32_t capacity = 0;
  uint32_t used = 0;
  uint32_t page = 0;
};

BMFont::~BMFont() { DoUnLoad(); }

VNResultEnum BMFont::Release() { return resource::ResourceManager::ReleaseFromManager<BMFont>(this); }

VNResultEnum BMFont::DoLoad() {
  file::FileManager* files = file::FileManager::Instance();
  const std::u16string path = mName + u".fnt";
  std::unique_ptr<file::FileInfo> info(files ? files->Open(path, nullptr, 0, nullptr) : nullptr);
  std::unique_ptr<base::Stream> stream(info ? info->Open() : nullptr);
  if (!stream) {
    base::LogDataFileProblem(u"BMFont", path, u"is missing: its texts are not drawn");
    return VN_FAIL;
  }
  const VNResultEnum result = Parse(stream.get());
  if (result != VN_OK) {
    base::LogDataFileProblem(u"BMFont", path, u"or one of its page images is damaged: its texts are not drawn");
    DoUnLoad();  // the resource stays unloaded, so nothing else would free them
  }
  return result;
}

VNResultEnum BMFont::DoUnLoad() {
  for (Image* page : mPages) delete page;
  mPages.clear();
  return VN_OK;
}

VNResultEnum BMFont::Parse(base::Stream* stream) {
  DoUnLoad();  // pages of an earlier parse
  if (!stream) return VN_FAIL;
  file::FileManager* files = file::FileManager::Instance();
  mTextureScale = files ? files->GetTextureScale() : 1.0f;
  const float s = FontMetricScale();
  mMetricScale = s;

  const unsigned size = stream->GetSize();
  if (size > base::kMaxTextFileSize) return VN_FAIL;
  std::vector<char> buffer(size_t(size) + 1, '\0');
  if (size > 0 && stream->Read(buffer.data(), size) != size) return VN_FAIL;
  tinyxml2::XMLDocument document;
  if (document.Parse(buffer.data()) != tinyxml2::XML_SUCCESS) return VN_FAIL;

  const tinyxml2::XMLElement* font = document.FirstChildElement("font");
  const tinyxml2::XMLElement* info = font ? font->FirstChildElement("info") : nullptr;
  if (!info) return VN_FAIL;
  bool unicode = false;
  std::string padding;
  std::string spacing;
  if (!FontAttrString(info, "face", mFace) || !FontAttrFloat(info, "size", mSize)) return VN_FAIL;
  mSize *= s;
  if (!FontAttrBool(info, "bold", mBold) || !FontAttrBool(info, "italic", mItalic)) return VN_FAIL;
  // Files of some writers spell the charset attribute "chasrset".
  if (!FontAttrString(info, info->Attribute("charset") ? "charset" : "chasrset", mCharset)) return VN_FAIL;
  if (!FontAttrBool(info, "unicode", unicode) || !unicode) return VN_FAIL;
  if (!FontAttrFloat(info, "stretchH", mStretchH) || !FontAttrBool(info, "smooth", mSmooth) ||
      !FontAttrUnsigned(info, "aa", mAa) || !FontAttrString(info, "padding", padding)) {
    return VN_FAIL;
  }
  base::Tokenizer paddingTokens(padding, ',', false);
  paddingTokens >> mPadding[0] >> mPadding[1] >> mPadding[2] >> mPadding[3];
  if (!FontAttrString(info, "spacing", spacing)) return VN_FAIL;
  base::Tokenizer spacingTokens(spacing, ',', false);
  spacingTokens >> mSpacing[0] >> mSpacing[1];
  if (!FontAttrUnsigned(info, "outline", mOutline)) return VN_FAIL;

  const tinyxml2::XMLElement* common = font->FirstChildElement("common");
  if (!common) return VN_FAIL;
  uint32_t pageCount = 0;
  if (!FontAttrFloat(common, "lineHeight", mLineHeight) || !FontAttrFloat(common, "base", mBase)) return VN_FAIL;
  mLineHeight *= s;
  mBase *= s;
  if (!FontAttrFloat(common, "scaleW", mScaleW) || !FontAttrFloat(common, "scaleH", mScaleH) ||
      !FontAttrUnsigned(common, "pages", pageCount) || pageCount > kMaxPages) {
    return VN_FAIL;
  }
  mPages.assign(pageCount, nullptr);
  uint32_t packed = 0, alpha = 0, red = 0, green = 0, blue = 0;
  if (!FontAttrUnsigned(common, "packed", packed) || !FontAttrUnsigned(common, "alphaChnl", alpha) ||
      !FontAttrUnsigned(common, "redChnl", red) || !FontAttrUnsigned(common, "greenChnl", green) ||
      !FontAttrUnsigned(common, "blueChnl", blue)) {
    return VN_FAIL;
  }
  if (packed != 0 || alpha != 0 || red != 4 || green != 4 || blue != 4) return VN_FAIL;

  const tinyxml2::XMLElement* pages = font->FirstChildElement("pages");
  if (!pages) return VN_FAIL;
  const std::u16string folder = base::GetDirPath(mName);
  for (const tinyxml2::XMLElement* page = pages->FirstChildElement("page"); page;
       page = page->NextSiblingElement("page")) {
    uint32_t id = 0;
    std::string file;
    if (!FontAttrUnsigned(page, "id", id) || id >= mPages.size() || !FontAttrString(page, "file", file)) {
      return VN_FAIL;
    }
    if (!mPageRender) return VN_FAIL;
    Image* image = nullptr;
    const VNResultEnum result =
        mPageRender->LoadImage(folder + base::ToWide(file, base::kEncodingUtf8), nullptr, &image, nullptr);
    if (result != VN_OK) return result;
    delete mPages[id];  // a repeated id replaces the image
    mPages[id] = image;
  }

  const tinyxml2::XMLElement* chars = font->FirstChildElement("chars");
  if (!chars) return VN_FAIL;
  for (const tinyxml2::XMLElement* item = chars->FirstChildElement("char"); item;
       item = item->NextSiblingElement("char")) {
    uint32_t id = 0;
    if (!FontAttrUnsigned(item, "id", id)) return VN_FAIL;
    Glyph& glyph = mGlyphs[char16_t(id)];
    if (!FontAttrFloat(item, "x", glyph.x) || !FontAttrFloat(item, "y", glyph.y) ||
        !FontAttrFloat(item, "width", glyph.width) || !FontAttrFloat(item, "height", glyph.height) ||
        !FontAttrFloat(item, "xoffset", glyph.xoffset) || !FontAttrFloat(item, "yoffset", glyph.yoffset) ||
        !FontAttrFloat(item, "xadvance", glyph.xadvance) || !FontAttrUnsigned(item, "page", glyph.page) ||
        !FontAttrUnsigned(item, "chnl", glyph.chnl)) {
      return VN_FAIL;
    }
    const float rectScale = mTextureScale * s;
    glyph.x *= rectScale;
    glyph.y *= rectScale;
    glyph.width *= rectScale;
    glyph.height *= rectScale;
    glyph.xoffset *= s;
    glyph.yoffset *= s;
    glyph.xadvance *= s;
  }
  // Every glyph must have a page image to be drawn from.
  for (const auto& entry : mGlyphs) {
    if (!GetPage(entry.second.page)) return VN_FAIL;
  }

  const tinyxml2::XMLElement* kernings = font->FirstChildElement("kernings");
  if (kernings) {
    for (const tinyxml2::XMLElement* item = kernings->FirstChildElement("kerning"); item;
         item = item->NextSiblingElement("kerning")) {
      uint32_t first = 0, second = 0;
      float amount = 0.0f;
      if (!FontAttrUnsigned(item, "first", first) || !FontAttrUnsigned(item, "second", second) ||
          !FontAttrFloat(item, "amount", amount)) {
        return VN_FAIL;
      }
      const auto glyph = mGlyphs.find(char16_t(second));
      if (glyph == mGlyphs.end()) return VN_FAIL;
      glyph->second.kerning[char16_t(first)] = amount * s;
    }
  }
  return VN_OK;
}

const BMFont::Glyph* BMFont::FindGlyph(char16_t character, const Glyph* fallback) const {
  const auto found = mGlyphs.find(character);
  return found != mGlyphs.end() ? &found->second : fallback;
}

void BMFont::LayoutLines(const std::u16string& text, const TextFormat& format, const Glyph* fallback,
                         LineList& lines) const {
  const float wrap = format.mWrapWidth;
  uint32_t start = 0;
  float committed = format.mIndent;  // through the last finished word, the blanks before it included
  float word = 0.0f;
  float blankRun = 0.0f;
  uint32_t blankCount = 0;
  uint32_t runStart = 0;   // where the current or last blank run began
  uint32_t wordStart = 0;  // where the current word began
  uint32_t lineGlyphs = 0;  // characters with a glyph on the line so far
  bool inBlank = false;
  bool firstLine = true;
  auto push = [&](float width, uint32_t count, uint32_t blanks, bool wrapped) {
    lines.push_back(LineInfo{width, start, count, blanks, firstLine ? format.mIndent : 0.0f, uint8_t(wrapped)});
  };
  const uint32_t length = uint32_t(text.size());
  for (uint32_t i = 0; i < length; ++i) {
    const char16_t character = text[i];
    if (character == format.mNewline) {
      if (inBlank) {
        push(committed, runStart - start, 0, false);
      } else {
        push(committed + blankRun + word, i - start, 0, false);
      }
      start = runStart = wordStart = i + 1;
      committed = 0.0f;
      word = format.mIndent;
      blankRun = 0.0f;
      blankCount = 0;
      lineGlyphs = 0;
      inBlank = false;
      firstLine = true;
      continue;
    }
    const Glyph* glyph = FindGlyph(character, fallback);
    if (!glyph) continue;
    const float advance = glyph->xadvance + format.mLetterSpacing;
    if (IsFontBlank(character)) {
      if (!inBlank) {
        committed += blankRun + word;
        word = 0.0f;
        blankRun = 0.0f;
        runStart = i;
        inBlank = true;
      }
      ++blankCount;
      blankRun += advance;
      ++lineGlyphs;
      continue;
    }
    if (inBlank) {
      inBlank = false;
      wordStart = i;
    }
    float kerning = 0.0f;
    if (i > 0) {
      const auto pair = glyph->kerning.find(text[i - 1]);
      if (pair != glyph->kerning.end()) kerning = pair->second;
    }
    // A line always takes its first character, however wide.
    if (wrap <= 0.0f || lineGlyphs == 0 || committed + blankRun + word + kerning + advance <= wrap) {
      word += kerning + advance;
      ++lineGlyphs;
      continue;
    }
    if (runStart > start) {
      // Break after the last finished word; the blanks before the current word belong to no line.
      const int32_t inside = int32_t(blankCount) - int32_t(wordStart - runStart);
      push(committed, runStart - start, uint32_t(std::max(inside, 0)), true);
      start = wordStart;
      word += kerning + advance;
      lineGlyphs = i - wordStart + 1;
    } else {
      // One word fills the line: break before this character.
      push(committed + blankRun + word, i - start, 0, true);
      start = wordStart = i;
      word = advance;
      lineGlyphs = 1;
    }
    runStart = start;
    committed = 0.0f;
    blankRun = 0.0f;
    blankCount = 0;
    firstLine = false;
  }
  if (committed + word > 0.0f) {
    if (inBlank) {
      push(committed + word, runStart - start, 0, false);
    } else {
      push(committed + blankRun + word, length - start, 0, false);
    }
  }
}

void BMFont::CountPageRuns(const std::u16string& text, const LineList& lines, const Glyph* fallback,
                           PageRunList& runs) const {
  // Only characters inside lines are drawn, so only they are counted: every reserved quad is filled.
  for (size_t l = 0; l < lines.size(); ++l) {
    const LineInfo& line = lines[l];
    for (uint32_t i = line.start; i < line.start + line.count; ++i) {
      if (IsFontBlank(text[i])) continue;
      const Glyph* glyph = FindGlyph(text[i], fallback);
      if (!glyph) continue;
      if (!runs.empty() && runs.back().page == glyph->page) {
        ++runs.back().count;
      } else {
        runs.push_back(PageRun{1, glyph->page});
      }
    }
  }
}

VNResultEnum BMFont::DrawText(Graphics* graphics, DrawTextParam* param, const std::u16string& whole,
                              const TextFormat& format, float* size) {
  if (!graphics && !size) return VN_OK;
  // A text far longer than any screen can show (a damaged strings file or profile name) is laid out
  // only as far as the limit, so it cannot cost its whole length on every frame.
  std::u16string cut;
  if (whole.size() > kMaxLaidOutCharacters) {
    if (!mWarnedLongText) {
      base::LogBlock(u"Font '%s': a text of %u characters is shown only up to its first %u.\n") % GetName() %
          unsigned(whole.size()) % unsigned(kMaxLaidOutCharacters);
      mWarnedLongText = true;
    }
    cut.assign(whole, 0, kMaxLaidOutCharacters);
  }
  const std::u16string& text = cut.empty() ? whole : cut;
  if (graphics) SetGraphics(graphics);
  const Glyph* fallback = format.mFallback ? FindGlyph(format.mFallback, nullptr) : nullptr;
  LineList lines;
  PageRunList runs;
  LayoutLines(text, format, fallback, lines);
  if (graphics) CountPageRuns(text, lines, fallback, runs);

  float blockWidth = 0.0f;
  for (size_t i = 0; i < lines.size(); ++i) blockWidth = std::max(blockWidth, lines[i].width);
  if (!format.mFitToText && format.mWrapWidth > 0.0f) blockWidth = format.mWrapWidth;
  const float blockHeight =
      lines.size() <= 1 ? mSize : (GetLineAdvance() + format.mLineSpacing) * float(lines.size() - 1) + mSize;
  if (size) {
    size[0] = blockWidth;
    size[1] = blockHeight;
  }
  VNResultEnum result = VN_OK;
  if (graphics && !lines.empty()) result = DrawLines(param, text, format, fallback, lines, runs, blockWidth);
  SetGraphics(nullptr);  // the context lives only as long as this draw
  return result;
}

VNResultEnum BMFont::DrawLines(DrawTextParam* param, const std::u16string& text, const TextFormat& format,
                               const Glyph* fallback, const LineList& lines, const PageRunList& runs,
                               float blockWidth) {
  Batch batch;
  batch.shader = mGraphics->GetTexturedShader();
  if (!batch.shader) return VN_FAIL;
  SetShader(batch.shader->GetProgram());
  VNResultEnum result = SetProjection(batch.shader);
  if (result != VN_OK) return result;
  const uint32_t diffuse = mGraphics->GetColor().ToARGB();
  const uint32_t tint = uint32_t(int(mGraphics->mTintAmount * 255.0f)) & 0xFF;
  const uint32_t specular = tint << 8 | (255 - tint);

  size_t nextRun = 0;
  uint32_t runLeft = 0;  // quads of the current run not reserved yet
  float penX = 0.0f;
  float penY = mTop;
  for (size_t l = 0; l < lines.size(); ++l) {
    const LineInfo& line = lines[l];
    float extraBlank = 0.0f;
    float extraChar = 0.0f;
    const float room = blockWidth - line.width;
    switch (format.mAlignment) {
      case 1:
        penX = room;
        break;
      case 2:
        penX = std::ceil(room * 0.5f) + line.indent;
        break;
      case 3:
        penX = line.indent;
        if (line.wrapped) {
          if (line.blanks) extraBlank = room / float(line.blanks);
          if (!line.blanks && format.mJustifyCharacters && line.count >= 2) extraChar = room / float(line.count - 1);
        }
        break;
      default:  // left, and alignments without a meaning
        penX = line.indent;
        break;
    }
    for (uint32_t i = line.start; i < line.start + line.count; ++i) {
      const char16_t character = text[i];
      const Glyph* glyph = FindGlyph(character, fallback);
      if (!glyph) continue;
      if (IsFontBlank(character)) {
        penX += glyph->xadvance + format.mLetterSpacing + extraBlank;
        continue;
      }
      if (batch.used == batch.capacity) {
        if ((result = SubmitBatch(batch, param)) != VN_OK) return result;
        if (runLeft == 0) {
          if (nextRun >= runs.size()) return VN_FAIL;
          runLeft = runs[nextRun].count;
          batch.page = runs[nextRun].page;
          ++nextRun;
        }
        const uint32_t quads = std::min(runLeft, kBMFontMaxBatchQuads);
        if ((result = OpenBatch(batch, quads, batch.page)) != VN_OK) return result;
        runLeft -= quads;
      }
      const Image* page = GetPage(glyph->page);
      if (!page || glyph->page != batch.page) return VN_FAIL;
      const float left = penX + glyph->xoffset;
      const float top = penY + glyph->yoffset;
      const float texWidth = float(page->GetWidth()) * mMetricScale;
      const float texHeight = float(page->GetHeight()) * mMetricScale;
      SVertex2D* quad = batch.vertices + batch.used * 4;
      BuildQuad(quad, batch.indices + batch.used * 6, batch.vertexRange.mStart + batch.used * 4,
                math::Point4(left, top, 0.0f, 1.0f),
                math::Point4(left + glyph->width / mTextureScale, top + glyph->height / mTextureScale, 0.0f, 1.0f),
                math::Point2(glyph->x / texWidth, glyph->y / texHeight),
                math::Point2((glyph->x + glyph->width) / texWidth, (glyph->y + glyph->height) / texHeight));
      for (int v = 0; v < 4; ++v) {
        quad[v].diffuse = diffuse;
        quad[v].specular = specular;
      }
      ++batch.used;
      penX += glyph->xadvance + format.mLetterSpacing + extraChar;
    }
    penY += GetLineAdvance() + format.mLineSpacing;
  }
  return SubmitBatch(batch, param);
}

VNResultEnum BMFont::OpenBatch(Batch& batch, uint32_t quads, uint32_t page) {
  auto* vertexCache =
      static_cast<BufferDoubleCache<VertexBuffer<SVertex2D>>*>(mRender->GetVertexCache(SVertex2D::GetFormat().GetId()));
  IndexCache16* indexCache = mRender->GetIndexCache16();
  if (!vertexCache || !indexCache) return VN_FAIL;
  batch.capacity = 0;
  batch.used = 0;
  batch.page = page;
  VNResultEnum result = vertexCache->Allocate(quads * 4, &batch.vertices, batch.vertexRange);
  if (result == VN_OK) result = indexCache->Allocate(quads * 6, &batch.indices, batch.indexRange);
  if (result == VN_OK) batch.capacity = quads;
  return result;
}

VNResultEnum BMFont::SubmitBatch(Batch& batch, DrawTextParam* param) {
  if (batch.used == 0) return VN_OK;
  const VertexFormat& format = SVertex2D::GetFormat();
  const uint32_t vertexCount = batch.used * 4;
  VNResultEnum result = VN_OK;
  if (param) {
    if ((result = param->TransformVertices(batch.vertices, format, vertexCount)) != VN_OK) return result;
    ApplyHalfPixelOffset(batch.vertices, format, vertexCount);
  }
  const Image* page = GetPage(batch.page);
  if (!page) return VN_FAIL;
  if ((result = batch.shader->SetTexture(page->GetTexture())) != VN_OK) return result;
  SetVertexBuffer(batch.vertexRange.mBuffer->GetImpl());
  SetIndexBuffer(batch.indexRange.mBuffer->GetImpl());
  if ((result = ApplyState()) != VN_OK) return result;
  return mRender->DrawIndexed(Render::kTriangleList, batch.indexRange.mStart, batch.used * 2,
                              batch.vertexRange.mStart, vertexCount);
}

}  // namespace render
