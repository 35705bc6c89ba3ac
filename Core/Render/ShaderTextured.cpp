#include "Core/Render/ShaderTextured.h"

#include "Core/Render/ShaderImpl.h"

namespace render {

VNResultEnum ShaderTextured::InitVariables() {
  const VNResultEnum result = Shader::InitVariables();
  if (result != VN_OK) return result;
  return mProgram->CreateTextureVariable(mTextureName.c_str(), &mTexture);
}

VNResultEnum ShaderTextured::DoUnLoad() {
  mTexture = nullptr;
  return Shader::DoUnLoad();
}


}  // namespace render
