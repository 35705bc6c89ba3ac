// One frame of text in a baked font: n visible glyphs laid out and drawn through the drawing
// context's text requests on the OpenGL device. Run beside BM_EngineQuads with the same n (the
// same number of textured quads through DrawImage) to compare.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Core/Render/BMFont.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Resource/ResourceManager.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tools/bench/EngineFrames.h"
#include "tools/bench/QuadScene.h"
#include "tests/fakes/SourceDir.h"

namespace {

const int kTextGlyphsPerLine = 50;

// Lines of words with exactly kTextGlyphsPerLine visible glyphs each, from a fixed sequence.
std::vector<std::u16string> MakeTextLines(int glyphs) {
  const std::u16string letters =
      u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789АБВГДЕЖЗИКЛМНабвгдежз";
  uint32_t seed = 2024;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  std::vector<std::u16string> lines;
  for (int done = 0; done < glyphs; done += kTextGlyphsPerLine) {
    std::u16string line;
    for (int i = 0; i < kTextGlyphsPerLine && done + i < glyphs; ++i) {
      if (i > 0 && next() % 6 == 0) line += u' ';
      line += letters[next() % letters.size()];
    }
    lines.push_back(line);
  }
  return lines;
}

void BM_EngineText(benchmark::State& state) {
  const int n = int(state.range(0));
  fakes::GlRenderWindow window(bench::kScreenWidth, bench::kScreenHeight);
  render::RenderDX9* render = window.GetRender();
  const bench::GlFinishFunction finish = bench::GetGlFinish();
  const std::string path = std::string(QM_SOURCE_DIR) + "/data/ruv/data/fonts/main_32_1";
  resource::ResourcePtr<render::BMFont> font =
      resource::ResourceManager::Instance()->Get<render::BMFont>(std::u16string(path.begin(), path.end()));
  if (render && font) {
    font->SetRender(render);
    if (font->Load() != VN_OK) font = {};
  }
  if (!render || !finish || !font) {
    state.SkipWithError("no OpenGL 3.3 device or no font");
    return;
  }
  state.SetLabel("engine text");
  const std::vector<std::u16string> lines = MakeTextLines(n);
  bench::RunEngineFrames(state, *render, finish, [&](render::Graphics& g) {
    g.mFont = font.Get();
    for (size_t i = 0; i < lines.size(); ++i) {
      g.SetColor(math::Color(0xFF000000u | (0x00FFFFFFu & uint32_t(i * 2654435761u))));
      g.DrawText(&lines[i]).Translate({float(i % 7) * 10.0f, float((i * 23) % (bench::kScreenHeight - 32))});
    }
  });
}

BENCHMARK(BM_EngineText)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
