#pragma once
// The enemy shader: the textured shader with the pixel constant "color2", the unit's fill colour.
// Its variables are numbered "color2" 0, "Proj" 1, "TextureSampler" 2.
#include "Core/Render/ShaderTextured.h"

class TMobShader : public render::ShaderTextured {
 public:
  // Returns it to the resource manager's map of enemy shaders.
  VNResultEnum Release() override;
  // "color2" first (fails when the pixel program lacks it), then the textured variables.
  VNResultEnum InitVariables() override;
  VNResultEnum DoUnLoad() override;

  // Null while not loaded.
  render::ShaderScalarVariable<math::Point4, 1>* GetColor2() const { return mColor2; }

 private:
  render::ShaderScalarVariable<math::Point4, 1>* mColor2 = nullptr;  // owned by the program
};
