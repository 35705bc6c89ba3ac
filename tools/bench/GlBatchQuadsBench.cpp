// The limit: a hand-written OpenGL 3.3 core batch of the same sprites. One streamed vertex buffer
// (rewritten from the moved sprites every frame through an invalidating map), one static index
// buffer and one draw per frame, nearest sampling, straight alpha blending.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstring>
#include <vector>

#include "tools/bench/CountedFrames.h"
#include "tools/bench/QuadScene.h"
#include "tools/bench/QuadSides.h"

namespace {

struct GlBatchVertex {
  float x, y, u, v;
  uint8_t rgba[4];
};

const char* const kGlBatchVertexShader = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec4 colour;
uniform vec2 toClip;
out vec2 vUv;
out vec4 vColour;
void main() {
  gl_Position = vec4(position.x * toClip.x - 1.0, 1.0 - position.y * toClip.y, 0.0, 1.0);
  vUv = uv;
  vColour = colour;
}
)";

const char* const kGlBatchFragmentShader = R"(#version 330 core
in vec2 vUv;
in vec4 vColour;
uniform sampler2D atlas;
out vec4 fragColour;
void main() { fragColour = texture(atlas, vUv) * vColour; }
)";

GLuint CompileGlBatchProgram() {
  auto stage = [](GLenum type, const char* text) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    return ok ? shader : 0u;
  };
  const GLuint vertex = stage(GL_VERTEX_SHADER, kGlBatchVertexShader);
  const GLuint fragment = stage(GL_FRAGMENT_SHADER, kGlBatchFragmentShader);
  if (!vertex || !fragment) return 0;
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    glDeleteProgram(program);
    return 0;
  }
  return program;
}

}  // namespace

void bench::BM_GlBatchQuads(benchmark::State& state) {
  const int n = int(state.range(0));
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError(SDL_GetError());
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("batch", 0, 0, kScreenWidth, kScreenHeight, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  const GLuint program = context ? CompileGlBatchProgram() : 0;
  if (!program) {
    state.SkipWithError("no OpenGL 3.3 core context");
    if (context) SDL_GL_DeleteContext(context);
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return;
  }
  SDL_GL_SetSwapInterval(0);
  state.SetLabel("gl33 batch");

  const std::vector<uint8_t> pixels = MakeAtlasPixels();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kAtlasSize, kAtlasSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  GLuint vao = 0, buffers[2] = {};
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glGenBuffers(2, buffers);
  const GLsizeiptr vertexBytes = GLsizeiptr(sizeof(GlBatchVertex)) * n * 4;
  glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  glBufferData(GL_ARRAY_BUFFER, vertexBytes, nullptr, GL_STREAM_DRAW);
  const GLsizei stride = sizeof(GlBatchVertex);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GlBatchVertex, x)));
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GlBatchVertex, u)));
  glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<void*>(offsetof(GlBatchVertex, rgba)));
  for (GLuint i = 0; i < 3; ++i) glEnableVertexAttribArray(i);
  std::vector<GLuint> indices(size_t(n) * 6);
  for (int i = 0; i < n; ++i) {
    GLuint* k = &indices[size_t(i) * 6];
    const GLuint b = GLuint(i) * 4;
    k[0] = b, k[1] = b + 1, k[2] = b + 2, k[3] = b, k[4] = b + 2, k[5] = b + 3;
  }
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(GLuint)), indices.data(), GL_STATIC_DRAW);

  glUseProgram(program);
  glUniform2f(glGetUniformLocation(program, "toClip"), 2.0f / float(kScreenWidth), 2.0f / float(kScreenHeight));
  glUniform1i(glGetUniformLocation(program, "atlas"), 0);
  glViewport(0, 0, kScreenWidth, kScreenHeight);
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

  std::vector<Quad> quads = MakeQuads(n);
  auto frame = [&] {
    MoveQuads(quads);
    auto* v = static_cast<GlBatchVertex*>(
        glMapBufferRange(GL_ARRAY_BUFFER, 0, vertexBytes, GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT));
    if (!v) return;
    const float s = float(kQuadSize);
    for (const Quad& q : quads) {
      const uint8_t rgba[4] = {uint8_t(q.argb >> 16), uint8_t(q.argb >> 8), uint8_t(q.argb), uint8_t(q.argb >> 24)};
      const CellUv c = AtlasCellUv(q);
      v[0] = {q.x, q.y, c.u0, c.v0, {rgba[0], rgba[1], rgba[2], rgba[3]}};
      v[1] = {q.x + s, q.y, c.u1, c.v0, {rgba[0], rgba[1], rgba[2], rgba[3]}};
      v[2] = {q.x + s, q.y + s, c.u1, c.v1, {rgba[0], rgba[1], rgba[2], rgba[3]}};
      v[3] = {q.x, q.y + s, c.u0, c.v1, {rgba[0], rgba[1], rgba[2], rgba[3]}};
      v += 4;
    }
    glUnmapBuffer(GL_ARRAY_BUFFER);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawElements(GL_TRIANGLES, n * 6, GL_UNSIGNED_INT, nullptr);
    SDL_GL_SwapWindow(window);
    glFinish();  // the offscreen driver does not wait for the frame at the swap
  };
  RunTimedFrames(state, "batch", frame);

  glDeleteBuffers(2, buffers);
  glDeleteVertexArrays(1, &vao);
  glDeleteTextures(1, &texture);
  glDeleteProgram(program);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
