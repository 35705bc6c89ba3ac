#include "Game/Art/TMobShader.h"

#include "Core/Render/ShaderImpl.h"
#include "Core/Resource/ResourceManager.h"

VNResultEnum TMobShader::Release() { return resource::ResourceManager::ReleaseFromManager<TMobShader>(this); }

VNResultEnum TMobShader::InitVariables() {
  const VNResultEnum result = mProgram->CreateVector4Variable("color2", 1, &mColor2);
  if (result != VN_OK) return result;
  return ShaderTextured::InitVariables();
}

VNResultEnum TMobShader::DoUnLoad() {
  mColor2 = nullptr;
  return ShaderTextured::DoUnLoad();
}
