// SDL2's side: the sprites through SDL's own renderer (SDL_RenderGeometry, one call per frame)
// on an OpenGL context of the same driver, vertices rebuilt from the moved sprites every frame.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "tools/bench/CountedFrames.h"
#include "tools/bench/QuadScene.h"
#include "tools/bench/QuadSides.h"

void bench::BM_SdlRenderGeometry(benchmark::State& state) {
  const int n = int(state.range(0));
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError(SDL_GetError());
    return;
  }
  SDL_Window* window = SDL_CreateWindow("bench", 0, 0, kScreenWidth, kScreenHeight, SDL_WINDOW_OPENGL);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  auto finish = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
  if (!renderer || !finish) {
    state.SkipWithError(SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return;
  }
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);
  state.SetLabel(info.name);

  const std::vector<uint8_t> pixels = MakeAtlasPixels();
  SDL_Texture* texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kAtlasSize, kAtlasSize);
  SDL_UpdateTexture(texture, nullptr, pixels.data(), kAtlasSize * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);

  std::vector<Quad> quads = MakeQuads(n);
  std::vector<SDL_Vertex> vertices(size_t(n) * 4);
  std::vector<int> indices(size_t(n) * 6);
  for (int i = 0; i < n; ++i) {
    int* k = &indices[size_t(i) * 6];
    const int b = i * 4;
    k[0] = b, k[1] = b + 1, k[2] = b + 2, k[3] = b, k[4] = b + 2, k[5] = b + 3;
  }

  auto frame = [&] {
    MoveQuads(quads);
    const float s = float(kQuadSize);
    for (int i = 0; i < n; ++i) {
      const Quad& q = quads[size_t(i)];
      const SDL_Color colour = {uint8_t(q.argb >> 16), uint8_t(q.argb >> 8), uint8_t(q.argb), uint8_t(q.argb >> 24)};
      const CellUv c = AtlasCellUv(q);
      SDL_Vertex* v = &vertices[size_t(i) * 4];
      v[0] = {{q.x, q.y}, colour, {c.u0, c.v0}};
      v[1] = {{q.x + s, q.y}, colour, {c.u1, c.v0}};
      v[2] = {{q.x + s, q.y + s}, colour, {c.u1, c.v1}};
      v[3] = {{q.x, q.y + s}, colour, {c.u0, c.v1}};
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderGeometry(renderer, texture, vertices.data(), n * 4, indices.data(), n * 6);
    SDL_RenderPresent(renderer);
    finish();  // the offscreen driver does not wait for the frame at the swap
  };
  RunTimedFrames(state, "sdl", frame);

  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
