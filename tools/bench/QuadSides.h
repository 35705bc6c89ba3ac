#pragma once
// The three sides of the quad benchmark, each drawing the scene of QuadScene.h for state.range(0)
// sprites: the engine, SDL2's renderer and a hand-written OpenGL 3.3 batch. Registered by the
// programs that run them (interleaved per sprite count in bench_quads).
#include <benchmark/benchmark.h>

namespace bench {

void BM_EngineQuads(benchmark::State& state);
void BM_SdlRenderGeometry(benchmark::State& state);
void BM_GlBatchQuads(benchmark::State& state);

}  // namespace bench
