// Writes fuzz seeds of the layered-document reader built with the tests' writers:
//   tools/fuzz/corpus/psd_descriptor/object_effects  an "lfx2" block of every descriptor effect
//   tools/fuzz/corpus/psd/effects_thumbnails          a layer with that block, a baseline grey and a
//                                                      progressive RGB thumbnail
//   tools/fuzz/corpus/psd/cmyk_thumbnail              a CMYK thumbnail
// Usage: make_psd_corpus <repository root>
#include <cstdio>
#include <string>

#include "Psd/PsdFiles.h"
#include "Psd/PsdJpegFiles.h"

namespace {

using psdtest::Bytes;
using psdtest::PsdWriter;
namespace desc = psdtest::desc;

PsdWriter& CorpusGradient(PsdWriter& w) {
  return desc::Gradient(w, "seed", 4096.0, {{0, 0, 0, "FrgC", 0, 50}, {255, 128, 0, "UsrS", 4096, 50}},
                        {{100.0, 0, 50}, {40.0, 4096, 50}});
}

Bytes CorpusEffects() {
  PsdWriter fx;
  desc::EffectsStart(fx, 7);
  desc::Unit(desc::Item(fx, "Scl ", "UntF"), "#Prc", 100.0);
  desc::NamedItem(fx, "masterFXSwitch", "bool").U8(1);

  desc::Item(fx, "GrFl", "Objc");
  desc::Object(fx, "GrFl", 5);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Enum(desc::Item(fx, "Md  ", "enum"), "BlnM", "Mltp");
  CorpusGradient(desc::Item(fx, "Grad", "Objc"));
  desc::Enum(desc::Item(fx, "Type", "enum"), "GrdT", "Rdl ");
  desc::Point(desc::Item(fx, "Ofst", "Objc"), 3.0, -2.0);

  desc::NamedItem(fx, "patternFill", "Objc");
  desc::Object(fx, "patternFill", 4);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Pattern(desc::Item(fx, "Ptrn", "Objc"), "dots", "id-1");
  desc::Unit(desc::Item(fx, "Scl ", "UntF"), "#Prc", 75.0);
  desc::Point(desc::NamedItem(fx, "phase", "Objc"), 1.0, 2.0);

  desc::Item(fx, "FrFX", "Objc");
  desc::Object(fx, "FrFX", 6);
  desc::Enum(desc::Item(fx, "Styl", "enum"), "FStl", "CtrF");
  desc::Enum(desc::Item(fx, "PntT", "enum"), "FrFl", "GrFl");
  desc::Unit(desc::Item(fx, "Sz  ", "UntF"), "#Pxl", 4.0);
  desc::Color(desc::Item(fx, "Clr ", "Objc"), 10.0, 20.0, 30.0);
  CorpusGradient(desc::Item(fx, "Grad", "Objc"));
  desc::Unit(desc::Item(fx, "Scl ", "UntF"), "#Prc", 50.0);

  desc::Item(fx, "ebbl", "Objc");
  desc::Object(fx, "ebbl", 8);
  desc::NamedEnum(desc::Item(fx, "bvlS", "enum"), "BESl", "strokeEmboss");
  desc::Enum(desc::Item(fx, "bvlD", "enum"), "BESs", "Out ");
  desc::Contour(desc::Item(fx, "TrnS", "Objc"), "gloss", {{0.0, 0.0, false}, {128.0, 200.0, true}, {255.0, 255.0, false}});
  desc::Contour(desc::Item(fx, "MpgS", "Objc"), "ring", {{0.0, 255.0, false}, {255.0, 0.0, false}});
  desc::Color(desc::Item(fx, "hglC", "Objc"), 250.0, 250.0, 250.0);
  desc::NamedItem(fx, "useTexture", "bool").U8(1);
  desc::Pattern(desc::Item(fx, "Ptrn", "Objc"), "grain", "tex");
  desc::Point(desc::NamedItem(fx, "phase", "Objc"), 3.0, 4.0);

  desc::Item(fx, "DrSh", "Objc");
  desc::Object(fx, "DrSh", 2);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Color(desc::Item(fx, "Clr ", "Objc"), 1.0, 2.0, 3.0);
  return fx.Get();
}

Bytes CorpusJpeg(int width, int height, int components, bool progressive) {
  psdtest::JpegSpec spec;
  spec.width = width, spec.height = height, spec.components = components, spec.progressive = progressive;
  spec.quality = 75;
  return psdtest::MakeJpeg(spec, psdtest::JpegPatternSample);
}

// Resource 1033 (an older thumbnail resource of the same layout) with a JPEG.
Bytes CorpusOldThumbnail(const Bytes& jpeg) {
  Bytes resource = psdtest::ThumbnailResource(16, 16, jpeg, uint32_t(jpeg.size()));
  resource[5] = 1033 & 0xFF;
  resource[4] = 1033 >> 8;
  return resource;
}

bool CorpusWrite(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_psd_corpus <repository root>\n");
    return 2;
  }
  const std::string corpus = std::string(argv[1]) + "/tools/fuzz/corpus/";
  const Bytes effects = CorpusEffects();

  Bytes descriptor = {3};  // the descriptor target's choice of block: "lfx2"
  descriptor.insert(descriptor.end(), effects.begin(), effects.end());

  psdtest::PsdSpec document;
  psdtest::PsdLayerSpec layer = psdtest::RawLayer(0, 0, 2, 2, {0, 1, 2}, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}, "fx");
  layer.extra = psdtest::InfoBlock("lfx2", effects);
  document.layers = {layer};
  const Bytes progressive = CorpusJpeg(32, 24, 3, true);
  document.resources = CorpusOldThumbnail(CorpusJpeg(16, 16, 1, false));
  const Bytes thumbnail = psdtest::ThumbnailResource(32, 24, progressive, uint32_t(progressive.size()));
  document.resources.insert(document.resources.end(), thumbnail.begin(), thumbnail.end());

  psdtest::PsdSpec cmyk;
  cmyk.layers = {psdtest::RawLayer(0, 0, 1, 1, {0, 1, 2}, {{1}, {2}, {3}}, "cmyk")};
  const Bytes cmykJpeg = CorpusJpeg(12, 10, 4, false);
  cmyk.resources = psdtest::ThumbnailResource(12, 10, cmykJpeg, uint32_t(cmykJpeg.size()));

  const bool written = CorpusWrite(corpus + "psd_descriptor/object_effects", descriptor) &&
                       CorpusWrite(corpus + "psd/effects_thumbnails", psdtest::MakePsd(document)) &&
                       CorpusWrite(corpus + "psd/cmyk_thumbnail", psdtest::MakePsd(cmyk));
  if (!written) std::fprintf(stderr, "make_psd_corpus: cannot write into %s\n", corpus.c_str());
  return written ? 0 : 1;
}
