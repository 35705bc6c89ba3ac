#pragma once
// Timed frames of the engine on the OpenGL device: clear, the caller's draws through a screen
// context, end, present, playback, then glFinish (the offscreen driver does not wait for the frame
// at the swap). The first frame is untimed: the driver compiles its shader variants at the first draws.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "tools/bench/CountedFrames.h"

namespace bench {

using GlFinishFunction = void (*)();

inline GlFinishFunction GetGlFinish() { return reinterpret_cast<GlFinishFunction>(SDL_GL_GetProcAddress("glFinish")); }

template <class Draw>
void RunEngineFrames(benchmark::State& state, render::Render& render, GlFinishFunction finish, const Draw& draw) {
  auto frame = [&] {
    if (!render.CheckDevice()) return;
    render.BeginFrame();
    {
      render::Graphics g(&render);
      g.Clear(render::Render::kClearTarget, math::Color(0, 0, 0, 1), 1.0f, 0);
      draw(g);
      render.EndFrame();
      render.Present();
      render.PlayCommands();
    }
    finish();
  };
  RunTimedFrames(state, "engine", frame);
}

}  // namespace bench
