// The engine's side: the sprites as draw requests of a drawing context (an atlas cell, translated),
// recorded, merged and played back on the OpenGL device, sampling with nearest filtering.
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
#include "tools/bench/QuadSides.h"

namespace {

// The atlas as a texture of the renderer, through the raw-pixel decoder (ARGB words).
render::Image* MakeEngineAtlas(render::Render& render) {
  const std::vector<uint8_t> rgba = bench::MakeAtlasPixels();
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
  info.mWidth = float(bench::kAtlasSize);
  info.mHeight = float(bench::kAtlasSize);
  render::ImageDataRaw image(info);
  render::Texture* texture = nullptr;
  if (image.Load(&stream, u"") != VN_OK || render.CreateTexture(texture) != VN_OK ||
      texture->CreateFromImage(&image) != VN_OK) {
    delete texture;
    return nullptr;
  }
  return new render::Image(texture);
}

}  // namespace

void bench::BM_EngineQuads(benchmark::State& state) {
  const int n = int(state.range(0));
  fakes::GlRenderWindow window(bench::kScreenWidth, bench::kScreenHeight);
  render::RenderDX9* render = window.GetRender();
  const bench::GlFinishFunction finish = bench::GetGlFinish();
  std::unique_ptr<render::Image> atlas(render && finish ? MakeEngineAtlas(*render) : nullptr);
  if (!atlas) {
    state.SkipWithError("no OpenGL 3.3 device");
    return;
  }
  // The scene samples with nearest filtering on every side; the engine's default is linear.
  d3d9::IDirect3DDevice9* device = render->GetDevice();
  device->SetSamplerState(0, d3d9::D3DSAMP_MINFILTER, d3d9::D3DTEXF_POINT);
  device->SetSamplerState(0, d3d9::D3DSAMP_MAGFILTER, d3d9::D3DTEXF_POINT);
  device->SetSamplerState(0, d3d9::D3DSAMP_MIPFILTER, d3d9::D3DTEXF_NONE);
  state.SetLabel("engine");
  std::vector<bench::Quad> quads = bench::MakeQuads(n);
  bench::RunEngineFrames(state, *render, finish, [&](render::Graphics& g) {
    bench::MoveQuads(quads);
    for (const bench::Quad& q : quads) {
      g.SetColor(math::Color(q.argb));
      const math::Rect cell(float(q.cellX), float(q.cellY), float(bench::kQuadSize), float(bench::kQuadSize));
      g.DrawImagePart(atlas.get(), cell).Translate({q.x, q.y});
    }
  });
}
