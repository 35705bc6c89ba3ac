#pragma once
// Private to Platform/D3D9: programs of the OpenGL device. Each stage is a GL shader object compiled
// from the GLSL of D3DXCompileShader; a vertex and a pixel stage are linked into a GL program on their
// first draw together (see Platform/D3D9/ShaderCode.h for the names both sides use).
#include <map>
#include <memory>
#include <utility>

#include "Platform/D3D9/GlDevice.h"
#include "Platform/D3D9/ShaderCode.h"

namespace d3d9 {

template <class Interface>
class GlShader : public RefCounted<Interface>, public GlResource {
 public:
  // Takes the GL shader object `name`.
  GlShader(GlDevice* device, ShaderCode code, GLuint name)
      : GlResource(device, D3DPOOL_MANAGED), mCode(std::move(code)), mName(name) {}
  ~GlShader() override {
    if (GetDevice()) GetDevice()->ForgetShader(this);
    if (HasContext()) glDeleteShader(mName);
  }

  const ShaderCode& GetCode() const { return mCode; }
  GLuint GetName() const { return mName; }

 private:
  ShaderCode mCode;
  GLuint mName;
};

// A linked pair with the locations the device feeds before each draw (-1 when a stage lacks one).
struct GlProgram {
  GLuint name = 0;  // 0: the pair did not link
  GLint vertexConstants = -1;
  GLint pixelConstants = -1;
  GLint positionFixup = -1;
};

class GlProgramCache {
 public:
  explicit GlProgramCache(std::shared_ptr<const GlContextLife> life) : mLife(std::move(life)) {}
  GlProgramCache(const GlProgramCache&) = delete;
  GlProgramCache& operator=(const GlProgramCache&) = delete;
  ~GlProgramCache();

  // The program of the pair, linked on first use (a failed link is remembered too).
  const GlProgram& Get(GlVertexShader* vertex, GlPixelShader* pixel);
  // Deletes every program that uses the shader.
  void Forget(const void* shader);

 private:
  std::shared_ptr<const GlContextLife> mLife;
  std::map<std::pair<const void*, const void*>, GlProgram> mPrograms;
};

}  // namespace d3d9
