#pragma once
// A shader with a texture sampler ("TextureSampler") besides the projection.
#include "Core/Render/Shader.h"

namespace render {

class ShaderTextured : public Shader {
 public:
  ShaderTextured() = default;
  ShaderTextured(ShaderImpl* program, Render* render) : Shader(program, render) {}

  // The projection, then the sampler.
  VNResultEnum InitVariables() override;
  VNResultEnum DoUnLoad() override;
  // Marks the texture changed when it differs. The texture must live until playback. Inline: every
  // image draw sets it.
  VNResultEnum SetTexture(Texture* texture) {
    if (mTexture != nullptr && mTexture->GetValue() != texture) mTexture->SetValue(texture);
    return VN_OK;
  }

 protected:
  std::string mTextureName = "TextureSampler";
  ShaderTextureVariable<1>* mTexture = nullptr;  // owned by the program
};

}  // namespace render
