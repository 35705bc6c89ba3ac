#include "Core/Render/Shader.h"

#include "Core/Base/DataFileLog.h"
#include "Core/Base/TextFile.h"
#include "Core/Render/Render.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Resource/ResourceManager.h"

namespace render {

Shader::Shader(ShaderImpl* program, Render* render) : mRender(render), mProgram(program) { mLoaded = true; }

Shader::~Shader() { delete mProgram; }

VNResultEnum Shader::Release() { return resource::ResourceManager::ReleaseFromManager<Shader>(this); }

VNResultEnum Shader::DoLoad() {
  if (mRender == nullptr) return VN_FAIL;
  const std::string pixelText = base::ReadTextFile(mName + u"PS.hlsl");
  const std::string vertexText = base::ReadTextFile(mName + u"VS.hlsl");
  ShaderImpl* program = nullptr;
  const VNResultEnum created = mRender->CreateShaderImpl(vertexText.c_str(), pixelText.c_str(), program);
  if (created != VN_OK) {
    // The compiler's own text (logged before) names no file.
    base::LogDataFileProblem(u"Shader", mName + u"VS.hlsl' / '" + mName + u"PS.hlsl",
                             vertexText.empty() || pixelText.empty() ? u"is missing or empty" : u"does not compile");
    return created;
  }
  mProgram = program;
  const VNResultEnum result = InitVariables();
  if (result != VN_OK) DoUnLoad();
  return result;
}

VNResultEnum Shader::DoUnLoad() {
  delete mProgram;
  mProgram = nullptr;
  mProjection = nullptr;
  return VN_OK;
}

VNResultEnum Shader::InitVariables() {
  return mProgram->CreateMatrixVariable(mProjectionName.c_str(), 0, &mProjection);
}

VNResultEnum Shader::SetRender(Render* render) {
  if (render == nullptr) return VN_FAIL;
  mRender = render;
  return VN_OK;
}


}  // namespace render
