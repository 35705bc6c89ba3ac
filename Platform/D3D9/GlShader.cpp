#include "Platform/D3D9/GlShader.h"

#include <cstring>

namespace d3d9 {

namespace {

// Compiles the code of one stage; 0 when it is not code of that stage or GL refuses the text.
GLuint CompileStage(const DWORD* function, ShaderStage stage, ShaderCode* code) {
  if (!function || !ReadShaderCode(function, code) || code->stage != stage) return 0;
  const GLuint name = glCreateShader(stage == ShaderStage::kVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
  const char* text = code->glsl.c_str();
  glShaderSource(name, 1, &text, nullptr);
  glCompileShader(name);
  GLint compiled = GL_FALSE;
  glGetShaderiv(name, GL_COMPILE_STATUS, &compiled);
  if (compiled != GL_TRUE) {
    glDeleteShader(name);
    return 0;
  }
  return name;
}

void SetSamplerUnits(GLuint program, const ShaderCode& code) {
  for (const ShaderSampler& sampler : code.samplers) {
    glUniform1i(glGetUniformLocation(program, sampler.name.c_str()), GLint(sampler.unit));
  }
}

GlProgram Link(GlVertexShader* vertex, GlPixelShader* pixel) {
  GlProgram program;
  const GLuint name = glCreateProgram();
  glAttachShader(name, vertex->GetName());
  glAttachShader(name, pixel->GetName());
  glLinkProgram(name);
  GLint linked = GL_FALSE;
  glGetProgramiv(name, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    glDeleteProgram(name);
    return program;
  }
  program.name = name;
  program.vertexConstants = glGetUniformLocation(name, kVertexConstants);
  program.pixelConstants = glGetUniformLocation(name, kPixelConstants);
  program.positionFixup = glGetUniformLocation(name, kPositionFixup);
  glUseProgram(name);
  SetSamplerUnits(name, vertex->GetCode());
  SetSamplerUnits(name, pixel->GetCode());
  return program;
}

template <class Shader, class Interface>
HRESULT CreateShader(GlDevice* device, const DWORD* function, ShaderStage stage, Interface** shader) {
  if (!shader) return D3DERR_INVALIDCALL;
  ShaderCode code;
  const GLuint name = CompileStage(function, stage, &code);
  if (name == 0) return D3DERR_INVALIDCALL;
  *shader = new Shader(device, std::move(code), name);
  return D3D_OK;
}

HRESULT SetRegisters(float* registers, UINT total, UINT start, const float* data, UINT count) {
  if (!data || start > total || count > total - start) return D3DERR_INVALIDCALL;
  std::memcpy(registers + start * 4, data, count * 4 * sizeof(float));
  return D3D_OK;
}

}  // namespace

GlProgramCache::~GlProgramCache() {
  if (!mLife->alive) return;
  for (const auto& entry : mPrograms) glDeleteProgram(entry.second.name);
}

const GlProgram& GlProgramCache::Get(GlVertexShader* vertex, GlPixelShader* pixel) {
  const auto key = std::make_pair(static_cast<const void*>(vertex), static_cast<const void*>(pixel));
  auto found = mPrograms.find(key);
  if (found == mPrograms.end()) found = mPrograms.emplace(key, Link(vertex, pixel)).first;
  return found->second;
}

void GlProgramCache::Forget(const void* shader) {
  for (auto it = mPrograms.begin(); it != mPrograms.end();) {
    if (it->first.first != shader && it->first.second != shader) {
      ++it;
      continue;
    }
    if (mLife->alive) glDeleteProgram(it->second.name);
    it = mPrograms.erase(it);
  }
}

HRESULT GlDevice::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  return CreateShader<GlVertexShader>(this, function, ShaderStage::kVertex, shader);
}

HRESULT GlDevice::CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) {
  if (!HasContext()) return D3DERR_DEVICELOST;
  return CreateShader<GlPixelShader>(this, function, ShaderStage::kPixel, shader);
}

HRESULT GlDevice::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
  mConstantsSent = false;
  return SetRegisters(mVertexConstants, kVertexRegisters, start, data, count);
}

HRESULT GlDevice::SetPixelShaderConstantF(UINT start, const float* data, UINT count) {
  mConstantsSent = false;
  return SetRegisters(mPixelConstants, kPixelRegisters, start, data, count);
}

void GlDevice::ForgetShader(const void* shader) {
  mPrograms->Forget(shader);
  mUsedProgram = 0;
}

bool GlDevice::ApplyProgram() {
  if (!mVertexShader || !mPixelShader) return false;
  const GlProgram& program = mPrograms->Get(mVertexShader, mPixelShader);
  if (program.name == 0) return false;
  // Uniforms belong to the program: a program taken into use gets all of them again.
  if (program.name != mUsedProgram) {
    glUseProgram(program.name);
    mUsedProgram = program.name;
    mConstantsSent = false;
  }
  float fixup[4];
  GetPositionFixup(fixup);
  if (!mConstantsSent || std::memcmp(fixup, mSentFixup, sizeof(fixup)) != 0) {
    glUniform4fv(program.positionFixup, 1, fixup);
    std::memcpy(mSentFixup, fixup, sizeof(fixup));
  }
  if (!mConstantsSent) {
    const GLsizei vertexCount = GLsizei(mVertexShader->GetCode().constantRegisters);
    const GLsizei pixelCount = GLsizei(mPixelShader->GetCode().constantRegisters);
    if (program.vertexConstants >= 0 && vertexCount > 0) {
      glUniform4fv(program.vertexConstants, vertexCount, mVertexConstants);
    }
    if (program.pixelConstants >= 0 && pixelCount > 0) {
      glUniform4fv(program.pixelConstants, pixelCount, mPixelConstants);
    }
    mConstantsSent = true;
  }
  // Creating, filling or reading a texture binds it on unit 0 behind the stages' backs: bind the
  // sampled stages' textures again.
  for (const ShaderCode* code : {&mVertexShader->GetCode(), &mPixelShader->GetCode()}) {
    for (const ShaderSampler& sampler : code->samplers) {
      if (sampler.unit >= UINT(kMaxStages)) continue;
      const GlTexture* texture = mTextures[sampler.unit];
      glActiveTexture(GL_TEXTURE0 + sampler.unit);
      glBindTexture(GL_TEXTURE_2D, texture ? texture->GetName() : 0);
    }
  }
  glActiveTexture(GL_TEXTURE0);
  return true;
}

}  // namespace d3d9
