// Bakes a TrueType font into a bitmap font: the BMFont XML file (every attribute the engine's reader
// requires), page PNGs of white glyphs with coverage in alpha, and the font's kerning pairs.
//   fontbaker <font.ttf> <pixel size> <output folder> <name> [page size]
// writes <output folder>/<name>.fnt and <name>_<page>.png.
#include <IL/il.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct BakedGlyph {
  unsigned code = 0;
  int width = 0, height = 0;
  int xoffset = 0, yoffset = 0, xadvance = 0;
  int x = 0, y = 0, page = 0;
  std::vector<unsigned char> coverage;
};

// Printable ASCII (the "|" of text cursors included) and the Cyrillic capitals and small letters.
std::vector<unsigned> BakedCharacters() {
  std::vector<unsigned> codes;
  for (unsigned c = 32; c <= 126; ++c) codes.push_back(c);
  for (unsigned c = 0x410; c <= 0x44F; ++c) codes.push_back(c);
  return codes;
}

const int kGlyphGap = 2;  // empty texels between glyphs, so filtering never samples a neighbour

// Shelf packing in order of decreasing height; returns the number of pages.
int PackGlyphs(std::vector<BakedGlyph*> order, int pageSize) {
  std::stable_sort(order.begin(), order.end(),
                   [](const BakedGlyph* a, const BakedGlyph* b) { return a->height > b->height; });
  int page = 0, x = kGlyphGap, y = kGlyphGap, shelf = 0;
  for (BakedGlyph* glyph : order) {
    if (glyph->width == 0 || glyph->height == 0) {
      glyph->x = glyph->y = 0;
      glyph->page = 0;
      continue;
    }
    if (x + glyph->width + kGlyphGap > pageSize) {
      x = kGlyphGap;
      y += shelf + kGlyphGap;
      shelf = 0;
    }
    if (y + glyph->height + kGlyphGap > pageSize) {
      ++page;
      x = y = kGlyphGap;
      shelf = 0;
    }
    glyph->x = x;
    glyph->y = y;
    glyph->page = page;
    x += glyph->width + kGlyphGap;
    shelf = std::max(shelf, glyph->height);
  }
  return page + 1;
}

bool WritePagePng(const std::string& path, const std::vector<unsigned char>& alpha, int size) {
  std::vector<unsigned char> rgba(size_t(size) * size * 4);
  for (int row = 0; row < size; ++row) {
    // DevIL takes the rows of a new image from the bottom.
    const unsigned char* source = &alpha[size_t(size - 1 - row) * size];
    unsigned char* target = &rgba[size_t(row) * size * 4];
    for (int column = 0; column < size; ++column) {
      target[column * 4 + 0] = target[column * 4 + 1] = target[column * 4 + 2] = 255;
      target[column * 4 + 3] = source[column];
    }
  }
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  ilTexImage(ILuint(size), ILuint(size), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, rgba.data());
  const bool saved = ilSave(IL_PNG, path.c_str());
  ilDeleteImages(1, &image);
  return saved;
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s <font.ttf> <pixel size> <output folder> <name> [page size]\n", argv[0]);
    return 2;
  }
  const std::string fontPath = argv[1];
  const int pixelSize = std::atoi(argv[2]);
  const std::string folder = argv[3];
  const std::string name = argv[4];
  const int pageSize = argc > 5 ? std::atoi(argv[5]) : 512;
  if (pixelSize <= 0 || pageSize < 64) {
    std::fprintf(stderr, "bad size\n");
    return 2;
  }

  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) || FT_New_Face(library, fontPath.c_str(), 0, &face) ||
      FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize))) {
    std::fprintf(stderr, "cannot open %s at %d pixels\n", fontPath.c_str(), pixelSize);
    return 1;
  }
  const int ascender = int((face->size->metrics.ascender + 32) >> 6);
  const int lineHeight = int((face->size->metrics.height + 32) >> 6);

  const std::vector<unsigned> codes = BakedCharacters();
  std::vector<BakedGlyph> glyphs(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) {
    BakedGlyph& glyph = glyphs[i];
    glyph.code = codes[i];
    if (FT_Get_Char_Index(face, codes[i]) == 0 || FT_Load_Char(face, codes[i], FT_LOAD_RENDER)) {
      std::fprintf(stderr, "%s has no glyph for U+%04X\n", fontPath.c_str(), codes[i]);
      return 1;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.xoffset = slot->bitmap_left;
    glyph.yoffset = ascender - slot->bitmap_top;
    glyph.xadvance = int((slot->advance.x + 32) >> 6);
    glyph.coverage.resize(size_t(glyph.width) * glyph.height);
    for (int row = 0; row < glyph.height; ++row) {
      const unsigned char* source = bitmap.buffer + row * bitmap.pitch;
      std::copy(source, source + glyph.width, glyph.coverage.begin() + row * glyph.width);
    }
  }

  std::vector<BakedGlyph*> order;
  for (BakedGlyph& glyph : glyphs) order.push_back(&glyph);
  const int pages = PackGlyphs(order, pageSize);

  ilInit();
  ilEnable(IL_FILE_OVERWRITE);
  std::vector<std::string> pageFiles;
  for (int page = 0; page < pages; ++page) {
    std::vector<unsigned char> alpha(size_t(pageSize) * pageSize, 0);
    for (const BakedGlyph& glyph : glyphs) {
      if (glyph.page != page) continue;
      for (int row = 0; row < glyph.height; ++row) {
        std::copy(glyph.coverage.begin() + row * glyph.width, glyph.coverage.begin() + (row + 1) * glyph.width,
                  alpha.begin() + size_t(glyph.y + row) * pageSize + glyph.x);
      }
    }
    pageFiles.push_back(name + "_" + std::to_string(page) + ".png");
    if (!WritePagePng(folder + "/" + pageFiles.back(), alpha, pageSize)) {
      std::fprintf(stderr, "cannot write %s\n", pageFiles.back().c_str());
      return 1;
    }
  }
  ilShutDown();

  struct Kerning {
    unsigned first, second;
    int amount;
  };
  std::vector<Kerning> kernings;
  if (FT_HAS_KERNING(face)) {
    for (unsigned first : codes) {
      for (unsigned second : codes) {
        FT_Vector delta{0, 0};
        if (FT_Get_Kerning(face, FT_Get_Char_Index(face, first), FT_Get_Char_Index(face, second), FT_KERNING_DEFAULT,
                           &delta) == 0) {
          const int amount = int(delta.x >= 0 ? (delta.x + 32) >> 6 : -((-delta.x + 32) >> 6));
          if (amount != 0) kernings.push_back({first, second, amount});
        }
      }
    }
  }

  const std::string fntPath = folder + "/" + name + ".fnt";
  FILE* out = std::fopen(fntPath.c_str(), "wb");
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", fntPath.c_str());
    return 1;
  }
  const std::string family = XmlEscape(face->family_name ? face->family_name : "");
  std::fprintf(out, "<?xml version=\"1.0\"?>\n<font>\n");
  std::fprintf(out,
               "  <info face=\"%s\" size=\"%d\" bold=\"%d\" italic=\"%d\" charset=\"\" unicode=\"1\" stretchH=\"100\" "
               "smooth=\"1\" aa=\"1\" padding=\"0,0,0,0\" spacing=\"%d,%d\" outline=\"0\"/>\n",
               family.c_str(), pixelSize, (face->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0,
               (face->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0, kGlyphGap, kGlyphGap);
  std::fprintf(out,
               "  <common lineHeight=\"%d\" base=\"%d\" scaleW=\"%d\" scaleH=\"%d\" pages=\"%d\" packed=\"0\" "
               "alphaChnl=\"0\" redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"/>\n",
               lineHeight, ascender, pageSize, pageSize, pages);
  std::fprintf(out, "  <pages>\n");
  for (int page = 0; page < pages; ++page) {
    std::fprintf(out, "    <page id=\"%d\" file=\"%s\"/>\n", page, XmlEscape(pageFiles[size_t(page)]).c_str());
  }
  std::fprintf(out, "  </pages>\n  <chars count=\"%zu\">\n", glyphs.size());
  for (const BakedGlyph& glyph : glyphs) {
    std::fprintf(out,
                 "    <char id=\"%u\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" xoffset=\"%d\" yoffset=\"%d\" "
                 "xadvance=\"%d\" page=\"%d\" chnl=\"15\"/>\n",
                 glyph.code, glyph.x, glyph.y, glyph.width, glyph.height, glyph.xoffset, glyph.yoffset,
                 glyph.xadvance, glyph.page);
  }
  std::fprintf(out, "  </chars>\n  <kernings count=\"%zu\">\n", kernings.size());
  for (const Kerning& kerning : kernings) {
    std::fprintf(out, "    <kerning first=\"%u\" second=\"%u\" amount=\"%d\"/>\n", kerning.first, kerning.second,
                 kerning.amount);
  }
  std::fprintf(out, "  </kernings>\n</font>\n");
  const bool written = std::fclose(out) == 0;
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  std::printf("%s: %zu glyphs, %d page(s), %zu kerning pairs\n", name.c_str(), glyphs.size(), pages, kernings.size());
  return written ? 0 : 1;
}
