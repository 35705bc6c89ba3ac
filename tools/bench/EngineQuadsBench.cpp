// The engine's path: the same quads as draw requests of a drawing context, recorded, merged and
// played back on the OpenGL device.
#include <benchmark/benchmark.h>

#include <memory>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageDataRaw.h"
#include "Core/Render/Texture.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tools/bench/EngineFrames.h"
#include "tools/bench/QuadScene.h"

namespace {

// The sprite as a texture of the renderer, through the raw-pixel decoder (ARGB words).
render::Image* MakeSprite(render::Render& render) {
  const std::vector<uint8_t> rgba = bench::MakeSpritePixels();
  std::vector<uint8_t> argb(rgba.size());
  for (size_t i = 0; i < rgba.size(); i += 4) {
    argb[i + 0] = rgba[i + 2];  // little-endian 0xAARRGGBB: B, G, R, A
    argb[i + 1] = rgba[i + 1];
    argb[i + 2] = rgba[i + 0];
    argb[i + 3] = rgba[i + 3];
  }
  base::MemoryStream stream(argb.data(), unsigned(argb.size()));
  base::ImageInfo info;
  info.mRawPixels = true;
  info.mWidth = float(bench::kQuadSize);
  info.mHeight = float(bench::kQuadSize);
  render::ImageDataRaw image(info);
  render::Texture* texture = nullptr;
  if (image.Load(&stream, u"") != VN_OK || render.CreateTexture(texture) != VN_OK ||
      texture->CreateFromImage(&image) != VN_OK) {
    delete texture;
    return nullptr;
  }
  return new render::Image(texture);
}

void BM_EngineQuads(benchmark::State& state) {
  const int n = int(state.range(0));
  fakes::GlRenderWindow window(bench::kScreenWidth, bench::kScreenHeight);
  render::RenderDX9* render = window.GetRender();
  const bench::GlFinishFunction finish = bench::GetGlFinish();
  std::unique_ptr<render::Image> sprite(render && finish ? MakeSprite(*render) : nullptr);
  if (!sprite) {
    state.SkipWithError("no OpenGL 3.3 device");
  } else {
    state.SetLabel("engine");
    const std::vector<bench::Quad> quads = bench::MakeQuads(n);
    bench::RunEngineFrames(state, *render, finish, [&](render::Graphics& g) {
      for (const bench::Quad& q : quads) {
        g.SetColor(math::Color(q.argb));
        g.DrawImage(sprite.get()).Translate({q.x, q.y});
      }
    });
  }
}

BENCHMARK(BM_EngineQuads)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
